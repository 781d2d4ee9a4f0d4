#pragma once

// SystemServices: the desktop's message boxes, clipboard and URL opener as
// the application base sees them. platform/ implements them with SDL and
// the desktop's tools; without one the application falls back to standard
// error and does without the clipboard.

#include <string>

namespace Zorvin {

enum MessageBoxFlags {
    MB_OK = 0,
    MB_YESNO = 4,
    MB_ICONERROR = 16,
};

enum MessageBoxResult {
    IDOK = 1,
    IDYES = 6,
    IDNO = 7,
};

class SystemServices {
public:
    virtual ~SystemServices() = default;

    // Shows a modal message box; text and title are Windows-1251. Returns
    // IDOK, IDYES or IDNO.
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int flags) = 0;
    // False when there is no desktop to show a box on (ShowMessageBox then
    // prints the text on standard error instead).
    virtual bool CanShowMessageBoxes() const { return true; }
    // While a box is up, `check` is asked (from another thread) every few
    // milliseconds; once it answers true the box is taken down and counts
    // as dismissed: IDOK, or IDNO for a question. A request to end the
    // program must not wait for a click.
    void SetDismissCheck(bool (*check)()) { dismissCheck = check; }
    // Clipboard text in Windows-1251.
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string GetClipboardText() = 0;
    // Opens a URL in the desktop's browser; false when that could not start.
    virtual bool OpenUrl(const std::string& url) = 0;

protected:
    bool HasDismissCheck() const { return dismissCheck != nullptr; }
    bool DismissRequested() const { return dismissCheck != nullptr && dismissCheck(); }

private:
    bool (*dismissCheck)() = nullptr;
};

} // namespace Zorvin

#pragma once

// SdlSystemServices: message boxes, the clipboard and the browser for the
// application, through SDL and the desktop's "xdg-open". Texts arrive in
// Windows-1251 and are converted to UTF-8 at this edge (and back for
// pasted text). Without a display, message boxes go to standard error. A
// box is taken down when the dismiss check asks for it (a request to end
// the program), as it would otherwise wait for a click.
// The program owns one; it must outlive the application.

#include "framework/app/SystemServices.h"

struct SDL_Window;

namespace Zorvin {

class SdlWindowSystem;

class SdlSystemServices : public SystemServices {
public:
    explicit SdlSystemServices(SdlWindowSystem* windowSystem = nullptr) : windowSystem(windowSystem) {}

    int ShowMessageBox(const std::string& text, const std::string& title, int flags) override;

    bool CanShowMessageBoxes() const override;
    void SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;
    bool OpenUrl(const std::string& url) override;

private:
    SdlWindowSystem* windowSystem;
};

} // namespace Zorvin

#pragma once

// Dialog: a box with a header, word-wrapped lines of text, a footer and up
// to two buttons (Yes and No, DialogListener.h numbers them), opened by the
// application under a fixed number. It draws itself from a frame image as a nine-slice box, or
// as a grey panel with a white outline and a shadow when it has none; it can
// be dragged by its body, never more than 8 pixels off the screen. The
// application owns every dialog it opens and deletes it on closing; the
// dialog owns its buttons and puts them into the tree beside itself.
//
// The keyboard works every dialog the way desktop players expect: Tab,
// Shift+Tab and the arrows move a visible focus ring between its controls
// (buttons, lists, checkboxes) in reading order, Enter and Space press the
// focused control, and Escape answers as cancelling does. A dialog shows
// the ring on its default control as soon as it has the keyboard.

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/FocusRing.h"
#include "framework/widgets/Widget.h"

namespace Zorvin {

class ButtonWidget;
class DialogButton;
class DialogListener;
class Font;
class Image;

struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class Dialog : public Widget, public ButtonListener {
public:
    // The result until a button answers.
    static constexpr int NoResult = INT_MAX;
    // What a wait returns when it ends without an answer (shutdown).
    static constexpr int NoAnswer = -1;
    static constexpr int IdYes = DialogButtonYes;
    static constexpr int IdNo = DialogButtonNo;
    enum ButtonMode { ButtonsNone = 0, ButtonsYesNo = 1, ButtonsOkCancel = 2, ButtonsFooter = 3 };
    enum ColorIndex {
        ColorHeader = 0,
        ColorLines = 1,
        ColorFooter = 2,
        ColorButtonText = 3,
        ColorButtonTextHilite = 4,
        ColorBackground = 5,
        ColorOutline = 6,
    };

    Dialog(Image* frameImage, Image* buttonImage, int dialogId, bool modal, const std::string& dialogHeader,
           const std::string& dialogLines, const std::string& dialogFooter, int dialogButtonMode);
    Dialog(int dialogId, bool modal, const std::string& dialogHeader, const std::string& dialogLines,
           const std::string& dialogFooter, int dialogButtonMode);
    ~Dialog() override;

    virtual void SetButtonFont(Font* newFont);
    virtual void SetHeaderFont(Font* newFont);
    virtual void SetBodyFont(Font* newFont);
    virtual int GetPreferredHeight(int forWidth);
    virtual bool IsModal() const { return isModal; }
    // Runs the application's steps until a button answers (or the dialog
    // leaves the tree); with autoClose the application then closes it.
    // Returns the result, or NoAnswer when the application shut down first.
    // The dialog may be closed meanwhile (by its own button or by the
    // application): it stays alive until the frame that waited has ended.
    virtual int RunUntilAnswered(bool autoClose = true);
    bool HasResult() const { return result != NoResult && result != -1; }

    void SetColor(int index, const Color& color) override;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    void OnAttach(WidgetManager* m) override;
    void OnDetach(WidgetManager* m) override;
    void OnZOrderChanged() override;
    void Draw(Graphics* g) override;
    void MouseDown(int px, int py, int clickCode) override;
    void MouseDrag(int px, int py) override;
    void MouseUp(int px, int py) override;
    void KeyDown(int key) override;
    // The ring shows only while the dialog has the keyboard: a dialog
    // beneath another one shows none.
    void GotFocus() override;
    void LostFocus() override;

    // Layout, read-only: the rectangle the frame is drawn in (dialog
    // coordinates), and the buttons the dialog shows, its own and those of
    // its controls.
    virtual Rect GetFrameRect() const;
    std::vector<ButtonWidget*> GetButtons();
    // The controls the keyboard reaches, visible and enabled, in reading
    // order (top to bottom, then left to right).
    virtual std::vector<Widget*> GetKeyStops();
    // The control the keyboard acts on now (none before the dialog has
    // had the keyboard).
    Widget* GetKeyFocus() const { return keyFocus; }
    void SetKeyFocus(Widget* stop);
    // Presses a button, checkbox or list line as a click of the mouse would.
    void PressKeyStop(Widget* stop);

    void OnButtonDown(int buttonId, int clickCount) override;
    void OnButtonClick(int buttonId) override;

    Font* GetHeaderFont();
    Font* GetLinesFont();

    int id = 0;
    bool isModal = false;
    std::string header;
    std::string lines;
    std::string footer;
    int buttonMode = 0;
    int result = NoResult;
    DialogListener* dialogListener = nullptr;

    Image* componentImage = nullptr;
    int buttonHeight = 24;
    std::unique_ptr<DialogButton> yesButton;
    std::unique_ptr<DialogButton> noButton;
    std::unique_ptr<Font> headerFont;
    std::unique_ptr<Font> linesFont;
    Insets backgroundInsets{24, 24, 24, 24};
    Insets contentInsets;
    // The frame image covers the whole dialog instead of only the content
    // rectangle, for dialogs whose controls are laid out across the insets.
    bool frameCoversInsets = false;
    int spaceAfterHeader = 10;
    int lineSpacingOffset = 0;
    int textAlign = 0;
    int buttonSidePadding = 0;
    int buttonHorzSpacing = 8;
    bool dragging = false;
    int dragMouseX = 0;
    int dragMouseY = 0;

    // Label colours given to dialog buttons; a dialog made without a button
    // image turns both to black for itself and every dialog made after it.
    static Color sButtonTextColor;
    static Color sButtonTextHiliteColor;

protected:
    // The control Enter presses before the focus has moved: the first stop.
    virtual Widget* DefaultKeyStop();
    // Escape: No when the dialog asks yes or no, the one button of a
    // message; other dialogs say what cancelling means for them.
    virtual void OnEscapeKey();
    // A key for the focused control before the dialog's own handling (a
    // list's arrows, say); true when it was used.
    virtual bool KeyForStop(Widget* stop, int key);

private:
    void PlaceButtons();
    void MoveKeyFocus(int step);
    Widget* keyFocus = nullptr;
};

} // namespace Zorvin

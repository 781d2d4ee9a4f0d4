#pragma once

// DialogWithEdit: the modal name question (dialog 1006): a header, a label,
// a one-line field of at most 12 characters holding the suggested text, and
// "Ok" and "Отмена". An empty text, or one of spaces only, is never accepted. While the name filter
// is on, the field refuses the characters a player name may not hold
// (PlayerName); the level editor turns it off to ask for file names. The
// result is 1 when confirmed and 0 when cancelled; the confirmed text goes
// to *answer, because the dialog itself is deleted when it closes. Created
// and opened by whoever asks, owned by the application while open.

#include <memory>
#include <string>

#include "framework/widgets/EditListener.h"
#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class DialogButton;
class EditWidget;
class PlayerDialogHost;
class ZorvinAppBase;

class DialogWithEdit : public Dialog, public EditListener {
public:
    enum { IdOk = 0, IdCancel = 1 };

    // host may be null (then no click sound is played).
    DialogWithEdit(const std::string& dialogHeader, const std::string& labelText, const std::string& suggested,
                   PlayerDialogHost* host = nullptr);
    ~DialogWithEdit() override;

    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    void Draw(Graphics* g) override;
    void OnButtonClick(int buttonId) override;

    // EditListener: Enter confirms; the filter decides characters and texts.
    void EditWidgetText(int editId, const std::string& text) override;
    bool AllowChar(int editId, char ch) override;
    // Escape in the field answers as "Отмена".
    bool AllowKey(int editId, int key) override;
    bool AllowText(int editId, const std::string& text) override;

    // Opens the dialog as DialogNameOrGameOver with the focus in its field and waits
    // for the answer; the application deletes it once it closes. True,
    // with the text in `name`, when a text that is not blank was confirmed.
    static bool AskAndWait(ZorvinAppBase& app, std::unique_ptr<DialogWithEdit> dialog, std::string& name);

    EditWidget& Edit() { return *edit; }
    DialogButton& CancelButton() { return *cancelButton; }

    std::string label;
    bool filterNames = true;
    // Receives the confirmed text, or "" when cancelled (not owned).
    std::string* answer = nullptr;

private:
    void Answer(int value, const std::string& text);
    int FieldLeft() const;
    int FieldTop() const;

    PlayerDialogHost* dialogHost;
    std::unique_ptr<DialogButton> okButton;
    std::unique_ptr<DialogButton> cancelButton;
    std::unique_ptr<EditWidget> edit;
    // The field has seen Enter go down since its last Enter character.
    bool enterPressedInField = false;
};

} // namespace Zorvin

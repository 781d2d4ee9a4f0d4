#pragma once

// PlayerDialogHost: what the player and score dialogs need from the
// application, and nothing more: the player list, the click sound, the name
// question, the message and yes/no boxes, and closing a dialog. The game
// application provides it (AppPlayerDialogHost does so on top of the
// application base); tests give a scripted fake.

#include <string>

namespace Zorvin {

class Dialog;
class PlayerList;

class PlayerDialogHost {
public:
    virtual ~PlayerDialogHost() = default;

    virtual PlayerList& Players() = 0;
    virtual void PlayClick() = 0;
    // Opens the name dialog (number 1006) centred on the screen with the
    // keyboard in its field, and waits for the answer; true with the name
    // when it was confirmed.
    virtual bool AskName(const std::string& header, const std::string& label, const std::string& suggested,
                         std::string& name) = 0;
    // A modal message with one "Ok" button under the given dialog number;
    // not waited for, the application closes it when its button is clicked.
    virtual void ShowMessage(int dialogId, const std::string& header, const std::string& text) = 0;
    // The yes/no question (dialog 108), waited for; true on yes.
    virtual bool Confirm(const std::string& text) = 0;
    // Closes an open dialog; the application deletes it after the step.
    virtual void CloseDialog(Dialog* dialog) = 0;
    // The current player's statistics window, above the high scores.
    virtual void OpenStatistics() = 0;
};

} // namespace Zorvin

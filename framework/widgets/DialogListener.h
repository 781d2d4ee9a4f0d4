#pragma once

// DialogListener: how a dialog reports its Yes and No buttons to its owner,
// with the dialog's number first. Also the button numbers every dialog uses
// and where the application passes them on among its own button numbers.

namespace Zorvin {

// The button numbers of a dialog's two buttons.
constexpr int DialogButtonYes = 1000;
constexpr int DialogButtonNo = 1001;
// The application reports dialog n's Yes as its own button
// DialogYesButtonBase + n and its No as DialogNoButtonBase + n.
constexpr int DialogYesButtonBase = 2000;
constexpr int DialogNoButtonBase = 3000;

class DialogListener {
public:
    virtual ~DialogListener() = default;

    virtual void OnDialogButtonDown(int dialogId, int buttonId)
    {
        (void)dialogId;
        (void)buttonId;
    }
    virtual void OnDialogButtonClick(int dialogId, int buttonId)
    {
        (void)dialogId;
        (void)buttonId;
    }
};

} // namespace Zorvin

#pragma once

// DialogListener: how a dialog reports its Yes (1000) and No (1001)
// buttons to its owner, with the dialog's number first.

namespace Zorvin {

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

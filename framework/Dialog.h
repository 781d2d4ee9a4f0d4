#pragma once

// Dialog: a box with a header, lines of text, a footer and up to two
// buttons, opened by the application under a fixed number. This is the
// part the application base relies on — number, modality, result and the
// preferred height for a width; the buttons and the drawing build on it.
// The application owns every dialog it opens and deletes it on closing.

#include "framework/ButtonListener.h"
#include "framework/Widget.h"

#include <climits>
#include <string>

namespace Zorvin {

class DialogListener;

class Dialog : public Widget, public ButtonListener {
public:
    // No answer yet.
    static constexpr int NoResult = INT_MAX;

    Dialog(int dialogId, bool modal, const std::string& dialogHeader, const std::string& dialogLines,
           const std::string& dialogFooter, int dialogButtonMode);
    ~Dialog() override = default;

    virtual int GetPreferredHeight(int forWidth);
    virtual bool IsModal() const { return isModal; }
    bool HasResult() const { return result != NoResult && result != -1; }

    int id = 0;
    bool isModal = false;
    std::string header;
    std::string lines;
    std::string footer;
    // 0 no buttons, 1 yes/no, 2 ok/cancel, 3 one footer button.
    int buttonMode = 0;
    int result = NoResult;
    DialogListener* dialogListener = nullptr;
};

} // namespace Zorvin

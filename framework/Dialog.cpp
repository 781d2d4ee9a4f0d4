#include "framework/Dialog.h"

namespace Zorvin {

Dialog::Dialog(int dialogId, bool modal, const std::string& dialogHeader, const std::string& dialogLines,
               const std::string& dialogFooter, int dialogButtonMode)
    : id(dialogId), isModal(modal), header(dialogHeader), lines(dialogLines), footer(dialogFooter),
      buttonMode(dialogButtonMode)
{
}

int Dialog::GetPreferredHeight(int forWidth)
{
    // Without fonts a dialog asks for a box of pleasant proportions.
    return forWidth * 3 / 8;
}

} // namespace Zorvin

#include "game/app/dialogs/DialogStyle.h"

#include <algorithm>

#include "framework/core/Color.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Dialog.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/shared/Res.h"

namespace Zorvin {

ButtonImages DialogButtonImages(bool withDisabled)
{
    return {IM_B_DIALOG, IM_B_DIALOG_OVER, IM_B_DIALOG_DOWN, withDisabled ? IM_B_DIALOG_DISABLE : nullptr};
}

void StyleGameDialog(Dialog& dialog)
{
    dialog.SetHeaderFont(FONT_DEFAULT);
    dialog.SetBodyFont(FONT_DEFAULT);
    dialog.SetButtonFont(FONT_DEFAULT);
    dialog.SetColor(Dialog::ColorHeader, Color::Black);
    dialog.SetColor(Dialog::ColorLines, Color::Black);
}

void SizeToText(Dialog& dialog, int minWidth, int minHeight)
{
    int w = std::min(minWidth, 800);
    int h = std::min(std::max(minHeight, dialog.GetPreferredHeight(w)), 600);
    dialog.Resize(400 - w / 2, 300 - h / 2, w, h);
}

void ReturnFocus(GameDialogHost& host)
{
    if (Dialog* top = host.TopDialog())
        host.Focus(top);
    else
        host.FocusBoard();
}

std::unique_ptr<ButtonWidget> MakeTextButton(int id, const std::string& label, ButtonListener* listener,
                                             const ButtonImages& images, int x, int y, int heightLoss)
{
    auto button = std::make_unique<ButtonWidget>(id, listener);
    button->label = label;
    button->buttonImage = images.normal;
    button->overImage = images.over;
    button->downImage = images.down;
    button->disabledImage = images.disabled;
    if (FONT_DEFAULT != nullptr)
        button->SetFont(FONT_DEFAULT);
    button->SetColor(ButtonWidget::ColorLabelHilite, Color::White);
    button->doHandCursor = true;
    int w = images.normal != nullptr ? images.normal->GetWidth() : 120;
    int h = images.normal != nullptr ? images.normal->GetHeight() - heightLoss : 30;
    button->Resize(x, y, w, h);
    return button;
}

} // namespace Zorvin

#include "framework/widgets/controls/Checkbox.h"

#include "framework/widgets/CheckboxListener.h"
#include "framework/graphics/Graphics.h"

namespace Zorvin {

Image* Checkbox::sDefaultImage = nullptr;
Color Checkbox::sDefaultOutlineColor = Color(212, 212, 212);

Checkbox::Checkbox(Image* uncheckedImg, Image* checkedImg, int checkboxId, CheckboxListener* listener)
    : id(checkboxId), checkboxListener(listener), checkedImage(checkedImg), uncheckedImage(uncheckedImg),
      outlineColor(sDefaultOutlineColor)
{
    doHandCursor = true;
}

Checkbox::Checkbox(int checkboxId, CheckboxListener* listener)
    : Checkbox(sDefaultImage, sDefaultImage, checkboxId, listener)
{
}

void Checkbox::SetChecked(bool isChecked, bool notify)
{
    checked = isChecked;
    if (notify && checkboxListener)
        checkboxListener->OnCheckboxChanged(id, checked);
    MarkDirty();
}

void Checkbox::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    checked = !checked;
    MarkDirty();
    if (checkboxListener)
        checkboxListener->OnCheckboxChanged(id, checked);
}

void Checkbox::Draw(Graphics* g)
{
    bool rects = checkedRect.width > 0 && uncheckedRect.width > 0;
    if (rects && uncheckedImage) {
        g->DrawImage(uncheckedImage, 0, 0, checked ? checkedRect : uncheckedRect);
        return;
    }
    if (checkedImage && uncheckedImage) {
        g->DrawImage(checked ? checkedImage : uncheckedImage, 0, 0);
        return;
    }
    if (checkedImage || uncheckedImage)
        return; // one image alone cannot show both states
    g->SetColor(outlineColor);
    g->FillRect(0, 0, width, height);
    g->SetColor(bkgColor);
    g->FillRect(1, 1, width - 2, height - 2);
    if (checked) {
        g->SetColor(checkColor);
        g->DrawLine(1, 1, width - 2, height - 2);
        g->DrawLine(width - 2, 1, 1, height - 2);
    }
}

} // namespace Zorvin

#include "framework/widgets/controls/HyperlinkWidget.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"

namespace Zorvin {

HyperlinkWidget::HyperlinkWidget(int buttonId, ButtonListener* listener) : ButtonWidget(buttonId, listener)
{
    doHandCursor = true;
    hasTransparencies = true;
}

void HyperlinkWidget::Draw(Graphics* g)
{
    Font* f = GetFont();
    if (!f || btnNoDraw)
        return;
    int tw = f->StringWidth(label);
    int lx = (width - tw) / 2;
    int ly = (f->GetAscent() + height) / 2 - 1;
    g->SetFont(f);
    g->SetColor(isOver ? colorOver : colorNormal);
    g->DrawString(label, lx, ly);
    for (int i = 0; i < underlineSize; i++)
        g->FillRect(lx, ly + underlineOffset + i, tw, 1);
}

void HyperlinkWidget::MouseEnter()
{
    ButtonWidget::MouseEnter();
    MarkDirtyWithBelow();
}

void HyperlinkWidget::MouseLeave()
{
    ButtonWidget::MouseLeave();
    MarkDirtyWithBelow();
}

} // namespace Zorvin

// Dialog: the framework's framed window with a header, lines and buttons.
//   making and laying out       - Dialog, SetButtonFont, SetColor, Resize,
//                                 PlaceButtons, OnAttach, OnDetach
//   buttons and drawing         - OnButtonDown, OnButtonClick, GetFrameRect,
//                                 Draw, GetPreferredHeight
//   dragging by the mouse       - MouseDown, MouseDrag, MouseUp
//   the keyboard                - GetButtons, GetKeyStops,
//                                 SetKeyFocus, MoveKeyFocus, PressKeyStop,
//                                 KeyForStop, OnEscapeKey, KeyDown
//   waiting for an answer       - RunUntilAnswered

#include "framework/widgets/controls/Dialog.h"

#include <algorithm>
#include <cstdlib>

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/widgets/ListListener.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Checkbox.h"
#include "framework/widgets/controls/ListWidget.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/DialogListener.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/font/SysFont.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/WidgetHost.h"

namespace Zorvin {

Color Dialog::sButtonTextColor = Color(255, 255, 255);
Color Dialog::sButtonTextHiliteColor = Color(255, 255, 255);

Dialog::Dialog(Image* frameImage, Image* buttonImage, int dialogId, bool modal, const std::string& dialogHeader,
               const std::string& dialogLines, const std::string& dialogFooter, int dialogButtonMode)
    : id(dialogId), isModal(modal), header(dialogHeader), lines(dialogLines), footer(dialogFooter),
      buttonMode(dialogButtonMode), componentImage(frameImage)
{
    if (buttonImage)
        buttonHeight = buttonImage->height;
    else
        sButtonTextColor = sButtonTextHiliteColor = Color::Black;

    if (buttonMode == ButtonsYesNo || buttonMode == ButtonsOkCancel) {
        yesButton = std::make_unique<DialogButton>(buttonImage, IdYes, this);
        noButton = std::make_unique<DialogButton>(buttonImage, IdNo, this);
        yesButton->label = buttonMode == ButtonsYesNo ? W("Да") : "OK";
        noButton->label = buttonMode == ButtonsYesNo ? W("Нет") : W("Отмена");
    } else if (buttonMode == ButtonsFooter) {
        yesButton = std::make_unique<DialogButton>(buttonImage, IdYes, this);
        yesButton->label = footer;
    }

    colors = {Color(255, 255, 255), Color(255, 255, 0),   Color(255, 255, 255), sButtonTextColor,
              sButtonTextHiliteColor, Color(80, 80, 80), Color(255, 255, 255)};
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b)
            b->colors = {sButtonTextColor, sButtonTextHiliteColor};
    hasTransparencies = true;
    hasAlpha = true;
    priority = 1;
    wantsFocus = true;
}

Dialog::Dialog(int dialogId, bool modal, const std::string& dialogHeader, const std::string& dialogLines,
               const std::string& dialogFooter, int dialogButtonMode)
    : Dialog(nullptr, nullptr, dialogId, modal, dialogHeader, dialogLines, dialogFooter, dialogButtonMode)
{
}

Dialog::~Dialog()
{
    // The buttons live in the tree beside the dialog; take them out before
    // they go away with it.
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b && b->parent)
            b->parent->RemoveChild(b);
}

void Dialog::SetButtonFont(Font* newFont)
{
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b)
            b->SetFont(newFont);
}

void Dialog::SetHeaderFont(Font* newFont) { headerFont = newFont ? newFont->Duplicate() : nullptr; }

void Dialog::SetBodyFont(Font* newFont) { linesFont = newFont ? newFont->Duplicate() : nullptr; }

Font* Dialog::GetHeaderFont()
{
    if (!headerFont)
        headerFont = std::make_unique<SysFont>("SansSerif", 14);
    return headerFont.get();
}

Font* Dialog::GetLinesFont()
{
    if (!linesFont)
        linesFont = std::make_unique<SysFont>("SansSerif", 12);
    return linesFont.get();
}

void Dialog::SetColor(int index, const Color& color)
{
    Widget::SetColor(index, color);
    for (DialogButton* b : {yesButton.get(), noButton.get()}) {
        if (!b)
            continue;
        if (index == ColorButtonText)
            b->SetColor(ButtonWidget::ColorLabel, color);
        else if (index == ColorButtonTextHilite)
            b->SetColor(ButtonWidget::ColorLabelHilite, color);
    }
}

void Dialog::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Resize(newX, newY, newWidth, newHeight);
    PlaceButtons();
}

void Dialog::PlaceButtons()
{
    const Insets& bg = backgroundInsets;
    const Insets& ct = contentInsets;
    int by = y + height - bg.bottom - ct.bottom - buttonHeight;
    if (yesButton && noButton) {
        int w = (width - 2 * buttonSidePadding - bg.right - ct.right - ct.left - bg.left - buttonHorzSpacing) / 2;
        int yesX = x + ct.left + bg.left + buttonSidePadding;
        yesButton->Resize(yesX, by, w, buttonHeight);
        noButton->Resize(yesX + w + buttonHorzSpacing, by, w, buttonHeight);
    } else if (yesButton) {
        yesButton->Resize(x + ct.left + bg.left, by, width - bg.right - ct.right - ct.left - bg.left, buttonHeight);
    }
}

void Dialog::OnAttach(WidgetManager* m)
{
    Widget::OnAttach(m);
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b)
            m->AddChild(b);
}

void Dialog::OnDetach(WidgetManager* m)
{
    Widget::OnDetach(m);
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b)
            m->RemoveChild(b);
}

void Dialog::OnZOrderChanged()
{
    if (!manager)
        return;
    if (yesButton)
        manager->RaiseAbove(yesButton.get(), this);
    if (noButton)
        manager->RaiseAbove(noButton.get(), yesButton ? static_cast<Widget*>(yesButton.get()) : this);
}

void Dialog::OnButtonDown(int buttonId, int clickCount)
{
    (void)clickCount;
    if ((buttonId == IdYes || buttonId == IdNo) && dialogListener)
        dialogListener->OnDialogButtonDown(id, buttonId);
}

void Dialog::OnButtonClick(int buttonId)
{
    if (buttonId != IdYes && buttonId != IdNo)
        return;
    result = buttonId;
    if (dialogListener)
        dialogListener->OnDialogButtonClick(id, buttonId);
}

Rect Dialog::GetFrameRect() const
{
    if (componentImage == nullptr)
        return Rect(12, 12, width - 25, height - 25);
    if (frameCoversInsets)
        return Rect(0, 0, width, height);
    const Insets& ct = contentInsets;
    return Rect(ct.left, ct.top, width - ct.left - ct.right, height - ct.top - ct.bottom);
}

void Dialog::Draw(Graphics* g)
{
    const Insets& bg = backgroundInsets;
    const Insets& ct = contentInsets;
    if (componentImage) {
        g->DrawImageBox(GetFrameRect(), componentImage);
    } else {
        g->SetColor(GetColor(ColorOutline));
        g->DrawRect(12, 12, width - 25, height - 25);
        g->SetColor(GetColor(ColorBackground));
        g->FillRect(13, 13, width - 26, height - 26);
        g->SetColor(Color(0, 0, 0, 128));
        g->FillRect(width - 12, 24, 12, height - 36);
        g->FillRect(24, height - 12, width - 24, 12);
    }

    int cy = bg.top + ct.top;
    if (!header.empty()) {
        Font* hf = GetHeaderFont();
        g->SetFont(hf);
        g->SetColor(GetColor(ColorHeader));
        g->WriteString(header, 0, cy - hf->GetAscentPadding() + hf->GetAscent(), width, Graphics::JustifyCenter);
        cy += hf->GetHeight() - hf->GetAscentPadding() + spaceAfterHeader;
    }
    Font* lf = GetLinesFont();
    g->SetFont(lf);
    g->SetColor(GetColor(ColorLines));
    Rect textRect(ct.left + bg.left + 2, cy, width - bg.right - ct.left - bg.left - ct.right - 4, 0);
    cy += g->WriteWordWrapped(textRect, lines, lf->GetLineSpacing() + lineSpacingOffset, textAlign);

    if (buttonMode != ButtonsFooter && !footer.empty()) {
        Font* hf = GetHeaderFont();
        cy += 8 + hf->GetLineSpacing();
        g->SetFont(hf);
        g->SetColor(GetColor(ColorFooter));
        g->WriteString(footer, 0, cy, width, Graphics::JustifyCenter);
    }
}

int Dialog::GetPreferredHeight(int forWidth)
{
    const Insets& bg = backgroundInsets;
    const Insets& ct = contentInsets;
    int h = bg.bottom + bg.top + ct.top + ct.bottom;
    bool any = false;
    if (!header.empty()) {
        Font* hf = GetHeaderFont();
        h += hf->GetHeight() - hf->GetAscentPadding();
        any = true;
    }
    if (!lines.empty()) {
        if (!header.empty())
            h += spaceAfterHeader;
        Font* lf = GetLinesFont();
        Graphics g;
        g.SetFont(lf);
        h += g.GetWordWrappedHeight(forWidth - bg.right - bg.left - ct.right - ct.left - 4, lines,
                                    lf->GetLineSpacing() + lineSpacingOffset);
        any = true;
    }
    if (!footer.empty() && buttonMode != ButtonsFooter) {
        h += GetHeaderFont()->GetLineSpacing() + 8 - (any ? 0 : 8);
        any = true;
    }
    if (yesButton) {
        h += buttonHeight + 16 - (any ? 0 : 8);
    }
    return h;
}

void Dialog::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    if (clickCode == 1) {
        if (WidgetHost* host = GetHost())
            host->SetCursorNumber(2);
        dragging = true;
        dragMouseX = px;
        dragMouseY = py;
    }
}

void Dialog::MouseDrag(int px, int py)
{
    Widget::MouseDrag(px, py);
    if (!dragging || !manager)
        return;
    int areaW = manager->width, areaH = manager->height;
    int newX = x + px - dragMouseX, newY = y + py - dragMouseY;
    newX = std::clamp(newX, -8, std::max(-8, areaW - width + 8));
    newY = std::clamp(newY, -8, std::max(-8, areaH - height + 8));
    // Where the mouse now is on the dialog: the grab point where clamping
    // held the dialog back, kept 8 pixels inside.
    dragMouseX = std::clamp(x + px - newX, std::min(8, width / 2), std::max(width / 2, width - 8));
    dragMouseY = std::clamp(y + py - newY, std::min(8, height / 2), std::max(height / 2, height - 8));
    Move(newX, newY);
}

void Dialog::MouseUp(int px, int py)
{
    Widget::MouseUp(px, py);
    WidgetHost* host = GetHost();
    if (dragging && host)
        host->SetCursorNumber(0);
    dragging = false;
}

namespace {

// Every button, list and checkbox below `container`, in tree order.
void CollectControls(WidgetContainer* container, std::vector<Widget*>& found)
{
    for (Widget* child : container->children) {
        if (dynamic_cast<ButtonWidget*>(child) || dynamic_cast<ListWidget*>(child) ||
            dynamic_cast<Checkbox*>(child))
            found.push_back(child);
        CollectControls(child, found);
    }
}

} // namespace

std::vector<ButtonWidget*> Dialog::GetButtons()
{
    std::vector<Widget*> controls;
    CollectControls(this, controls);
    std::vector<ButtonWidget*> buttons;
    for (Widget* w : controls)
        if (auto* b = dynamic_cast<ButtonWidget*>(w); b && b->visible)
            buttons.push_back(b);
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b && b->visible)
            buttons.push_back(b);
    return buttons;
}

std::vector<Widget*> Dialog::GetKeyStops()
{
    std::vector<Widget*> controls;
    CollectControls(this, controls);
    for (DialogButton* b : {yesButton.get(), noButton.get()})
        if (b)
            controls.push_back(b);
    std::vector<Widget*> stops;
    for (Widget* w : controls)
        if (w->visible && !w->disabled)
            stops.push_back(w);
    SortReadingOrder(stops);
    return stops;
}

Widget* Dialog::DefaultKeyStop()
{
    std::vector<Widget*> stops = GetKeyStops();
    return stops.empty() ? nullptr : stops.front();
}

void Dialog::SetKeyFocus(Widget* stop)
{
    if (keyFocus == stop)
        return;
    // The old stop may have left the tree; only a stop still present is
    // touched.
    std::vector<Widget*> stops = GetKeyStops();
    if (keyFocus && std::find(stops.begin(), stops.end(), keyFocus) != stops.end())
        keyFocus->ShowFocusRing(false);
    keyFocus = stop;
    if (keyFocus)
        keyFocus->ShowFocusRing(hasFocus);
}

void Dialog::GotFocus()
{
    Widget::GotFocus();
    std::vector<Widget*> stops = GetKeyStops();
    if (keyFocus == nullptr || std::find(stops.begin(), stops.end(), keyFocus) == stops.end())
        SetKeyFocus(DefaultKeyStop());
    else
        keyFocus->ShowFocusRing(true);
}

void Dialog::LostFocus()
{
    Widget::LostFocus();
    std::vector<Widget*> stops = GetKeyStops();
    if (keyFocus && std::find(stops.begin(), stops.end(), keyFocus) != stops.end())
        keyFocus->ShowFocusRing(false);
}

void Dialog::MoveKeyFocus(int step)
{
    std::vector<Widget*> stops = GetKeyStops();
    if (stops.empty())
        return;
    auto at = std::find(stops.begin(), stops.end(), keyFocus);
    int n = int(stops.size());
    int i = at == stops.end() ? (step > 0 ? -1 : 0) : int(at - stops.begin());
    SetKeyFocus(stops[size_t(((i + step) % n + n) % n)]);
}

void Dialog::PressKeyStop(Widget* stop)
{
    if (stop == nullptr || stop->disabled || !stop->visible)
        return;
    if (auto* button = dynamic_cast<ButtonWidget*>(stop)) {
        if (button->buttonListener) {
            button->buttonListener->OnButtonDown(button->id, 1);
            button->buttonListener->OnButtonClick(button->id);
        }
    } else if (auto* box = dynamic_cast<Checkbox*>(stop)) {
        box->SetChecked(!box->IsChecked(), true);
    } else if (auto* list = dynamic_cast<ListWidget*>(stop)) {
        if (list->listListener && list->selectIdx >= 0)
            list->listListener->ListClicked(list->id, list->selectIdx, 2);
    }
}

bool Dialog::KeyForStop(Widget* stop, int key)
{
    auto* list = dynamic_cast<ListWidget*>(stop);
    if (list == nullptr || (key != KeyArrowUp && key != KeyArrowDown))
        return false;
    int n = list->GetLineCount();
    if (n > 0)
        list->SetSelect(std::clamp(list->selectIdx + (key == KeyArrowUp ? -1 : 1), 0, n - 1));
    return true;
}

void Dialog::OnEscapeKey()
{
    if (noButton)
        PressKeyStop(noButton.get());
    else if (yesButton && buttonMode == ButtonsFooter)
        PressKeyStop(yesButton.get());
}

void Dialog::KeyDown(int key)
{
    Widget::KeyDown(key);
    std::vector<Widget*> stops = GetKeyStops();
    if (std::find(stops.begin(), stops.end(), keyFocus) == stops.end())
        keyFocus = nullptr;
    if (keyFocus && KeyForStop(keyFocus, key))
        return;
    bool shift = manager && manager->IsKeyDown(KeyShift);
    switch (key) {
    case KeyTab:
        MoveKeyFocus(shift ? -1 : 1);
        break;
    case KeyArrowRight:
    case KeyArrowDown:
        MoveKeyFocus(1);
        break;
    case KeyArrowLeft:
    case KeyArrowUp:
        MoveKeyFocus(-1);
        break;
    case KeyEnter:
    case KeySpace:
        PressKeyStop(keyFocus ? keyFocus : DefaultKeyStop());
        break;
    case KeyEscape:
        OnEscapeKey();
        break;
    default:
        break;
    }
}

int Dialog::RunUntilAnswered(bool autoClose)
{
    // The host is taken now: closing the dialog takes it out of the tree.
    WidgetHost* host = GetHost();
    if (host == nullptr)
        return result == NoResult ? NoAnswer : result;
    // A close during a nested step queues this dialog for deletion at the end
    // of that step; the hold keeps it alive for the checks below until this
    // frame ends.
    ++deleteHolds;
    while (manager && result == NoResult) {
        bool updated = false;
        if (!host->PumpStep(updated))
            break;
    }
    --deleteHolds;
    int answer = result == NoResult ? NoAnswer : result;
    if (autoClose)
        host->CloseDialog(id); // deferred: this dialog outlives the call
    return answer;
}

} // namespace Zorvin

#include "game/app/dialogs/HintWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/shared/Res.h"

#include <algorithm>

namespace Zorvin {

HintWnd::HintWnd(GameDialogHost& gameHost) : host(gameHost)
{
    hasAlpha = true;
    hasTransparencies = true;
    ButtonImages small{IMAGE_BUTTON_NORMAL, IMAGE_BUTTON_OVER, IMAGE_BUTTON_DOWN, nullptr};
    closeButton = MakeTextButton(CloseButtonId, W("Закрыть"), this, small, kCloseButtonX, kCloseButtonY, 4);
    AddChild(closeButton.get());
    int w = IMAGE_W_HINT != nullptr ? IMAGE_W_HINT->GetWidth() : 280;
    int h = IMAGE_W_HINT != nullptr ? IMAGE_W_HINT->GetHeight() : 150;
    Resize(0, 0, w, h);
}

HintWnd::~HintWnd() = default;

Point HintWnd::ChooseSpot(int w, int h, Point wanted, const std::vector<Rect>& keepClear)
{
    auto covered = [&](Point p) {
        long area = 0;
        Rect r(p.x, p.y, w, h);
        for (const Rect& k : keepClear) {
            Rect i = r.Intersection(k);
            if (!i.IsEmpty())
                area += static_cast<long>(i.width) * i.height;
        }
        return area;
    };
    Point best = wanted;
    long bestCover = covered(wanted);
    if (bestCover == 0)
        return wanted;
    long bestDistance = 0;
    // Within the board: below the top bar, and no lower than asked (the
    // tips sit on the panel's upper edge).
    int bottom = std::max(kBoardBottom, wanted.y + h);
    for (int y = kBoardTop; y + h <= bottom; y += kSpotStep) {
        for (int x = 0; x + w <= kBoardWidth; x += kSpotStep) {
            Point p(x, y);
            long cover = covered(p);
            long dx = x - wanted.x, dy = y - wanted.y;
            long distance = dx * dx + dy * dy;
            if (cover < bestCover || (cover == bestCover && distance < bestDistance)) {
                best = p;
                bestCover = cover;
                bestDistance = distance;
            }
        }
    }
    return best;
}

void HintWnd::Layout(int px, int py, const std::string& tip, const std::vector<Rect>& keepClear)
{
    int w = IMAGE_W_HINT != nullptr ? IMAGE_W_HINT->GetWidth() : 280;
    int h = IMAGE_W_HINT != nullptr ? IMAGE_W_HINT->GetHeight() : 150;
    // The balloon image sits right of the arrow's column and above its row.
    Point at = ChooseSpot(w + 29, h + 30, Point(px, py - h - 30), keepClear);
    Resize(at.x, at.y, w + 29, h + 30);
    textRect = Rect(59, 30, w - 60, 100);
    arrowPos = Point(0, h - 20);
    text = tip;
    blinkLeft = kBlinkUpdates;
    // The close button sits at its place below a short tip; a long one
    // pushes it down so that no line runs under it (the balloon is tall
    // enough for the longest tip the board shows).
    int buttonY = kCloseButtonY;
    if (FONT_DEFAULT != nullptr) {
        Graphics measure;
        measure.SetFont(FONT_DEFAULT);
        int textBottom = textRect.y + measure.GetWordWrappedHeight(textRect.width, text, FONT_DEFAULT->GetLineSpacing());
        buttonY = std::max(buttonY, textBottom + kGapAboveButton);
    }
    closeButton->Move(kCloseButtonX, buttonY);
    MarkDirty();
}

void HintWnd::Update()
{
    Widget::Update();
    bool faded = IsArrowFaded();
    if (blinkLeft > 0 && --blinkLeft == 0) {
        pulse = kPulseTop;
        falling = true;
    } else if (blinkLeft == 0) {
        return;
    } else if (falling) {
        pulse -= kPulseStep;
        if (pulse <= kPulseBottom)
            falling = false;
    } else {
        pulse += kPulseStep;
        if (pulse >= kPulseTop)
            falling = true;
    }
    // The pulse shows only as the arrow fading and coming back: only the
    // arrow's rectangle is repainted (with whatever lies under it).
    if (IsArrowFaded() != faded && IMAGE_ARROW != nullptr)
        MarkDirty(Rect(arrowPos.x, arrowPos.y, IMAGE_ARROW->GetWidth(), IMAGE_ARROW->GetHeight()));
}

void HintWnd::Draw(Graphics* g)
{
    g->SetFont(FONT_DEFAULT);
    g->SetColor(Color::White);
    if (IMAGE_W_HINT != nullptr)
        g->DrawImage(IMAGE_W_HINT, 29, 0);
    if (IMAGE_ARROW != nullptr) {
        if (IsArrowFaded()) {
            g->SetColorizeImages(true);
            g->SetColor(Color(255, 255, 255, 150));
            g->DrawImage(IMAGE_ARROW, arrowPos.x, arrowPos.y);
            g->SetColorizeImages(false);
            g->SetColor(Color::White);
        } else {
            g->DrawImage(IMAGE_ARROW, arrowPos.x, arrowPos.y);
        }
    }
    if (FONT_DEFAULT != nullptr)
        g->WriteWordWrapped(textRect, text, FONT_DEFAULT->GetLineSpacing(), Graphics::JustifyLeft);
}

void HintWnd::OnButtonClick(int buttonId)
{
    if (buttonId != CloseButtonId)
        return;
    host.PlayClick();
    host.HideHintWindow();
}

} // namespace Zorvin

#include "game/app/dialogs/LevelSummaryWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/dialogs/StatisticsWnd.h"
#include "game/shared/DialogIds.h"
#include "game/shared/LevelStars.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

// The figures' rows: labels from the left margin, values ending at the
// right one, one row every kRowStep pixels from the first baseline.
constexpr int kMargin = 56;
constexpr int kStarsTop = 66;
constexpr int kFirstRow = 152;
constexpr int kRowStep = 26;
// The button is as wide as the game's text buttons: the side insets keep
// the rest of the width free.
constexpr int kButtonInset = (LevelSummaryWnd::kWidth - 48 - 132) / 2;

} // namespace

LevelSummaryWnd::LevelSummaryWnd(const std::string& header, const std::string& button, const LevelResult& r,
                                 int best)
    : Dialog(IMAGE_W_SMALL, IMAGE_BUTTON_NORMAL, DialogLevelWon, true, header, "", button, ButtonsFooter),
      result(r), previousBest(best)
{
    StyleGameDialog(*this);
    frameCoversInsets = true;
    contentInsets = Insets{kButtonInset, 10, kButtonInset, 22};
    Resize(400 - kWidth / 2, 300 - kHeight / 2, kWidth, kHeight);
}

void LevelSummaryWnd::Draw(Graphics* g)
{
    Dialog::Draw(g);
    if (FONT_DEFAULT == nullptr)
        return;
    g->SetFont(FONT_DEFAULT);
    DrawStars(g, kStarsTop);
    DrawFigure(g, 0, W("Очки за уровень"), std::to_string(result.score));
    DrawFigure(g, 1, W("Лучший множитель комбо"), "x" + std::to_string(std::max(result.bestCombo, 1)));
    DrawFigure(g, 2, W("Бонусов собрано"), std::to_string(result.bonuses));
    DrawFigure(g, 3, W("Сделано ходов"), std::to_string(result.moves));
    DrawFigure(g, 4, W("Время"), StatisticsWnd::FormatTime(result.seconds));
    DrawFigure(g, 5, W("Личный рекорд"), std::to_string(PersonalBest()));
    if (NewRecord()) {
        g->SetColor(HighscoresWnd::NewRowInk);
        g->WriteString(W("Новый рекорд!"), 0, kFirstRow + 6 * kRowStep + 4, width, Graphics::JustifyCenter);
    }
}

void LevelSummaryWnd::DrawStars(Graphics* g, int top)
{
    // A level without thresholds shows no rating rather than a wrong one.
    if (IMAGE_STAR == nullptr || result.stars <= 0)
        return;
    int w = IMAGE_STAR->GetCelWidth();
    int gap = 8;
    int left = (width - LevelStars::kMaxStars * w - (LevelStars::kMaxStars - 1) * gap) / 2;
    for (int i = 0; i < LevelStars::kMaxStars; ++i)
        g->DrawImageCel(IMAGE_STAR, left + i * (w + gap), top, i < result.stars ? 0 : 1);
}

void LevelSummaryWnd::DrawFigure(Graphics* g, int row, const std::string& label, const std::string& value)
{
    int y = kFirstRow + row * kRowStep;
    g->SetColor(HighscoresWnd::RowInk);
    g->WriteString(label, kMargin, y);
    g->SetColor(Color::Black);
    g->WriteString(value, kMargin, y, width - 2 * kMargin, Graphics::JustifyRight);
}

} // namespace Zorvin

#include "game/app/dialogs/StatisticsWnd.h"

#include <cstdio>

#include "framework/core/Cp1251.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/PlayerStatistics.h"
#include "game/shared/DialogIds.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

// The rows' labels, top to bottom; DrawColumn writes the figures in the
// same order.
const char* const kLabels[] = {
    "Сыграно уровней",    "Выиграно",       "Проиграно",        "Доля побед",          "Общее время",
    "Среднее время уровня", "Лучшее комбо", "Лучшая серия побед", "Текущая серия побед", "Пройдено уровней",
};
constexpr int kRows = static_cast<int>(std::size(kLabels));
constexpr int kFirstRowY = 150;
constexpr int kRowStep = 19;
constexpr int kLabelX = 50;
constexpr int kClickX = 450;
constexpr int kDragX = 610;

} // namespace

StatisticsWnd::StatisticsWnd(PlayerDialogHost& dialogHost, const std::string& playerName,
                             const PlayerStatistics& figures)
    : Dialog(IMAGE_DIALOG_BOX, IM_B_DIALOG, DialogStatistics, true, "", "", "", ButtonsNone), host(dialogHost),
      name(playerName), statistics(figures)
{
    StyleGameDialog(*this);
    int w = IMAGE_DIALOG_BOX ? IMAGE_DIALOG_BOX->width : 530;
    int h = IMAGE_DIALOG_BOX ? IMAGE_DIALOG_BOX->height : 400;
    // As wide as the high-score window, whose two columns it echoes.
    w += 200;
    int buttonW = IM_B_DIALOG ? IM_B_DIALOG->width : 132;
    okButton = MakeTextButton(IdOk, "Ok", this, DialogButtonImages(), (w - buttonW) / 2, 350);
    AddChild(okButton.get());
    Resize(400 - w / 2, 300 - h / 2, w, h);
}

StatisticsWnd::~StatisticsWnd() { RemoveChild(okButton.get()); }

std::string StatisticsWnd::FormatTime(int seconds)
{
    char text[32];
    int s = seconds < 0 ? 0 : seconds;
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%d:%02d", s / 60, s % 60);
    return text;
}

void StatisticsWnd::Draw(Graphics* g)
{
    Dialog::Draw(g);
    g->SetFont(FONT_DEFAULT ? FONT_DEFAULT : GetLinesFont());
    g->SetColor(Color::Black);
    g->WriteString(W("СТАТИСТИКА"), width / 2, 40, -1, Graphics::JustifyCenter);
    g->SetColor(HighscoresWnd::RowInk);
    g->WriteString(W("Игрок: ") + name, width / 2, 70, -1, Graphics::JustifyCenter);
    g->SetColor(Color::Black);
    g->WriteString(W("Односторонний"), kClickX, 115, -1, Graphics::JustifyCenter);
    g->WriteString(W("Двусторонний"), kDragX, 115, -1, Graphics::JustifyCenter);
    g->SetColor(HighscoresWnd::RowInk);
    for (int r = 0; r < kRows; ++r)
        g->WriteString(W(kLabels[r]), kLabelX, kFirstRowY + kRowStep * r);
    DrawColumn(g, statistics.Mode(PlayMode::Click), PlayerProfile::kLastLevelMode2, kClickX);
    DrawColumn(g, statistics.Mode(PlayMode::Drag), PlayerProfile::kLastLevelMode0, kDragX);
}

void StatisticsWnd::DrawColumn(Graphics* g, const ModeStatistics& mode, int lastLevel, int x)
{
    const std::string figures[kRows] = {
        std::to_string(mode.Played()),
        std::to_string(mode.Won()),
        std::to_string(mode.Lost()),
        std::to_string(mode.WinRatePercent()) + "%",
        FormatTime(mode.TotalSeconds()),
        FormatTime(mode.AverageSeconds()),
        mode.BestCombo() > 0 ? "x" + std::to_string(mode.BestCombo()) : "-",
        std::to_string(mode.LongestStreak()),
        std::to_string(mode.CurrentStreak()),
        std::to_string(mode.Levels().size()) + W(" из ") + std::to_string(lastLevel),
    };
    for (int r = 0; r < kRows; ++r)
        g->WriteString(figures[r], x, kFirstRowY + kRowStep * r, -1, Graphics::JustifyCenter);
}

void StatisticsWnd::OnButtonClick(int buttonId)
{
    host.PlayClick();
    if (buttonId == IdOk) {
        result = 1;
        host.CloseDialog(this);
    }
}

} // namespace Zorvin

#pragma once

// StatisticsWnd: the statistics window: the current player's figures in
// both play modes side by side (click mode, then drag mode, as in the
// high-score window): levels played, won and lost, the share won, the total
// and average time of a level, the best combo, the longest and the current
// winning streak and how many levels of the campaign were won. An "Ok"
// button closes it. Opened from the main menu and from the high-score
// window; it reads the figures it is given and is owned by the application
// while open.

#include <memory>
#include <string>

#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class ButtonWidget;
class ModeStatistics;
class PlayerDialogHost;
class PlayerStatistics;

class StatisticsWnd : public Dialog {
public:
    enum { IdOk = 0 };

    // `playerName` in Windows-1251. The window places itself centred.
    StatisticsWnd(PlayerDialogHost& host, const std::string& playerName, const PlayerStatistics& figures);
    ~StatisticsWnd() override;

    void Draw(Graphics* g) override;
    void OnButtonClick(int buttonId) override;
    ButtonWidget* OkButton() const { return okButton.get(); }

    // A length of time as the window shows it: "м:сс", or "ч:мм:сс" from an
    // hour on.
    static std::string FormatTime(int seconds);

private:
    // The rows of one mode's column, centred on x.
    void DrawColumn(Graphics* g, const ModeStatistics& mode, int lastLevel, int x);

    PlayerDialogHost& host;
    std::string name;
    const PlayerStatistics& statistics;
    std::unique_ptr<ButtonWidget> okButton;
};

} // namespace Zorvin

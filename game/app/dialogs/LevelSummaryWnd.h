#pragma once

// LevelSummaryWnd: the window that closes a won level (dialog 101). Under
// its header (the board's "Уровень пройден!") it shows the level's rating in stars, then the level's
// points, the best combo multiplier reached, the bonuses taken, the moves,
// the time and the player's best score on this level, marked as a new
// record when this win beat an earlier one. Its one button (the board's
// "Продолжить") answers as the message dialogs' button does (the listener then leads on
// to the map). Modal; the application owns it while it is open.

#include <algorithm>
#include <string>

#include "framework/widgets/controls/Dialog.h"
#include "game/app/profiles/LevelResult.h"

namespace Zorvin {

class LevelSummaryWnd : public Dialog {
public:
    // `previousBest` is the player's best score on the level before this
    // win (0 when it was never won). A result with no stars (the level has
    // no thresholds) shows none.
    LevelSummaryWnd(const std::string& header, const std::string& button, const LevelResult& result,
                    int previousBest);

    // Centred on the 800 x 600 screen.
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 400;

    void Draw(Graphics* g) override;

    const LevelResult& Result() const { return result; }
    // The best score on the level now, and whether this win set it over an
    // earlier best.
    int PersonalBest() const { return std::max(result.score, previousBest); }
    bool NewRecord() const { return previousBest > 0 && result.score > previousBest; }

private:
    void DrawStars(Graphics* g, int top);
    void DrawFigure(Graphics* g, int row, const std::string& label, const std::string& value);

    LevelResult result;
    int previousBest;
};

} // namespace Zorvin

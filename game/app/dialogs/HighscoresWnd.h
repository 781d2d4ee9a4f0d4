#pragma once

// HighscoresWnd: the high-score window (dialog 1009): both tables side by
// side, click mode on the left and drag mode on the right, with a newly
// entered row shown in green, an "Ok" button that closes it and a
// "Статистика" button that opens the player's statistics above it. The rows
// are written in dark ink: light text on the light parchment could not be
// read. Placed
// centred on the screen, 200 pixels wider than its background picture.
// Reads the tables it is given; owned by the application while open.

#include <memory>

#include "framework/core/Color.h"
#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class ButtonWidget;
class HighScoreTable;
class PlayerDialogHost;

class HighscoresWnd : public Dialog {
public:
    enum { IdOk = 0, IdStatistics = 1 };
    // The rows stand on light parchment, so they are written in dark sepia
    // and a new row in a deep green: both keep over 4.5:1 against the sheet.
    static constexpr Color RowInk{58, 34, 12};
    static constexpr Color NewRowInk{0, 96, 24};

    // boardMode says which table highlightRow belongs to (0 drag mode, 2
    // click mode). The window places itself.
    HighscoresWnd(PlayerDialogHost& host, const HighScoreTable& table, int boardMode);
    ~HighscoresWnd() override;

    void Draw(Graphics* g) override;
    void OnButtonClick(int buttonId) override;
    ButtonWidget* StatisticsButton() const { return statisticsButton.get(); }

    // The row (0-9) of a new entry, drawn in green, or -1.
    int highlightRow = -1;
    int mode;

private:
    // Escape closes the table as "Ok" does.
    void OnEscapeKey() override { OnButtonClick(IdOk); }

    void DrawColumn(Graphics* g, int tableMode, int numberX, int nameX, int scoreX);

    PlayerDialogHost& host;
    const HighScoreTable& scores;
    std::unique_ptr<ButtonWidget> okButton;
    std::unique_ptr<ButtonWidget> statisticsButton;
};

} // namespace Zorvin

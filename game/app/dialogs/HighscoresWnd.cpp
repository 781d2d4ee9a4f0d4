#include "game/app/dialogs/HighscoresWnd.h"

#include <string>

#include "framework/core/Cp1251.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/shared/Res.h"
#include "game/shared/DialogIds.h"

namespace Zorvin {

HighscoresWnd::HighscoresWnd(PlayerDialogHost& dialogHost, const HighScoreTable& table, int boardMode)
    : Dialog(IMAGE_DIALOG_BOX, IM_B_DIALOG, DialogHighScores, true, "", "", "", ButtonsNone), mode(boardMode),
      host(dialogHost), scores(table)
{
    SetHeaderFont(FONT_DEFAULT);
    SetBodyFont(FONT_DEFAULT);
    SetColor(ColorHeader, Color::Black);
    SetColor(ColorLines, Color::Black);

    okButton = std::make_unique<ButtonWidget>(IdOk, this);
    okButton->label = "Ok";
    okButton->buttonImage = IM_B_DIALOG;
    okButton->overImage = IM_B_DIALOG_OVER;
    okButton->downImage = IM_B_DIALOG_DOWN;
    if (FONT_DEFAULT)
        okButton->SetFont(FONT_DEFAULT);
    okButton->colors = {Color(255, 230, 160), Color::White};
    okButton->doHandCursor = true;
    int buttonW = IM_B_DIALOG ? IM_B_DIALOG->width : 132;
    int buttonH = IM_B_DIALOG ? IM_B_DIALOG->height - 2 : 34;
    int w = IMAGE_DIALOG_BOX ? IMAGE_DIALOG_BOX->width : 530;
    int h = IMAGE_DIALOG_BOX ? IMAGE_DIALOG_BOX->height : 400;
    // The two buttons side by side under the middle of the window.
    constexpr int kGap = 20;
    int middle = (w + 200) / 2;
    okButton->Resize(middle + kGap / 2, 350, buttonW, buttonH);
    AddChild(okButton.get());
    statisticsButton = MakeTextButton(IdStatistics, W("Статистика"), this, DialogButtonImages(),
                                      middle - kGap / 2 - buttonW, 350);
    statisticsButton->colors = okButton->colors;
    AddChild(statisticsButton.get());

    Resize(300 - w / 2, 300 - h / 2, w + 200, h);
}

HighscoresWnd::~HighscoresWnd()
{
    RemoveChild(okButton.get());
    RemoveChild(statisticsButton.get());
}

void HighscoresWnd::Draw(Graphics* g)
{
    Dialog::Draw(g);
    g->SetFont(FONT_DEFAULT ? FONT_DEFAULT : GetLinesFont());
    g->SetColor(Color::Black);
    g->WriteString(W("ТАБЛИЦА РЕКОРДОВ"), 370, 40, -1, Graphics::JustifyCenter);
    g->WriteString(W("Односторонний пасьянс"), 190, 90, -1, Graphics::JustifyCenter);
    g->WriteString(W("Двусторонний пасьянс"), 550, 90, -1, Graphics::JustifyCenter);
    DrawColumn(g, 2, 50, 80, 280);
    DrawColumn(g, 0, 410, 440, 650);
}

void HighscoresWnd::DrawColumn(Graphics* g, int tableMode, int numberX, int nameX, int scoreX)
{
    const auto& rows = scores.TableFor(tableMode);
    bool ownTable = (mode == 0) == (tableMode == 0);
    for (int r = 0; r < static_cast<int>(rows.size()) && r < HighScoreTable::Rows; ++r) {
        int y = 130 + 20 * r;
        g->SetColor(ownTable && r == highlightRow ? NewRowInk : RowInk);
        g->WriteString(std::to_string(r + 1) + ".", numberX, y);
        g->WriteString(rows[static_cast<size_t>(r)].name, nameX, y);
        g->WriteString(std::to_string(rows[static_cast<size_t>(r)].score), scoreX, y);
    }
}

void HighscoresWnd::OnButtonClick(int buttonId)
{
    host.PlayClick();
    if (buttonId == IdOk) {
        result = 1;
        host.CloseDialog(this);
    } else if (buttonId == IdStatistics) {
        host.OpenStatistics();
    }
}

} // namespace Zorvin

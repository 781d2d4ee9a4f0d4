#include "game/board/view/PanelPointer.h"

#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"

namespace Zorvin {

int PanelPointer::TilesOffLine(const Board& board)
{
    int n = board.field->CountFish() + static_cast<int>(board.deck->fish.size());
    for (const Place& p : board.deck->places)
        n += static_cast<int>(p.size());
    return n;
}

void PanelPointer::Move(int px, int py) { panel.MouseMove(px, py); }

void PanelPointer::Down(int clickCode, int px, int py)
{
    scoreAtPress = board.field->Score();
    tilesAtPress = TilesOffLine(board);
    panel.MouseDown(px, py, clickCode);
}

void PanelPointer::Drag(int px, int py) { panel.MouseDrag(px, py); }

void PanelPointer::Up(int clickCode, int px, int py)
{
    panel.MouseUp(px, py, clickCode);
    int made = tilesAtPress - TilesOffLine(board);
    tilesAtPress = TilesOffLine(board);
    if (made <= 0)
        return;
    puts += made;
    if (onPut)
        onPut(scoreAtPress);
}

void PanelPointer::PressReshuffle() { panel.OnButtonClick(BoardInterface::kReshuffleButton); }

} // namespace Zorvin

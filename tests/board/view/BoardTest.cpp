// The board's picture: what the cached backdrop holds and when it is
// repainted, and the order in which a frame stacks its parts. Solid test
// images stand in for the art, so each pixel tells which part is on top.

#include "game/board/view/Board.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "framework/graphics/Graphics.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/board/headless/HeadlessHost.h"
#include "game/board/view/BoardInterface.h"
#include "game/board/view/HeadlessPanelHost.h"
#include "game/shared/Res.h"

using namespace Zorvin;

namespace {

constexpr uint32_t kShadow = 0xFF102030, kFace = 0xFFC00000, kFrame = 0xFF0000C0, kMeterOn = 0xFF00C000;

std::unique_ptr<MemoryImage> Solid(int w, int h, uint32_t argb)
{
    auto image = std::make_unique<MemoryImage>(w, h);
    uint32_t* px = image->GetBits();
    std::fill(px, px + w * h, argb);
    image->BitsChanged();
    image->CommitBits();
    return image;
}

class BoardPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        shadow = Solid(96, 66, kShadow);
        face = Solid(88, 58, kFace);
        frame = Solid(112, 84, kFrame);
        meterOn = Solid(32, 202, kMeterOn);
        IMAGE_FISH_BORDER = shadow.get();
        IMAGE_PANEL_LINE = frame.get();
        IMAGE_COMBO_METER_ON = meterOn.get();
        IMAGE_FISH_L = IMAGE_FISH_L2 = IMAGE_FISH_L3 = face.get();
        IMAGE_FISH_OVER = IMAGE_FISH_OVER2 = IMAGE_FISH_OVER3 = face.get();

        // Two lying tiles far apart on one layer: (40, 50) and (440, 50).
        level = std::filesystem::temp_directory_path() / ("board_picture_" + std::to_string(::getpid()) + ".xml");
        std::ofstream(level) << "<Level Typs=\"1,2\" CardsInDeck=\"3\"><Layers><Layer><l></l>"
                                "<l>[==]................[==]</l></Layer></Layers></Level>";
        host.onUpdate = [this] { board->Update(); };
        board = std::make_unique<Board>(panelHost);
        panel = std::make_unique<BoardInterface>(*board, panelHost);
        panelHost.panel = panel.get();
        srand(5);
        board->StartLevelFile(PlayMode::Drag, 2, level.string());
        for (int i = 0; i < 200; ++i)
            host.Tick();
    }
    void TearDown() override
    {
        panel.reset();
        board.reset();
        for (Image** id : {&IMAGE_FISH_BORDER, &IMAGE_PANEL_LINE, &IMAGE_COMBO_METER_ON, &IMAGE_FISH_L, &IMAGE_FISH_L2,
                           &IMAGE_FISH_L3, &IMAGE_FISH_OVER, &IMAGE_FISH_OVER2, &IMAGE_FISH_OVER3})
            *id = nullptr;
        std::filesystem::remove(level);
    }

    DominoFish& FirstTile() { return *board->field->layers[0].back(); }
    uint32_t BackdropAt(int x, int y) { return board->GetBackdrop()->GetPixel(x, y); }

    std::unique_ptr<MemoryImage> shadow, face, frame, meterOn;
    std::filesystem::path level;
    HeadlessHost host;
    HeadlessPanelHost panelHost{host};
    std::unique_ptr<Board> board;
    std::unique_ptr<BoardInterface> panel;
};

} // namespace

TEST_F(BoardPicture, BackdropLosesADraggedTilesShadowAndRegainsItWhenItLands)
{
    DominoFish& tile = FirstTile();
    ASSERT_EQ(tile.x, 40);
    ASSERT_TRUE(tile.open);
    EXPECT_EQ(BackdropAt(40, 50), kShadow);
    int rebuilds = board->field->BackdropVersion();

    panel->MouseMove(tile.x + 7, tile.y - 7);
    panel->MouseDown(tile.x + 7, tile.y - 7, 1);
    ASSERT_TRUE(tile.dragged);
    EXPECT_NE(BackdropAt(40, 50), kShadow) << "a dragged tile must not leave its shadow behind";

    // Dropped far from the line: no put, the tile glides home.
    panel->MouseDrag(400, 300);
    panel->MouseUp(400, 300, 1);
    EXPECT_EQ(board->field->Score(), 0);
    EXPECT_TRUE(panel->undoButton->disabled);
    for (int i = 0; i < 40; ++i)
        host.Tick();
    EXPECT_EQ(tile.x, 40);
    EXPECT_EQ(BackdropAt(40, 50), kShadow);
    // Repainted once for the pick-up and once for the landing, not every frame.
    EXPECT_EQ(board->field->BackdropVersion(), rebuilds + 2);
}

TEST_F(BoardPicture, FrameStacksTheDraggedTileByItsEndAndFillsTheMeterFromTheBottom)
{
    DominoFish& tile = FirstTile();
    panel->MouseMove(tile.x + 7, tile.y - 7);
    panel->MouseDown(tile.x + 7, tile.y - 7, 1);
    ASSERT_TRUE(tile.dragged);
    // Held over the line's frame (112 x 84 at (348, 516)).
    tile.DragTo(404, 558);
    MemoryImage screen(800, 600);
    Graphics g(&screen);
    for (int snapSide : {0, 1}) {
        board->playLine->snapSide = snapSide;
        board->Draw(&g);
        // Snapped to the right end, the tile passes under the frame;
        // otherwise it is held above everything.
        EXPECT_EQ(screen.GetPixel(404, 558), snapSide == 1 ? kFrame : kFace) << "snapSide " << snapSide;
    }

    board->comboMeter->level = 50;
    board->Draw(&g);
    int top = 270 + 1;
    EXPECT_NE(screen.GetPixel(770, top + 90), kMeterOn);
    EXPECT_EQ(screen.GetPixel(770, top + 110), kMeterOn);
    EXPECT_EQ(screen.GetPixel(770, top + 200), kMeterOn);
}

TEST_F(BoardPicture, StandingTileShowsBothValuesWhereItIsHit)
{
    auto first = Solid(34, 44, 0xFFAA0000), second = Solid(34, 44, 0xFF00AA00);
    FishField& field = *board->field;
    board->painter.faceImages[3] = first.get();
    board->painter.faceImages[4] = second.get();
    DominoFish tile(200, 300, 0, 0, &field);
    tile.open = true;
    tile.valueA = 3;
    tile.valueB = 4;
    MemoryImage screen(800, 600);
    Graphics g(&screen);
    board->painter.Draw(&g, field, tile, true);
    // The 40 x 100 stone: its first value in the upper box, its second below.
    int boxX = tile.left + 6 + 20;
    EXPECT_EQ(screen.GetPixel(boxX, tile.top + 25), 0xFFAA0000u);
    EXPECT_EQ(screen.GetPixel(boxX, tile.top + 75), 0xFF00AA00u);
    EXPECT_TRUE(tile.HitTest(boxX, tile.top + 75));
    EXPECT_FALSE(tile.HitTest(tile.x + 35, tile.y));
    board->painter.faceImages = {};
}

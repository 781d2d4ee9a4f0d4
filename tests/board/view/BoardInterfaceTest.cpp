// The board panel driven as a person drives it: every operation is a mouse
// event or button click sent to BoardInterface, the moves chosen by the
// headless player.

#include "game/board/view/BoardInterface.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "framework/widgets/controls/ButtonWidget.h"
#include "game/board/AutoPlayer.h"
#include "game/board/HeadlessHost.h"
#include "game/board/view/Board.h"
#include "game/board/view/HeadlessPanelHost.h"
#include "game/board/view/PanelPointer.h"

using namespace Zorvin;

namespace {

const std::string kLevel = std::string(KORVELT_TEST_DATA) + "/levels/tricky-formatting.xml";

// A level on the real board and panel, run by a headless host.
struct Scene {
    explicit Scene(int mode, unsigned seed)
    {
        srand(seed);
        host.profile.levelMode0 = host.profile.levelMode2 = 2;
        host.onUpdate = [this] { board.Update(); };
        panelHost.panel = &panel;
        board.StartLevelFile(mode, 2, kLevel);
        // No random bonuses: every put then scores exactly 20 x the multiplier.
        board.field->bonusPeriod = 1 << 30;
        Ticks(150);
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            host.Tick();
    }
    // The headless player makes `moves` puts (or finishes the level) through the panel.
    void Play(int moves, PanelPointer& pointer)
    {
        AutoPlayer player(*board.rules, host);
        player.pointer = &pointer;
        int target = pointer.puts + moves;
        player.afterAction = [&] {
            if (pointer.puts >= target)
                player.updateLimit = 0;
        };
        player.Play();
    }

    HeadlessHost host;
    HeadlessPanelHost panelHost{host};
    Board board{panelHost};
    BoardInterface panel{board, panelHost};
};

} // namespace

TEST(BoardInterface, PlayedToAWinWithTheMouseInBothModes)
{
    for (int mode : {FishField::kDragMode, FishField::kClickMode}) {
        bool won = false;
        for (unsigned seed = 1; seed <= 6 && !won; ++seed) {
            Scene s(mode, seed);
            PanelPointer pointer(s.board, s.panel);
            int deckPuts = 0, scored = 0;
            pointer.onPut = [&](int before) {
                FishField& f = *s.board.field;
                int points = 20 * s.board.comboMeter->Multiplier();
                EXPECT_EQ(f.score - before, points) << "mode " << mode << " put " << pointer.puts;
                EXPECT_EQ(f.lastMove.lastPoints, points);
                scored += points;
                bool fromDeck = f.lastMove.source == 1;
                deckPuts += fromDeck;
                // Undo takes back a put, except a click-mode draw from the deck.
                EXPECT_EQ(s.panel.undoButton->disabled, mode == FishField::kClickMode && fromDeck)
                    << "mode " << mode << " put " << pointer.puts;
            };
            s.Play(1000, pointer);
            won = s.host.levelWon;
            if (won) {
                EXPECT_EQ(s.board.field->CountFish(), 0);
                EXPECT_EQ(s.board.field->score, scored);
                if (mode == FishField::kClickMode) {
                    EXPECT_GT(deckPuts, 0) << "the deck was never used; its put went unchecked";
                }
            }
        }
        EXPECT_TRUE(won) << "mode " << mode;
    }
}

TEST(BoardInterface, UndoPressedTwiceTakesBackOnlyTheLastPut)
{
    for (int mode : {FishField::kDragMode, FishField::kClickMode}) {
        Scene s(mode, 3);
        PanelPointer pointer(s.board, s.panel);
        // Two puts, the last one from the field, so undo is enabled.
        for (int i = 0; i < 20 && (pointer.puts < 2 || s.board.field->lastMove.source != 0); ++i)
            s.Play(1, pointer);
        ASSERT_FALSE(s.panel.undoButton->disabled) << "mode " << mode;
        int onField = s.board.field->CountFish();
        size_t onLine = s.board.playLine->fish.size();
        s.panel.OnButtonClick(BoardInterface::kUndoButton);
        s.panel.OnButtonClick(BoardInterface::kUndoButton);
        s.Ticks(100);
        EXPECT_EQ(s.board.field->CountFish(), onField + 1) << "mode " << mode;
        EXPECT_EQ(s.board.playLine->fish.size(), onLine - 1) << "mode " << mode;
        EXPECT_TRUE(s.panel.undoButton->disabled);
    }
}

TEST(BoardInterface, EscapeOpensTheMenuAndDeveloperKeysNeedTheSwitch)
{
    Scene s(FishField::kDragMode, 1);
    s.board.field->score = 555;
    for (int key : {BoardInterface::kKeyF4, BoardInterface::kKeyF5, LevelEditor::kKeyF8, BoardInterface::kEscapeKey})
        s.panel.KeyDown(key);
    EXPECT_EQ(s.panelHost.menusOpened, 1);
    EXPECT_TRUE(s.panelHost.mapLevels.empty());
    EXPECT_EQ(s.host.profile.scoreMode0, 0);
    EXPECT_FALSE(s.board.editor->Active());

    s.panelHost.debugKeys = true;
    s.panel.KeyDown(BoardInterface::kKeyF4);
    EXPECT_EQ(s.panelHost.mapLevels, std::vector<int>{2});
    // F5 counts the level as won with its score and starts the next one.
    s.panel.KeyDown(BoardInterface::kKeyF5);
    EXPECT_EQ(s.host.profile.scoreMode0, 555);
    s.panel.KeyDown(LevelEditor::kKeyF8);
    EXPECT_TRUE(s.board.editor->Active());
}

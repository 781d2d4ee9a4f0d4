// The level editor driven as a level builder drives it: keys, characters and
// mouse events sent to the board panel, the level saved through the panel's
// host, read back and compared with what the editor holds.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "framework/core/KeyCodes.h"
#include "game/board/FishField.h"
#include "game/board/LevelFile.h"
#include "game/board/editor/LevelEditor.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "game/board/view/HeadlessPanelHost.h"
#include "tests/board/FakeBoardHost.h"

namespace Zorvin {

namespace {

class LevelEditorTest : public ::testing::Test {
protected:
    LevelEditorTest()
    {
        srand(11);
        panelHost.debugKeys = true;
        host.onUpdate = [this] { board.Update(); };
        dir = std::filesystem::temp_directory_path() / ("korvelt_editor_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        oldDir = std::filesystem::current_path();
        // Saved names are relative to the working folder, as in the game.
        std::filesystem::current_path(dir);
    }
    ~LevelEditorTest() override
    {
        std::filesystem::current_path(oldDir);
        std::filesystem::remove_all(dir);
    }

    FishField& F() { return *board.field; }
    void Key(int key) { panel.KeyDown(key); }
    void Keys(int key, int times)
    {
        for (int i = 0; i < times; ++i)
            Key(key);
    }
    // The panel point inside cursor cell (cx, cy) of the edited layer.
    int PX(int cx) { return cx + 7 * board.editor->EditedLayer() + F().level.shiftX + 5; }
    int PY(int cy) { return cy - 7 * board.editor->EditedLayer() + F().level.shiftY + 5; }
    void Click(int cx, int cy, int code = 1)
    {
        panel.MouseMove(PX(cx), PY(cy));
        panel.MouseDown(PX(cx), PY(cy), code);
        panel.MouseUp(PX(cx), PY(cy), code);
    }
    // A right-button drag from one cell to another.
    void Move(int fromX, int fromY, int toX, int toY)
    {
        panel.MouseMove(PX(fromX), PY(fromY));
        panel.MouseDown(PX(fromX), PY(fromY), -1);
        panel.MouseDrag((PX(fromX) + PX(toX)) / 2, (PY(fromY) + PY(toY)) / 2);
        panel.MouseDrag(PX(toX), PY(toY));
        panel.MouseUp(PX(toX), PY(toY), -1);
    }
    void Type(int cx, int cy, char ch)
    {
        panel.MouseMove(PX(cx), PY(cy));
        panel.CharTyped(ch);
    }
    bool Save(const std::string& name)
    {
        panelHost.fileNameAnswer = name;
        Key(KeyF2);
        return std::filesystem::exists(dir / name);
    }

    FakeBoardHost host;
    HeadlessPanelHost panelHost{host};
    Board board{panelHost};
    BoardInterface panel{board, panelHost};
    std::filesystem::path dir, oldDir;
};

} // namespace

TEST_F(LevelEditorTest, LevelBuiltWithKeysAndMouseComesBackFromItsFile)
{
    Key(KeyF8);
    ASSERT_EQ(F().mode, PlayMode::Editor);
    // An empty board still has a layer to edit.
    ASSERT_EQ(F().layers.size(), 1u);
    Key(KeyTab);
    EXPECT_TRUE(board.editor->GridShown());

    // Layer 0, added out of reading order: bottom row first, left before right.
    Click(100, 200);
    Click(300, 200);
    Click(40, 25);
    Click(500, 100);
    // Style 3 for the next tiles: it needs a hovered tile to take effect.
    Type(40, 25, '4');
    Click(200, 100);
    EXPECT_EQ(F().layers[0].back()->style, 0);
    EXPECT_EQ(F().drag.Hovered()->style, 3);
    Type(300, 200, 'w'); // lock 1
    Type(500, 100, 's'); // item 1
    Type(40, 25, 'q');
    Type(40, 25, 'q'); // lock on, then off again
    Type(100, 200, 'e');
    // Moved with a right-button drag from the bottom row to the top one; it
    // carries its lock.
    Move(100, 200, 700, 25);

    // A second layer, with a tile marked and deleted and one added by Insert.
    Key(KeyPageUp);
    ASSERT_EQ(board.editor->EditedLayer(), 1);
    Click(400, 300);
    Click(600, 300);
    Click(220, 450);
    Click(600, 300, -1);
    ASSERT_NE(board.editor->Mark(), nullptr);
    Key(KeyDelete);
    EXPECT_EQ(board.editor->Mark(), nullptr);
    panel.MouseMove(PX(760), PY(475));
    Key(KeyInsert);
    Type(400, 300, 'd'); // item 2

    Keys(KeyNumpad6, 2);
    Key(KeyNumpad2);
    ASSERT_EQ(F().level.shiftX, 2);
    ASSERT_EQ(F().level.shiftY, 1);

    ASSERT_TRUE(Save("built.xml"));
    EXPECT_EQ(panelHost.fileNameQuestions.back(), "Save Level|level.xml");
    EXPECT_EQ(F().mode, PlayMode::Editor);

    LevelFile file;
    ASSERT_TRUE(file.Read("built.xml"));
    EXPECT_EQ(file.shiftX, 2);
    EXPECT_EQ(file.shiftY, 1);
    ASSERT_EQ(file.layers.size(), F().layers.size());
    const int expectedCounts[] = {5, 3};
    for (size_t l = 0; l < file.layers.size(); ++l) {
        ASSERT_EQ(file.layers[l].size(), F().layers[l].size()) << "layer " << l;
        EXPECT_EQ(static_cast<int>(F().layers[l].size()), expectedCounts[l]);
        // The editor's list is in the order the reader builds.
        for (size_t i = 0; i < file.layers[l].size(); ++i) {
            const LevelTile& t = file.layers[l][i];
            const DominoFish& f = *F().layers[l][i];
            SCOPED_TRACE("layer " + std::to_string(l) + " tile " + std::to_string(i));
            EXPECT_EQ(t.x, f.x);
            EXPECT_EQ(t.y, f.y);
            EXPECT_EQ(t.lockType, f.lockType);
            EXPECT_EQ(t.itemType, f.itemType);
            EXPECT_EQ(t.orientation, 3);
        }
    }
    // The first tile of the file: the moved one, top row, rightmost.
    EXPECT_EQ(file.layers[0][0].x, 702);
    EXPECT_EQ(file.layers[0][0].lockType, 2);
    EXPECT_EQ(file.layers[0][1].x, 42); // the tile clicked at cell (40, 25)
    EXPECT_EQ(file.layers[0][1].lockType, -1);

    // Back to play: every tile counts, and the lower layer is no longer all shut.
    Key(KeyF8);
    EXPECT_EQ(F().mode, PlayMode::Drag);
    EXPECT_EQ(F().FishCount(), 8);
    EXPECT_TRUE(F().layers[0][1]->open);
}

TEST_F(LevelEditorTest, LayersShiftsAndTheGridStayWithinWhatAFileHolds)
{
    Key(KeyF8);
    Key(KeyPageDown);
    EXPECT_EQ(board.editor->EditedLayer(), 0);
    Click(200, 200);
    Key(KeyPageUp);
    EXPECT_EQ(F().layers.size(), 2u);
    EXPECT_EQ(board.editor->EditedLayer(), 1);
    EXPECT_FALSE(F().layers[0][0]->open);
    Click(300, 300);

    Keys(KeyNumpad6, 3);
    Key(KeyNumpad8);
    EXPECT_EQ(F().layers[0][0]->x, 203);
    Key(KeyNumpad5);
    EXPECT_EQ(F().level.shiftX, 0);
    EXPECT_EQ(F().level.shiftY, 0);
    EXPECT_EQ(F().layers[0][0]->x, 200);
    EXPECT_EQ(F().layers[0][0]->y, 200);
    EXPECT_EQ(F().layers[1][0]->x, 300);

    // Dragged far off the board: the tile stops at the grid's last cell.
    panel.MouseMove(PX(300), PY(300));
    panel.MouseDown(PX(300), PY(300), -1);
    panel.MouseDrag(5000, 5000);
    panel.MouseUp(5000, 5000, -1);
    EXPECT_EQ(F().layers[1][0]->x, LevelEditor::kMaxCursorX);
    EXPECT_EQ(F().layers[1][0]->y, LevelEditor::kMaxCursorY);
    ASSERT_TRUE(Save("edge.xml"));
    LevelFile file;
    ASSERT_TRUE(file.Read("edge.xml"));
    ASSERT_EQ(file.layers.size(), 2u);
    ASSERT_EQ(file.layers[1].size(), 1u);
    EXPECT_EQ(file.layers[1][0].x, LevelEditor::kMaxCursorX);
    EXPECT_EQ(file.layers[1][0].y, LevelEditor::kMaxCursorY);

    // F5 starts the next level under the editor; here it has no file, so
    // the board is left without layers, and editing goes on safely.
    Key(KeyF5);
    ASSERT_EQ(F().mode, PlayMode::Editor);
    Click(100, 100);
    ASSERT_EQ(F().layers.size(), 1u);
    EXPECT_EQ(F().layers[0].size(), 1u);
}

TEST_F(LevelEditorTest, DeletedMarkedTileLeavesNoMarkAndUnsafeNamesAreRefused)
{
    Key(KeyF8);
    Click(200, 200);
    Click(400, 200);
    Click(200, 200, -1);
    ASSERT_EQ(board.editor->Mark(), F().layers[0][1].get());
    // Deleting the tile that sits before the mark keeps the mark on its tile.
    Click(400, 200);
    ASSERT_EQ(board.editor->MarkIndex(), 0);
    ASSERT_EQ(board.editor->Mark(), F().layers[0][0].get());
    Click(200, 200); // the marked tile itself
    EXPECT_EQ(board.editor->Mark(), nullptr);
    Key(KeyDelete);
    EXPECT_TRUE(F().layers[0].empty());

    std::filesystem::create_directory(dir / "sub");
    for (const char* name : {"../escape.xml", "sub/level.xml", "..", "a\\b.xml"}) {
        board.editor->message.clear();
        Save(name);
        EXPECT_NE(board.editor->message.find("Not saved"), std::string::npos) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "sub" / "level.xml"));
    EXPECT_FALSE(std::filesystem::exists(dir.parent_path() / "escape.xml"));
    // Longer than any fixed-size name buffer.
    std::string longName(120, 'n');
    EXPECT_TRUE(Save(longName + ".xml"));
}

} // namespace Zorvin

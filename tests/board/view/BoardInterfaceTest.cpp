// The board panel driven as a person drives it: every operation is a mouse
// event or button click sent to BoardInterface, the moves chosen by the
// headless player.

#include "framework/core/KeyCodes.h"
#include "game/board/view/BoardInterface.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include <gtest/gtest.h>

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/board/headless/AutoPlayer.h"
#include "game/board/headless/HeadlessHost.h"
#include "game/board/view/Board.h"
#include "game/board/view/HeadlessPanelHost.h"
#include "game/board/view/PanelPointer.h"
#include "game/shared/Res.h"
#include "tests/framework/font/TestFont.h"

using namespace Zorvin;

namespace {

const std::string kLevel = std::string(KORVELT_TEST_DATA) + "/levels/tricky-formatting.xml";

// A level on the real board and panel, run by a headless host.
struct Scene {
    explicit Scene(PlayMode mode, unsigned seed, const std::string& level = kLevel)
    {
        srand(seed);
        host.profile.levelMode0 = host.profile.levelMode2 = 2;
        host.onUpdate = [this] { board.Update(); };
        panelHost.panel = &panel;
        board.StartLevelFile(mode, 2, level);
        // No random bonuses: every put then scores exactly 20 x the multiplier.
        board.field->SetBonusPeriod(1 << 30);
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

// Random opaque pixels for every picture the board and its backdrop draw, so
// that any tile, cel, item or bar drawn a pixel off shows; multi-cel strips
// where the game animates cels. Put back to none at the end.
class NoiseArt {
public:
    NoiseArt()
    {
        srand(11);
        for (Image** id : {&IMAGE_FISH_L, &IMAGE_FISH_L2, &IMAGE_FISH_L3, &IMAGE_FISH_OVER, &IMAGE_FISH_OVER2,
                           &IMAGE_FISH_OVER3, &IMAGE_FISH_BACK, &IMAGE_FISH_BACK2, &IMAGE_FISH_BACK3,
                           &IMAGE_FISH_JOKER, &IMAGE_FISH_JOKER_BACK})
            Make(id, 88, 58, 1);
        for (Image** id : {&IMAGE_FISH_ROTATE, &IMAGE_FISH_ROTATE2, &IMAGE_FISH_ROTATE3, &IMAGE_FISH_JOKER_ROTATE})
            Make(id, 94, 84, 12);
        for (Image** id : {&IMAGE_KEY_ANIM, &IMAGE_PYRAMID_ANIM, &IMAGE_SPHERE_ANIM, &IM_BONUS_STAR})
            Make(id, 20, 20, 8);
        for (Image** id : {&IMAGE_TYP0, &IMAGE_TYP1, &IMAGE_TYP2, &IMAGE_TYP3, &IMAGE_TYP4, &IMAGE_TYP5,
                           &IMAGE_FISH_LOCK0, &IMAGE_FISH_LOCK1, &IMAGE_FISH_LOCK2})
            Make(id, 30, 40, 1);
        for (Image** id : {&IMAGE_PLAYLINE, &IMAGE_PANEL_LINE, &IMAGE_PANEL_LINE_LAG, &IMAGE_PANEL_LINE_OSS,
                           &IMAGE_DECK_PLACE, &IMAGE_CROP_DECK, &IMAGE_NO_CROPS, &IMAGE_ROCK_PLACE,
                           &IMAGE_FISH_BORDER})
            Make(id, 110, 70, 1);
        Make(&IMAGE_COMBO_METER, 34, 204, 1);
        Make(&IMAGE_COMBO_METER_ON, 32, 202, 1);
        Make(&IMAGE_COMBO_METER_LABELS, 10, 204, 1);
        Make(&IMAGE_PANEL, 800, 80, 1);
        Make(&IMAGE_PANEL_UP, 800, 30, 1);
        FONT_DEFAULT = &font;
    }
    ~NoiseArt()
    {
        for (Image** id : ids)
            *id = nullptr;
        FONT_DEFAULT = nullptr;
    }

private:
    // Marks each character by its code, so a changed figure of the same
    // length shows too.
    struct DigitFont : Zorvin::Testing::TestFont {
        void DrawString(Graphics* g, int x, int y, const std::string& text, const Color&, const Rect&) override
        {
            for (char c : text) {
                g->SetColor(Color(static_cast<uint8_t>(c), 0, 0));
                g->FillRect(x, y - 8, 1, 8);
                x += CharWidth(c);
            }
        }
    };
    void Make(Image** id, int celWidth, int height, int cels)
    {
        auto image = std::make_unique<MemoryImage>(celWidth * cels, height);
        uint32_t* px = image->GetBits();
        for (int i = 0; i < celWidth * cels * height; ++i)
            px[i] = 0xFF000000u | static_cast<uint32_t>(rand() & 0xFFFFFF);
        image->BitsChanged();
        image->CommitBits();
        image->numCols = cels;
        *id = image.get();
        ids.push_back(id);
        images.push_back(std::move(image));
    }
    std::vector<Image**> ids;
    std::vector<std::unique_ptr<MemoryImage>> images;
    DigitFont font;
};

// A see-through widget on top of everything that draws nothing and adds up
// the screen pixels each frame repainted, as the clips it is drawn through.
struct RepaintProbe : Widget {
    explicit RepaintProbe(const Image* watched) : screen(watched)
    {
        Resize(0, 0, 800, 600);
        hasTransparencies = true;
        mouseVisible = false;
    }
    void Draw(Graphics* g) override
    {
        if (g->GetDestImage() != screen)
            return;
        const Rect& r = g->GetClipRect();
        pixels += static_cast<long long>(r.width) * r.height;
    }
    const Image* screen;
    long long pixels = 0;
};

} // namespace

// The board and its panel repaint only after an update that changed their
// picture, and every frame they leave on the screen is the one a repaint of
// everything would have drawn: through deals, glides, flips, a bobbing key,
// bonus glitter and popups, the draining meter, and a long idle stretch.
// Standing still, the items' cels and bob repaint only their rectangles, so
// a rectangle too small or a widget left out of it shows as a mismatch.
TEST(BoardInterface, RepaintsOnlyOnChangeAndEveryFrameMatchesAFullRepaint)
{
    NoiseArt art;
    // Open tiles carrying all three items, a lock, and tiles that turn over.
    auto level = std::filesystem::temp_directory_path() / ("repaint_" + std::to_string(::getpid()) + ".xml");
    std::ofstream(level) << "<Level Typs=\"1,2,3\" CardsInDeck=\"8\"><Layers><Layer><l></l>"
                            "<l>[K0]....[==]....[K1]....[==]....[==]</l><l></l><l></l>"
                            "<l>[==]....[L0]....[==]....[K2]....[==]</l></Layer>"
                            "<Layer><l></l><l>....[==]....[==]</l></Layer></Layers></Level>";
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        Scene s(mode, 4, level.string());
        s.board.field->SetBonusPeriod(40);
        MemoryImage screen(800, 600), full(800, 600);
        WidgetManager wm(nullptr);
        wm.ResizeRoot(800, 600);
        wm.image = &screen;
        wm.AddChild(&s.panel);
        wm.AddChild(&s.board);
        RepaintProbe probe(&screen);
        wm.AddChild(&probe);
        int updates = 0, frames = 0, smallFrames = 0, mismatches = 0;
        s.host.onUpdate = [&] {
            wm.UpdateWidgets();
            ++updates;
            long long before = probe.pixels;
            if (wm.DrawDirtyWidgets()) {
                ++frames;
                smallFrames += probe.pixels - before < 800 * 600 / 10;
            }
            wm.image = &full;
            wm.MarkTreeDirty();
            wm.DrawDirtyWidgets();
            wm.image = &screen;
            if (std::memcmp(screen.GetBits(), full.GetBits(), 800 * 600 * 4) != 0 && ++mismatches <= 3)
                ADD_FAILURE() << "mode " << StoredMode(mode) << ": the screen differs from a full repaint after update "
                              << s.host.updates;
        };
        PanelPointer pointer(s.board, s.panel);
        s.Play(6, pointer);
        EXPECT_GE(pointer.puts, 6) << "mode " << StoredMode(mode);
        EXPECT_GT(s.board.comboMeter->level, 0) << "mode " << StoredMode(mode);
        EXPECT_GT(frames, updates / 4) << "mode " << StoredMode(mode);
        // Standing still once the last popups are gone: only the bobbing
        // key, its cels, the meter's slow fall and the idle hint show.
        s.board.field->SetBonusPeriod(1 << 30);
        s.Ticks(300);
        int playUpdates = updates, playFrames = frames;
        int playSmallFrames = smallFrames;
        s.Ticks(400);
        EXPECT_LT(frames - playFrames, (updates - playUpdates) / 2) << "mode " << StoredMode(mode);
        // The key's cels and bob (a frame every 4 updates) repaint less than
        // a tenth of the screen; the idle hint's pulse repaints the board.
        EXPECT_GT(smallFrames - playSmallFrames, (frames - playFrames) / 3) << "mode " << StoredMode(mode);
        EXPECT_EQ(mismatches, 0) << "mode " << StoredMode(mode);
        wm.RemoveChild(&probe);
        wm.RemoveChild(&s.board);
        wm.RemoveChild(&s.panel);
    }
    std::filesystem::remove(level);
}

TEST(BoardInterface, PlayedToAWinWithTheMouseInBothModes)
{
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        bool won = false;
        for (unsigned seed = 1; seed <= 6 && !won; ++seed) {
            Scene s(mode, seed);
            PanelPointer pointer(s.board, s.panel);
            int deckPuts = 0, scored = 0;
            pointer.onPut = [&](int before) {
                FishField& f = *s.board.field;
                int points = 20 * s.board.comboMeter->Multiplier();
                EXPECT_EQ(f.Score() - before, points) << "mode " << StoredMode(mode) << " put " << pointer.puts;
                EXPECT_EQ(f.LastPut().lastPoints, points);
                scored += points;
                bool fromDeck = f.LastPut().source == PutSource::Deck;
                deckPuts += fromDeck;
                // Undo takes back a put, except a click-mode draw from the deck.
                EXPECT_EQ(s.panel.undoButton->disabled, mode == PlayMode::Click && fromDeck)
                    << "mode " << StoredMode(mode) << " put " << pointer.puts;
            };
            s.Play(1000, pointer);
            won = s.host.levelWon;
            if (won) {
                EXPECT_EQ(s.board.field->CountFish(), 0);
                EXPECT_EQ(s.board.field->Score(), scored);
                if (mode == PlayMode::Click) {
                    EXPECT_GT(deckPuts, 0) << "the deck was never used; its put went unchecked";
                }
            }
        }
        EXPECT_TRUE(won) << "mode " << StoredMode(mode);
    }
}

TEST(BoardInterface, UndoPressedTwiceTakesBackOnlyTheLastPut)
{
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        Scene s(mode, 3);
        PanelPointer pointer(s.board, s.panel);
        // Two puts, the last one from the field, so undo is enabled.
        for (int i = 0; i < 20 && (pointer.puts < 2 || s.board.field->LastPut().source != PutSource::Field); ++i)
            s.Play(1, pointer);
        ASSERT_FALSE(s.panel.undoButton->disabled) << "mode " << StoredMode(mode);
        int onField = s.board.field->CountFish();
        size_t onLine = s.board.playLine->fish.size();
        s.panel.OnButtonClick(BoardInterface::kUndoButton);
        s.panel.OnButtonClick(BoardInterface::kUndoButton);
        s.Ticks(100);
        EXPECT_EQ(s.board.field->CountFish(), onField + 1) << "mode " << StoredMode(mode);
        EXPECT_EQ(s.board.playLine->fish.size(), onLine - 1) << "mode " << StoredMode(mode);
        EXPECT_TRUE(s.panel.undoButton->disabled);
    }
}

TEST(BoardInterface, EscapeOpensTheMenuAndDeveloperKeysNeedTheSwitch)
{
    Scene s(PlayMode::Drag, 1);
    s.board.field->TakeCounters(555, s.board.field->ShufflesLeft());
    for (int key : {KeyF4, KeyF5, KeyF8, KeyEscape})
        s.panel.KeyDown(key);
    EXPECT_EQ(s.panelHost.menusOpened, 1);
    EXPECT_TRUE(s.panelHost.mapLevels.empty());
    EXPECT_EQ(s.host.profile.scoreMode0, 0);
    EXPECT_FALSE(s.board.editor->Active());

    s.panelHost.debugKeys = true;
    s.panel.KeyDown(KeyF4);
    EXPECT_EQ(s.panelHost.mapLevels, std::vector<int>{2});
    // F5 counts the level as won with its score and starts the next one.
    s.panel.KeyDown(KeyF5);
    EXPECT_EQ(s.host.profile.scoreMode0, 555);
    s.panel.KeyDown(KeyF8);
    EXPECT_TRUE(s.board.editor->Active());
}

namespace {

// A player with only the keyboard: it walks the focus with the arrows to a
// tile that fits (or a place's top, or the deck) and takes it with Enter,
// choosing the end with Left/Right in drag mode. Returns false when the
// focus could not be walked to the tile it wanted.
bool KeyboardMove(Scene& s)
{
    BoardRules& rules = *s.board.rules;
    PlayLine& line = *rules.playLine;
    auto fits = [&](const DominoFish* f) {
        if (s.board.field->mode == PlayMode::Click)
            return f->playable;
        return line.EndAccepts(*f, -1) || line.EndAccepts(*f, 1);
    };
    BoardKeys::Target goal;
    rules.keys->Reset();
    s.panel.KeyDown(KeyArrowDown); // shows the focus
    for (int pass = 0; pass < 2 && goal.kind == BoardKeys::Kind::None; ++pass) {
        auto consider = [&](const BoardKeys::Target& t) {
            if (goal.kind == BoardKeys::Kind::None && t.fish && fits(t.fish) && !t.fish->IsGliding())
                goal = t;
        };
        for (int l = 0; l < static_cast<int>(s.board.field->layers.size()); ++l)
            for (auto& f : s.board.field->layers[l])
                if (f->open && pass == 0)
                    consider({BoardKeys::Kind::Tile, f.get(), l, 0, Rect(f->left, f->top, f->width, f->height)});
        if (pass == 1 && s.board.field->mode == PlayMode::Drag)
            for (auto& p : s.board.deck->places)
                if (!p.empty() && p.back()->open)
                    consider({BoardKeys::Kind::Place, p.back().get(), 0, 0,
                              Rect(p.back()->left, p.back()->top, 80, 50)});
    }
    if (goal.kind == BoardKeys::Kind::None) {
        s.panel.KeyDown('D');
        return true;
    }
    for (int step = 0; step < 60; ++step) {
        BoardKeys::Target at = rules.keys->Focused();
        if (at.fish == goal.fish) {
            s.panel.KeyDown(KeyEnter);
            if (s.board.field->mode == PlayMode::Drag) {
                if (!rules.keys->ChosenSideFits())
                    s.panel.KeyDown(rules.keys->ChosenSide() > 0 ? KeyArrowLeft : KeyArrowRight);
                s.panel.KeyDown(KeySpace);
            }
            return true;
        }
        int dx = (goal.area.x + goal.area.width / 2) - (at.area.x + at.area.width / 2);
        int dy = (goal.area.y + goal.area.height / 2) - (at.area.y + at.area.height / 2);
        bool horizontal = std::abs(dx) * 2 > std::abs(dy) ? step % 7 != 6 : step % 7 == 6;
        if (horizontal)
            s.panel.KeyDown(dx < 0 ? KeyArrowLeft : KeyArrowRight);
        else
            s.panel.KeyDown(dy < 0 ? KeyArrowUp : KeyArrowDown);
    }
    return false;
}

} // namespace

// The whole level from the keyboard: arrows walk the focus to every tile the
// player needs, Enter and Space take it, Left/Right pick the end, D the
// deck; Backspace and Ctrl+Z undo, and Escape puts a picked tile down before
// it opens the menu.
TEST(BoardInterface, PlayedToAWinWithTheKeyboardOnlyInBothModes)
{
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        bool won = false;
        for (unsigned seed = 1; seed <= 6 && !won; ++seed) {
            Scene s(mode, seed);
            s.board.field->ResetIdle();
            int stuck = 0;
            for (int moves = 0; moves < 400 && !s.host.levelWon && !s.host.gameOver; ++moves) {
                int before = s.board.field->CountFish();
                if (!KeyboardMove(s))
                    ++stuck;
                s.Ticks(70);
                if (moves == 0 && s.board.field->CountFish() == before - 1 && !s.panel.undoButton->disabled) {
                    s.panelHost.heldKeys = {KeyControl};
                    s.panel.KeyDown('Z');
                    s.panelHost.heldKeys.clear();
                    s.Ticks(70);
                    EXPECT_EQ(s.board.field->CountFish(), before) << "Ctrl+Z takes the put back";
                }
            }
            EXPECT_EQ(stuck, 0) << "mode " << StoredMode(mode) << " seed " << seed;
            won = s.host.levelWon;
        }
        EXPECT_TRUE(won) << "mode " << StoredMode(mode);
    }

    Scene s(PlayMode::Drag, 2);
    BoardKeys& keys = *s.board.rules->keys;
    s.panel.KeyDown(KeyArrowLeft);
    for (int i = 0; i < 40 && !(keys.Focused().fish && keys.Focused().fish->playable); ++i)
        s.panel.KeyDown(i % 10 < 5 ? KeyArrowRight : KeyArrowDown);
    ASSERT_TRUE(keys.Focused().fish && keys.Focused().fish->playable);
    s.panel.KeyDown(KeyEnter);
    EXPECT_TRUE(keys.Picked());
    s.panel.KeyDown(KeyEscape);
    EXPECT_FALSE(keys.Picked());
    EXPECT_EQ(s.panelHost.menusOpened, 0);
    s.panel.KeyDown(KeyEscape);
    EXPECT_EQ(s.panelHost.menusOpened, 1);
    // Ctrl+Alt+D is the developer switch, not the deck.
    int deck = static_cast<int>(s.board.deck->fish.size());
    s.panelHost.heldKeys = {KeyControl, KeyAlt};
    s.panel.KeyDown('D');
    EXPECT_EQ(static_cast<int>(s.board.deck->fish.size()), deck);
}

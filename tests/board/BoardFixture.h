#pragma once

// Shared set-up of the board rule tests: a fake host running a BoardRules,
// small in-memory layouts, and the mouse gestures a player makes.

#include <cstdlib>

#include <gtest/gtest.h>

#include "game/board/BoardRules.h"
#include "game/shared/Res.h"
#include "tests/board/FakeBoardHost.h"

namespace Zorvin {

class BoardFixture : public ::testing::Test {
protected:
    BoardFixture() : rules(host)
    {
        host.onUpdate = [this] { rules.Update(); };
        // Distinct ids, so the recorded sounds can be told apart.
        int id = 1;
        for (int* s : {&SOUND_CLICK, &SOUND_PUT, &SOUND_PUT_X2, &SOUND_PUT_X3, &SOUND_PUT_X4, &SOUND_FLIP,
                       &SOUND_BONUS, &SOUND_BONUS_APPEAR, &SOUND_USE_KEY, &SOUND_LEVEL_START,
                       &SOUND_LEVEL_COMPLETE, &SOUND_LEVEL_FAILED, &SOUND_SCROLL, &SOUND_STAGE})
            *s = id++;
        srand(7);
        // Past level 1, so the first-level hints stay out of the way.
        host.profile.levelMode0 = 2;
        host.profile.levelMode2 = 2;
    }

    FishField& F() { return *rules.field; }
    PlayLine& Line() { return *rules.playLine; }
    Deck& D() { return *rules.deck; }

    // Adds a tile to layer `layer` (creating layers up to it) the way the
    // level reader does.
    DominoFish* Add(int layer, int x, int y, int orientation = 3)
    {
        while (static_cast<int>(F().layers.size()) <= layer)
            F().layers.emplace_back();
        F().layers[layer].push_back(std::make_unique<DominoFish>(x, y, orientation, layer, &F()));
        F().RecountFish();
        return F().layers[layer].back().get();
    }

    // Deals the layers built with Add, as a level start does after reading.
    void Deal(PlayMode mode = PlayMode::Drag, int level = 2)
    {
        F().mode = mode;
        F().level.number = level;
        F().DealLevel();
        D().placeCount = host.profile.placeCount;
        D().Fill(0);
        D().CountMoves();
    }

    // Gives a tile fixed values and recomputes what depends on them.
    void SetValues(DominoFish* f, int a, int b)
    {
        f->valueA = a;
        f->valueB = b;
    }
    void SetLine(int left, int right)
    {
        Line().ResetLine(left, right);
        Line().First()->SetPosition(358, 565);
        Line().Last()->SetPosition(440, 565);
        host.Ticks(1);
        F().RecomputeOpen();
        F().RecomputePlayable();
        D().CountMoves();
    }

    // Screen point of a tile's picture centre (its logical centre shifted by its layer).
    static int ScreenX(const DominoFish* f) { return f->x + 7 * f->layer; }
    static int ScreenY(const DominoFish* f) { return f->y - 7 * f->layer; }

    // Drag mode: hover, press, drag to (tx, ty) in a few steps, release.
    void DragTo(DominoFish* f, int tx, int ty, bool release = true)
    {
        int sx = ScreenX(f), sy = ScreenY(f);
        rules.MouseMove(sx, sy);
        ASSERT_EQ(F().drag.Hovered(), f);
        rules.MouseDown(1, sx, sy);
        for (int i = 1; i <= 4; ++i)
            rules.MouseDrag(sx + (tx - sx) * i / 4, sy + (ty - sy) * i / 4);
        if (release)
            rules.MouseUp(1, tx, ty);
    }
    // Drag-mode join points of the line's two ends.
    int LeftJoinX() { return Line().First()->x - 80; }
    int RightJoinX() { return Line().Last()->x + 80; }

    // Click mode: hover and click.
    void Click(DominoFish* f, int clickCode = 1)
    {
        int sx = ScreenX(f), sy = ScreenY(f);
        rules.MouseMove(sx, sy);
        rules.MouseDown(clickCode, sx, sy);
        rules.MouseUp(clickCode, sx, sy);
    }

    FakeBoardHost host;
    BoardRules rules;
};

} // namespace Zorvin

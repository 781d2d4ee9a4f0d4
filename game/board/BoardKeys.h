#pragma once

// BoardKeys: a level played from the keyboard. It keeps a focus on one of
// the things a player can take or click (an open tile of the field, the top
// tile of a deck place, the deck itself), moves it with the arrows to the
// nearest one in that direction, and acts on it through the board's own
// mouse rules, so a key does exactly what the mouse would: in click mode
// the focused tile is clicked; in drag mode it is picked first, Left and
// Right then choose the end of the line it goes to, and a second Enter
// drags it there (Escape puts it down again). The deck is clicked the same
// way. BoardRules owns one; the board view draws the focus and the chosen
// end from what it reports.

#include <vector>

#include "framework/core/Rect.h"

namespace Zorvin {

class BoardRules;
class DominoFish;

class BoardKeys {
public:
    enum class Kind { None, Tile, Place, Deck };
    // Something the focus can rest on: its kind, the tile (none for the
    // deck), the layer or place it lies in and its index there, and the
    // rectangle it is drawn in.
    struct Target {
        Kind kind = Kind::None;
        DominoFish* fish = nullptr;
        int group = -1;
        int index = -1;
        Rect area;
    };

    explicit BoardKeys(BoardRules& rules);

    // Arrow keys, Enter and Space, Escape (only while a tile is picked):
    // true when the key was used. `dx`, `dy` give an arrow's direction.
    void Move(int dx, int dy);
    bool Activate();
    bool Cancel();
    // The deck's own key: clicks the deck as the mouse does.
    void ClickDeck();
    // The hint key: the focus shows on the hinted tile (when there is one),
    // so Enter takes it.
    void FocusHint();
    // The pointer moved: the focus hides until the next key.
    void HideFocus() { shown = false; }
    // A new level or deal: nothing is focused or picked.
    void Reset();

    // What the view draws: the focused target (kind None when hidden or
    // nothing is there), whether it is picked, and the end of the line a
    // picked tile goes to (-1 left, 1 right) and whether it fits there.
    Target Focused();
    bool Picked() { return picked && Focused().kind != Kind::None; }
    int ChosenSide() const { return side; }
    bool ChosenSideFits();

    // Every target there is now, in drawing order: field tiles from the
    // bottom layer up, then the tops of the places, then the deck.
    std::vector<Target> Targets() const;

private:
    template <typename F> void ForEachTarget(F&& visit) const;
    // The focused target as it is now; when its tile left (put, closed),
    // the target nearest to where it was.
    Target Resolve();
    void PutPicked(const Target& t);
    void ClickTile(const Target& t);
    // Forgets any tile the pointer hovers, so the rules act on ours.
    void ClearHovers();
    // Whether a key may act now (no level starting, no deal, no mouse drag).
    bool Ready() const;

    BoardRules& rules;
    Target focus;
    int lastX = 0, lastY = 0;
    bool shown = false;
    bool picked = false;
    int side = 1;
};

} // namespace Zorvin

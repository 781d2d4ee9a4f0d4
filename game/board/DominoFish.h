#pragma once

// DominoFish: one tile ("fish") anywhere on the board: in a layer of the
// field, on the play line, in the deck or on a deck place. It holds its
// geometry and runs its own small animations (glide, half turn, flip, pulse,
// bonus glitter, bobbing item); the rules that decide when it is open,
// playable or moved live in FishField, PlayLine and Deck, which call the
// operations here. Whoever holds the tile in a list owns it.

#include <vector>

#include "framework/graphics/Image.h"
#include "game/board/BaseFish.h"

namespace Zorvin {

class FishField;

// Cel count of an image that may not be loaded (tests, headless play): a
// missing image counts as a single cel.
inline int CelCountOf(const Image* image) { return image ? image->GetCelCount() : 1; }

// One glitter star of a carried bonus: offsets within the tile and the cel of
// IM_BONUS_STAR.
struct Sparkle {
    int x = 0;
    int y = 0;
    int cel = 0;
};

class DominoFish : public BaseFish {
public:
    // Value of both halves of a joker.
    static constexpr int kJoker = 100;
    // Each layer is drawn this many pixels right of and above the one below.
    static constexpr int kLayerShift = 7;

    DominoFish(int x, int y, int orientation, int layer, FishField* field);

    void Update() override;

    // Stores the orientation and recomputes size and drawn rectangle.
    void SetOrientation(int o);
    // Moves the tile at once; its arrival step runs on the next update.
    void SetPosition(int px, int py);
    // Glides to (tx, ty) in n updates, ending on the drawn place of layer
    // `shift`; with `clip` the drawing is clipped to that rectangle meanwhile.
    void GlideTo(int shift, const int* clip, int tx, int ty, int n);
    // Starts a half turn: direction 1 forward (angle grows), 2 backward.
    void StartTurn(int direction, float step);
    void StartFlip(Image* image, bool backward);
    void StartPulse();
    void MakeJoker(bool on);
    void DragTo(int px, int py);
    // True, and hover set, when the pointer is on an open tile.
    bool HitTest(int px, int py);
    // The lying-size box around the logical centre, whatever the orientation.
    bool CoversPoint(int px, int py) const;
    float DistanceFromDrag(int px, int py) const;
    int LeftValue() const;
    int RightValue() const;
    // Puts a random bonus with two glitter stars on the tile.
    void GiveBonus();

    bool IsGliding() const { return glideFrames > 0; }
    bool IsTurning() const { return rotation != 0; }
    // A value of either half, ignoring the joker flag.
    bool HasHalf(int v) const { return valueA == v || valueB == v; }

    int x = 0, y = 0;
    int targetX = 0, targetY = 0;
    int dragX = 0, dragY = 0;
    int rotation = 0;
    bool playable = false;
    bool bounceOnArrival = false;
    bool refreshOnArrival = false;
    bool settled = true;
    bool returning = false;
    int lockType = -1;
    int itemType = -1;
    bool visible = true;
    int left = 0, top = 0;
    int style = 0;
    bool toPlayLine = false;
    int overlapPartner = -1;
    int valueA = 0, valueB = 0;
    int orientation = 3;
    float posX = 0, posY = 0;
    float stepX = 0, stepY = 0;
    int width = 80, height = 50;
    bool hover = false;
    bool dragged = false;
    int layer = 0;
    bool open = false;
    bool wasOpen = false;
    int glideFrames = 0;
    float angle = 0;
    float angleStep = 0;
    int halfOffsets[4] = {0, 0, 0, 0};
    bool pulsing = false;
    float pulseOffset = 0;
    int pulseAmplitude = 0;
    int pulseRepeats = 0;
    bool pulseRising = false;
    bool flipping = false;
    int flipCel = 0;
    int flipDelay = 4;
    int flipCounter = 0;
    Image* flipImage = nullptr;
    bool flipBackward = false;
    int itemCel = 0;
    bool joker = false;
    FishField* field = nullptr;
    bool clipWhileGliding = false;
    int clipRect[4] = {0, 0, 0, 0};
    int alpha = 255;
    int bonusType = 0;
    int bonusLife = 0;
    std::vector<Sparkle> sparkles;
    bool overlapLeft = false;

private:
    void Arrive();
    void EndTurn();
    void UpdateHalfOffsets();

    // Angle and orientation the half offsets were last computed for, so an
    // idle tile skips the trigonometry.
    float offsetsAngle = -1000;
    int offsetsOrientation = -1;
};

} // namespace Zorvin

#include "game/board/DominoFish.h"

#include <cmath>
#include <cstdlib>

#include "game/board/BoardHost.h"
#include "game/board/FishField.h"
#include "game/board/PlayLine.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {
constexpr float kHalfTurn = 3.1415927f;
}

DominoFish::DominoFish(int x, int y, int orientation, int layer, FishField* field)
    : x(x), y(y), targetX(x), targetY(y), orientation(orientation), layer(layer), field(field)
{
    SetOrientation(orientation);
    GlideTo(0, nullptr, x, y, 1);
    posX = static_cast<float>(x);
    posY = static_cast<float>(y);
}

void DominoFish::SetOrientation(int o)
{
    orientation = o;
    if (o >= 0 && o <= 3) {
        bool lying = (o & 1) != 0;
        width = lying ? 80 : 40;
        height = lying ? 50 : 100;
        left = x - width / 2;
        top = y - height / 2;
    }
    left += kLayerShift * layer;
    top -= kLayerShift * layer;
}

void DominoFish::SetPosition(int px, int py)
{
    x = px;
    y = py;
    SetOrientation(orientation);
    GlideTo(0, nullptr, px, py, 1);
    posX = static_cast<float>(px);
    posY = static_cast<float>(py);
}

void DominoFish::GlideTo(int shift, const int* clip, int tx, int ty, int n)
{
    if (n < 1)
        n = 1;
    targetX = tx;
    targetY = ty;
    glideFrames = n;
    stepX = static_cast<float>(kLayerShift * shift + tx - x) / n;
    stepY = static_cast<float>(ty - kLayerShift * shift - y) / n;
    clipWhileGliding = clip != nullptr;
    if (clip) {
        for (int i = 0; i < 4; ++i)
            clipRect[i] = clip[i];
    }
}

void DominoFish::StartTurn(int direction, float step)
{
    rotation = direction == 2 ? 2 : 1;
    angle = 0;
    angleStep = step;
}

void DominoFish::StartFlip(Image* image, bool backward)
{
    flipping = true;
    flipCel = backward ? CelCountOf(image) - 1 : 0;
    flipImage = image;
    flipDelay = 4;
    flipCounter = 0;
    flipBackward = backward;
}

void DominoFish::StartPulse()
{
    pulseOffset = 0;
    pulseAmplitude = 3;
    pulseRepeats = 2;
    pulseRising = true;
    pulsing = true;
}

void DominoFish::MakeJoker(bool on)
{
    joker = on;
    if (on) {
        valueA = kJoker;
        valueB = kJoker;
    }
}

void DominoFish::DragTo(int px, int py)
{
    pulsing = false;
    dragX = px;
    dragY = py;
    left = px - width / 2;
    top = py - height / 2;
    dragged = true;
}

bool DominoFish::HitTest(int px, int py)
{
    hover = open && left + 7 < px && px < left + width + 7 && top - 7 < py && py < top + height - 7;
    return hover;
}

bool DominoFish::CoversPoint(int px, int py) const
{
    return x - 40 <= px && px <= x + 40 && y - 25 <= py && py <= y + 25;
}

float DominoFish::DistanceFromDrag(int px, int py) const
{
    float dx = static_cast<float>(dragX - px);
    float dy = static_cast<float>(dragY - py);
    return std::sqrt(dx * dx + dy * dy);
}

int DominoFish::LeftValue() const
{
    if (joker)
        return kJoker;
    return orientation == 3 ? valueA : valueB;
}

int DominoFish::RightValue() const
{
    if (joker)
        return kJoker;
    return orientation == 1 ? valueA : valueB;
}

void DominoFish::GiveBonus()
{
    bonusLife = (rand() % 10 + 10) * 100;
    bonusType = rand() % 6 + 1;
    for (int i = 0; i < 2; ++i) {
        Sparkle s;
        s.x = rand() % 50;
        s.y = rand() % 40;
        s.cel = rand() % 5;
        sparkles.push_back(s);
    }
}

void DominoFish::Arrive()
{
    if (bounceOnArrival) {
        pulseOffset = 5;
        pulsing = true;
        pulseAmplitude = 5;
        pulseRepeats = 1;
        pulseRising = false;
        x = targetX - 5;
        y = targetY + 5;
        bounceOnArrival = false;
        if (field)
            field->MarkChanged();
    } else {
        x = targetX;
        y = targetY;
    }
    left = x + kLayerShift * layer - width / 2;
    top = y - height / 2 - kLayerShift * layer;
    clipWhileGliding = false;
    settled = true;
    returning = false;
    if (toPlayLine) {
        toPlayLine = false;
        if (field && field->playLine)
            field->playLine->Arrive(*this);
    }
    if (refreshOnArrival) {
        refreshOnArrival = false;
        if (field)
            field->MarkChanged();
    }
}

void DominoFish::EndTurn()
{
    rotation = 0;
    orientation = orientation == 3 ? 1 : 3;
    if (field)
        field->FishTurned();
}

void DominoFish::UpdateHalfOffsets()
{
    if (angle == offsetsAngle && orientation == offsetsOrientation)
        return;
    offsetsAngle = angle;
    offsetsOrientation = orientation;
    float c = std::cos(angle);
    float s = std::sin(angle);
    int cx = static_cast<int>(22 * c);
    int sy = static_cast<int>(22 * s);
    if (orientation == 3) {
        halfOffsets[0] = -cx;
        halfOffsets[1] = sy;
        halfOffsets[2] = cx;
        halfOffsets[3] = -sy;
    } else {
        halfOffsets[0] = cx;
        halfOffsets[1] = -sy;
        halfOffsets[2] = -cx;
        halfOffsets[3] = sy;
    }
}

void DominoFish::Update()
{
    // Most tiles rest most of the time: nothing below would change them.
    if (glideFrames == 0 && rotation == 0 && !pulsing && !flipping && itemType < 0 && bonusType == 0 &&
        angle == offsetsAngle && orientation == offsetsOrientation)
        return;

    // 1. Glide.
    if (glideFrames > 0) {
        posX += stepX;
        posY += stepY;
        x = static_cast<int>(posX);
        y = static_cast<int>(posY);
        left = x - width / 2;
        top = y - height / 2;
        if (--glideFrames == 0)
            Arrive();
    }

    // 2. Turn.
    if (rotation == 1) {
        angle += angleStep;
        if (angle > kHalfTurn) {
            angle = 0;
            EndTurn();
        }
    } else if (rotation == 2) {
        angle -= angleStep;
        if (angle < -kHalfTurn)
            EndTurn();
    }
    UpdateHalfOffsets();

    // 3. Pulse.
    if (pulsing) {
        if (pulseRising) {
            pulseOffset += 0.1f;
            if (pulseOffset >= pulseAmplitude)
                pulseRising = false;
        } else {
            pulseOffset -= 0.1f;
            if (pulseOffset <= 0) {
                if (--pulseRepeats <= 0)
                    pulsing = false;
                else
                    pulseRising = true;
            }
        }
    }

    // 4. Flip, and the carried item's animation.
    if (flipping) {
        ++flipCounter;
        if (flipDelay > 0 && flipCounter % flipDelay == 0) {
            if (!flipBackward) {
                if (++flipCel >= CelCountOf(flipImage))
                    flipping = false;
            } else if (--flipCel < 0) {
                flipping = false;
            }
            if (!flipping && field)
                field->MarkChanged();
        }
    }
    if (itemType < 0 && bonusType == 0)
        return;
    int updateCounter = field && field->app ? field->app->UpdateCount() : 0;
    if (itemType >= 0 && updateCounter % 4 == 0) {
        Image* itemImage = field && itemType < 3 ? field->ItemImages()[itemType] : nullptr;
        if (++itemCel >= CelCountOf(itemImage))
            itemCel = 0;
    }

    // 5. Bonus life and glitter.
    if (bonusType != 0) {
        if (--bonusLife > 0) {
            if (updateCounter % 4 == 0) {
                for (Sparkle& s : sparkles) {
                    if (++s.cel >= CelCountOf(IM_BONUS_STAR)) {
                        s.x = rand() % 50;
                        s.y = rand() % 40;
                        s.cel = 0;
                    }
                }
            }
        } else {
            bonusType = 0;
            sparkles.clear();
        }
    }
}

} // namespace Zorvin

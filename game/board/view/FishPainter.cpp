#include "game/board/view/FishPainter.h"

#include <cmath>

#include "framework/graphics/Graphics.h"
#include "game/board/BoardHost.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

constexpr float kPi = 3.1415927f;

Image* ValueImage(const std::array<Image*, FishField::kValueCount>& faces, int value)
{
    return value >= 0 && value < FishField::kValueCount ? faces[value] : nullptr;
}

// Draws `image` centred in the 40 x 50 box of one half at (boxX, boxY).
void DrawInBox(Graphics* g, Image* image, int boxX, int boxY)
{
    if (image)
        g->DrawImage(image, boxX + (40 - image->GetWidth()) / 2, boxY + (50 - image->GetHeight()) / 2);
}

// The value shown first (left, or top when standing) and second.
int FirstValue(const DominoFish& f)
{
    if (FishPainter::IsUpright(f))
        return f.orientation == 2 ? f.valueB : f.valueA;
    return f.LeftValue();
}
int SecondValue(const DominoFish& f)
{
    if (FishPainter::IsUpright(f))
        return f.orientation == 2 ? f.valueA : f.valueB;
    return f.RightValue();
}

bool ShowsInstructions(const FishField& field)
{
    if (!field.app)
        return false;
    const PlayerProfile* p = field.app->CurrentProfile();
    return p && p->showInstructions;
}

} // namespace

FishPainter::FishPainter()
{
    LoadImageTables();
}

void FishPainter::LoadImageTables()
{
    faceImages = {IMAGE_TYP0, IMAGE_TYP1, IMAGE_TYP2, IMAGE_TYP3, IMAGE_TYP4, IMAGE_TYP5, IMAGE_TYP6,
                  IMAGE_TYP7, IMAGE_TYP8, IMAGE_TYP9, IMAGE_TYP10, IMAGE_TYP11, IMAGE_TYP12, IMAGE_TYP13,
                  IMAGE_TYP14, IMAGE_TYP15, IMAGE_TYP16, IMAGE_TYP17, IMAGE_TYP18, IMAGE_TYP19, IMAGE_TYP20,
                  IMAGE_TYP21, IMAGE_TYP22, IMAGE_TYP23, IMAGE_TYP24, IMAGE_TYP25};
    plainImages = {IMAGE_FISH_L, IMAGE_FISH_L, IMAGE_FISH_L2, IMAGE_FISH_L3};
    overImages = {IMAGE_FISH_OVER, IMAGE_FISH_OVER, IMAGE_FISH_OVER2, IMAGE_FISH_OVER3};
    backImages = {IMAGE_FISH_BACK, IMAGE_FISH_BACK, IMAGE_FISH_BACK2, IMAGE_FISH_BACK3};
}

void FishPainter::Draw(Graphics* g, const FishField& field, const DominoFish& f, bool drawPartner)
{
    if (!f.visible || f.alpha < 1)
        return;
    g->PushState();
    if (f.alpha < 255) {
        g->SetColor(Color(255, 255, 255, f.alpha));
        g->SetColorizeImages(true);
    }
    if (f.IsGliding() && f.clipWhileGliding) {
        g->ClipRect(f.clipRect[0], f.clipRect[1], f.clipRect[2], f.clipRect[3]);
    } else if (f.overlapLeft && !f.dragged && f.settled) {
        // Its left part here, the rest when the partner draws it again; the
        // band is as tall as the stone (67 for a lying one).
        int bandHeight = f.height + 17;
        if (drawPartner)
            g->ClipRect(f.left, f.top - 10, 47, bandHeight);
        else
            g->ClipRect(f.left + 47, f.top - 10, 40, bandHeight);
    }
    if (f.flipping) {
        DrawFlip(g, field, f);
    } else {
        Image* face = f.joker ? IMAGE_FISH_JOKER
                      : f.hover ? overImages[f.style & 3]
                                : plainImages[f.style & 3];
        if (f.hover && !f.joker && ShowsInstructions(field))
            DrawMagnifier(g, field, f);
        if (f.open)
            DrawOpen(g, field, f, Shaped(f, face));
        else
            DrawClosed(g, field, f);
    }
    g->PopState();
    if (f.overlapPartner >= 0 && drawPartner) {
        if (const DominoFish* partner = field.FishAt(f.layer, f.overlapPartner); partner && partner != &f)
            Draw(g, field, *partner, false);
    }
}

void FishPainter::DrawOnLine(Graphics* g, const FishField& field, const DominoFish& f, bool leftEnd)
{
    if (!IsUpright(f)) {
        Draw(g, field, f, true);
        return;
    }
    if (!f.visible || f.alpha < 1)
        return;
    g->PushState();
    if (f.alpha < 255) {
        g->SetColor(Color(255, 255, 255, f.alpha));
        g->SetColorizeImages(true);
    }
    if (f.IsGliding() && f.clipWhileGliding)
        g->ClipRect(f.clipRect[0], f.clipRect[1], f.clipRect[2], f.clipRect[3]);
    // The lying stone around the same centre.
    int left = f.left + f.width / 2 - 40, top = f.top + f.height / 2 - 25;
    g->DrawImage(f.joker ? IMAGE_FISH_JOKER : plainImages[f.style & 3], left, top);
    if (!f.joker) {
        DrawInBox(g, ValueImage(faceImages, leftEnd ? f.valueB : f.valueA), left + 6, top);
        DrawInBox(g, ValueImage(faceImages, leftEnd ? f.valueA : f.valueB), left + 46, top);
    }
    g->PopState();
}

void FishPainter::DrawFlip(Graphics* g, const FishField& field, const DominoFish& f)
{
    int cels = CelCountOf(f.flipImage);
    if (IsUpright(f)) {
        // The turning strip shows a lying stone; a standing one changes face
        // half way through instead.
        bool showingFace = f.flipCel * 2 >= cels;
        if (showingFace) {
            DrawOpen(g, field, f, Shaped(f, f.joker ? IMAGE_FISH_JOKER : plainImages[f.style & 3]));
        } else {
            DrawClosed(g, field, f);
        }
        return;
    }
    g->DrawImageCel(f.flipImage, f.left - 3, f.top - 17, f.flipCel);
    if (f.joker || f.flipCel <= 6 || !(f.orientation == 1 || f.orientation == 3))
        return;
    // The values open up with the stone: stretched from nothing to full width.
    Image* leftHalf = ValueImage(faceImages, f.orientation == 3 ? f.valueA : f.valueB);
    Image* rightHalf = ValueImage(faceImages, f.orientation == 3 ? f.valueB : f.valueA);
    int grow = f.flipCel - 6;
    if (leftHalf) {
        int w = leftHalf->GetWidth(), h = leftHalf->GetHeight();
        int dx = (40 - w) / 2 + f.left + 7 + (6 - f.flipCel) * 20 / 6 + 20;
        int dy = (50 - h) / 2 + f.top + (12 - f.flipCel);
        g->DrawImage(leftHalf, Rect(dx, dy, w * grow / 6, h), Rect(0, 0, w, h));
    }
    if (rightHalf) {
        int w = rightHalf->GetWidth(), h = rightHalf->GetHeight();
        int dx = (40 - w) / 2 + f.left + 47;
        int dy = (50 - h) / 2 + f.top - (12 - f.flipCel);
        g->DrawImage(rightHalf, Rect(dx, dy, w * grow / 6, h), Rect(0, 0, w, h));
    }
}

void FishPainter::DrawMagnifier(Graphics* g, const FishField& field, const DominoFish& f)
{
    g->DrawImage(plainImages[f.style & 3], 12, 31);
    DrawInBox(g, ValueImage(faceImages, FirstValue(f)), 18, 31);
    DrawInBox(g, ValueImage(faceImages, SecondValue(f)), 58, 31);
}

void FishPainter::DrawOpen(Graphics* g, const FishField& field, const DominoFish& f, Image* face)
{
    if (f.IsTurning())
        g->DrawImageRotated(face, f.left, f.top, f.angle);
    else if (f.pulsing)
        g->DrawImageF(face, f.left + f.pulseOffset, f.top - f.pulseOffset);
    else
        g->DrawImage(face, f.left, f.top);
    if (!f.joker)
        DrawValues(g, field, f);
    if (f.itemType >= 0 && f.itemType < 3) {
        int updates = field.app ? field.app->UpdateCount() : 0;
        float bob = 3.0f * std::sin(updates * kPi / 100.0f);
        Image* item = field.ItemImages()[f.itemType];
        if (item && item->numCols > 0)
            g->DrawImageCel(item, kItemOffsets[f.itemType][0] + f.left,
                            int(kItemOffsets[f.itemType][1] + f.top + bob), f.itemCel);
    }
    if (field.mode == PlayMode::Editor && f.lockType >= 0 && f.lockType < 3)
        g->DrawImage(field.LockImages()[f.lockType], FishField::lockOffsets[f.lockType][0] + f.left,
                     FishField::lockOffsets[f.lockType][1] + f.top);
}

void FishPainter::DrawValues(Graphics* g, const FishField& field, const DominoFish& f)
{
    if (f.IsTurning()) {
        Image* a = ValueImage(faceImages, f.valueA);
        Image* b = ValueImage(faceImages, f.valueB);
        if (a)
            g->DrawImageRotated(a, f.halfOffsets[0] + f.left - a->GetWidth() / 2 + 39,
                                f.halfOffsets[1] + f.top - a->GetHeight() / 2 + 25, f.angle);
        if (b)
            g->DrawImageRotated(b, f.halfOffsets[2] + f.left - b->GetWidth() / 2 + 39,
                                f.halfOffsets[3] + f.top - b->GetHeight() / 2 + 25, f.angle);
        return;
    }
    Image* first = ValueImage(faceImages, FirstValue(f));
    Image* second = ValueImage(faceImages, SecondValue(f));
    if (IsUpright(f)) {
        // Standing: the halves one above the other in the 40 x 100 body.
        float p = f.pulsing ? f.pulseOffset : 0.0f;
        int bodyX = f.left + UprightArt::kFaceLead;
        for (int i = 0; i < 2; ++i) {
            Image* v = i == 0 ? first : second;
            if (v)
                g->DrawImageF(v, (40 - v->GetWidth()) / 2 + p + bodyX, (50 - v->GetHeight()) / 2 + f.top + 50 * i - p);
        }
        return;
    }
    if (f.orientation != 1 && f.orientation != 3)
        return;
    if (f.pulsing) {
        if (first)
            g->DrawImageF(first, (40 - first->GetWidth()) / 2 + f.pulseOffset - 1 + 7 + f.left,
                          (50 - first->GetHeight()) / 2 + f.top - f.pulseOffset);
        if (second)
            g->DrawImageF(second, (40 - second->GetWidth()) / 2 + f.pulseOffset - 1 + 7 + f.left + 40,
                          (50 - second->GetHeight()) / 2 + f.top - f.pulseOffset);
        return;
    }
    DrawInBox(g, first, f.left + 6, f.top);
    DrawInBox(g, second, f.left + 46, f.top);
}

void FishPainter::DrawClosed(Graphics* g, const FishField& field, const DominoFish& f)
{
    g->DrawImage(Shaped(f, f.joker ? IMAGE_FISH_JOKER_BACK : backImages[f.style & 3]), f.left, f.top);
    if (!f.joker && f.lockType >= 0 && f.lockType < 3)
        g->DrawImage(field.LockImages()[f.lockType], FishField::lockOffsets[f.lockType][0] + f.left,
                     FishField::lockOffsets[f.lockType][1] + f.top);
}

void FishPainter::DrawGlitter(Graphics* g, const DominoFish& f)
{
    if (f.bonusType == 0 || !IM_BONUS_STAR)
        return;
    for (const Sparkle& s : f.sparkles)
        g->DrawImageCel(IM_BONUS_STAR, f.left + s.x, f.top - s.y + 20, s.cel);
}

void FishPainter::DrawShadow(Graphics* g, const DominoFish& f, int layer)
{
    int shift = DominoFish::kLayerShift * layer;
    if (IsUpright(f))
        g->DrawImage(upright.Shadow(IMAGE_FISH_BORDER), f.x + shift - 24, f.y - shift - 54);
    else
        g->DrawImage(IMAGE_FISH_BORDER, f.x + shift - 44, f.y - shift - 29);
}

} // namespace Zorvin

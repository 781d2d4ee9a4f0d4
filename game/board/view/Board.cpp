// Board: construction and level starts, the update, and the frame.
// Sections: construction; update; the frame (field, strip, line, deck,
// meter, popups, dragged and gliding tiles); the backdrop.

#include "game/board/view/Board.h"
#include "game/board/view/LevelPreview.h"

#include <algorithm>
#include <utility>

#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "game/shared/Res.h"

namespace Zorvin {

// ---------------------------------------------------------------------------
// Construction

Board::Board(BoardHost& host) : app(host), rules(std::make_unique<BoardRules>(host))
{
    field = rules->field.get();
    playLine = rules->playLine.get();
    deck = rules->deck.get();
    comboMeter = rules->comboMeter.get();
    editor = std::make_unique<LevelEditor>(*field);
    comboMeter->meterImage = IMAGE_COMBO_METER;
    comboMeter->meterOnImage = IMAGE_COMBO_METER_ON;
    comboMeter->labelsImage = IMAGE_COMBO_METER_LABELS;
    stageMap = std::make_unique<StageMap>([this] { return field->mode; },
                                          [this](int level, Graphics& g) { RenderLevelPreview(level, *field, g); });
}

Board::~Board() = default;

void Board::StartLevel(PlayMode mode)
{
    // The image tables follow the resources bound now (the board may be
    // made before the game's resources are all in).
    field->LoadImageTables();
    painter.LoadImageTables();
    comboMeter->meterImage = IMAGE_COMBO_METER;
    comboMeter->meterOnImage = IMAGE_COMBO_METER_ON;
    comboMeter->labelsImage = IMAGE_COMBO_METER_LABELS;
    field->mode = mode;
    rules->StartLevel();
    app.SetUndoEnabled(false);
}

void Board::StartLevelFile(PlayMode mode, int number, const std::string& path)
{
    field->LoadImageTables();
    painter.LoadImageTables();
    field->mode = mode;
    field->level.number = number;
    rules->StartLevelFile(path);
    app.SetUndoEnabled(false);
}

void Board::Restart()
{
    rules->Restart();
    app.SetUndoEnabled(false);
}

// ---------------------------------------------------------------------------
// Update

void Board::Update()
{
    Widget::Update();
    rules->Update();
    BoardMarks::State shownMarks = marks;
    marks = BoardMarks::Read(*rules, app.UpdateCount());
    // The keyboard's and the hint's marks repaint the board when they move
    // or breathe, but they are no change of the board itself: the resting
    // decoration stays slowed down under a hint that comes while it is idle.
    if (!(marks == shownMarks))
        RequestRedraw();
    // The editor's cursor and grid are not part of the key: it repaints
    // every update.
    BoardSceneKey::Change change = sceneKey.Refresh(*this);
    if (change == BoardSceneKey::Change::Whole || field->mode == PlayMode::Editor) {
        RequestRedraw();
        updatesSinceWhole = 0;
        slowAreas.clear();
        return;
    }
    ++updatesSinceWhole;
    if (change == BoardSceneKey::Change::Areas) {
        const std::vector<Rect>& areas = sceneKey.ChangedAreas();
        slowAreas.insert(slowAreas.end(), areas.begin(), areas.end());
    }
    if (slowAreas.empty() ||
        (updatesSinceWhole >= kLivelyUpdates && updatesSinceWhole % kSlowRepaintUpdates != 0))
        return;
    // Only resting tiles' items and glitter moved: the screen under them is
    // repainted, panel, board and whatever lies above.
    for (const Rect& area : slowAreas)
        MarkDirty(area);
    slowAreas.clear();
}

void Board::RequestRedraw()
{
    // The panel's repaint marks the board again, so the backdrop is never
    // drawn without the tiles on it.
    if (underlay)
        underlay->MarkDirty();
    MarkDirty();
}

// ---------------------------------------------------------------------------
// The frame

void Board::Draw(Graphics* g)
{
    g->PushState();
    if (field->mode == PlayMode::Editor) {
        // The editor shows the layers up to the edited one, its cursor and
        // grid; the play line and deck stay as they were.
        editorView.Draw(g, *field, *editor, painter);
        DrawPlayStrip(g);
        g->DrawImage(IMAGE_PANEL_LINE_LAG, 348, 516);
        DrawLineDeckMeterPopups(g);
        g->PopState();
        return;
    }
    DrawField(g);
    DrawPlayStrip(g);
    g->DrawImage(IMAGE_PANEL_LINE_LAG, 348, 516);
    if (playLine->snapSide == 1) {
        // A tile being dropped at the right end passes under the line's frame.
        DrawDraggedFieldFish(g);
        DrawDraggedPlaceFish(g);
        DrawLineDeckMeterPopups(g);
    } else {
        DrawLineDeckMeterPopups(g);
        DrawDraggedFieldFish(g);
        DrawDraggedPlaceFish(g);
    }
    DrawGlidingOnTop(g);
    marks = BoardMarks::Read(*rules, app.UpdateCount());
    BoardMarks::Draw(g, marks);
    g->PopState();
}

void Board::DrawField(Graphics* g)
{
    g->ClearClipRect();
    const DominoFish* hovered = field->drag.Hovered();
    const DominoFish* skip = hovered && hovered->IsGliding() && hovered->dragged
                                 ? hovered
                                 : nullptr;
    for (const Layer& layer : field->layers) {
        for (const auto& f : layer) {
            if (f.get() != skip)
                painter.Draw(g, *field, *f, true);
        }
    }
    for (const Layer& layer : field->layers) {
        for (const auto& f : layer) {
            if (f.get() != skip)
                painter.DrawGlitter(g, *f);
        }
    }
    DrawTopBar(g);
}

void Board::DrawTopBar(Graphics* g)
{
    if (!FONT_DEFAULT)
        return;
    g->SetFont(FONT_DEFAULT);
    g->SetColor(Color::Black);
    g->DrawString(W("Ходов: ") + std::to_string(field->MovesAvailable()), 720, 17);
    g->DrawString(W("Очки: ") + std::to_string(field->Score()), 10, 17);
    std::string level = W("УРОВЕНЬ ") + std::to_string(field->level.number);
    g->DrawString(level, 400 - FONT_DEFAULT->StringWidth(level) / 2, 17);
}

void Board::DrawPlayStrip(Graphics* g)
{
    Image* strip = IMAGE_PLAYLINE;
    if (!strip)
        return;
    int w = strip->GetWidth(), h = strip->GetHeight();
    if (field->mode == PlayMode::Drag)
        g->DrawImage(strip, 400 - w / 2, 540);
    else
        g->DrawImage(strip, 400, 540, Rect(w / 2, 0, w - w / 2, h));
}

void Board::DrawDraggedFieldFish(Graphics* g)
{
    DominoFish* f = field->drag.Hovered();
    if (!f || !f->dragged)
        return;
    painter.Draw(g, *field, *f, false);
    painter.DrawGlitter(g, *f);
}

void Board::DrawDraggedPlaceFish(Graphics* g)
{
    if (deck->drag.Hovered() && deck->drag.Hovered()->dragged)
        painter.Draw(g, *field, *deck->drag.Hovered(), true);
}

void Board::DrawLineDeckMeterPopups(Graphics* g)
{
    DrawPlayLine(g);
    DrawDeck(g);
    DrawComboMeter(g);
    DrawPopups(g);
}

void Board::DrawGlidingOnTop(Graphics* g)
{
    for (const Layer& layer : field->layers) {
        for (const auto& f : layer) {
            if (f->IsGliding() && !(f.get() == field->drag.Hovered() && f->dragged))
                painter.Draw(g, *field, *f, true);
        }
    }
}

void Board::DrawPlayLine(Graphics* g)
{
    auto& line = playLine->fish;
    if (field->mode == PlayMode::Click) {
        // The tile before the current one lies over its left half, where
        // both show the same value; a joker's sun spans its middle, so a
        // joker current tile lies on top instead and shows whole.
        const DominoFish* current = line.empty() ? nullptr : line.back().get();
        const DominoFish* before = line.size() >= 3 ? line[line.size() - 2].get() : nullptr;
        if (current && current->joker)
            std::swap(current, before);
        for (const DominoFish* f : {current, before})
            if (f)
                painter.DrawOnLine(g, *field, *f, false);
        g->DrawImage(IMAGE_PANEL_LINE_OSS, 305, 519);
        return;
    }
    // Only the two ends show in the frame; tiles between them are drawn while
    // they still glide in.
    if (!line.empty()) {
        painter.DrawOnLine(g, *field, *line.back(), false);
        for (size_t i = 1; i + 1 < line.size(); ++i) {
            if (line[i]->IsGliding())
                painter.DrawOnLine(g, *field, *line[i], false);
        }
        if (line.size() > 1)
            painter.DrawOnLine(g, *field, *line.front(), true);
    }
    g->DrawImage(IMAGE_PANEL_LINE, 348, 516);
}

void Board::DrawDeck(Graphics* g)
{
    bool click = field->mode == PlayMode::Click;
    Image* base = click ? IMAGE_DECK_PLACE : deck->redealsLeft != 0 ? IMAGE_CROP_DECK : IMAGE_NO_CROPS;
    g->DrawImage(base, deck->x - 7, deck->y - 2);
    int n = static_cast<int>(deck->fish.size());
    for (int i = 0; i < std::min(n, 3); ++i) {
        const DominoFish& f = *deck->fish[i];
        if (!f.IsGliding())
            g->DrawImage(painter.backImages[f.style & 3], deck->x + 7 * i, deck->y - 7 * i);
    }
    if (!click)
        DrawDeckPlaces(g);
    // The top three deck tiles that glide (drawn to the line) pass over the pile.
    for (int i = n - 1; i >= std::max(0, n - 3); --i) {
        if (deck->fish[i]->IsGliding())
            painter.Draw(g, *field, *deck->fish[i], true);
    }
    if (FONT_DEFAULT) {
        std::string count = std::to_string(click ? n : deck->redealsLeft);
        g->SetFont(FONT_DEFAULT);
        g->SetColor(Color::White);
        g->DrawString(count, deck->x + 101 - FONT_DEFAULT->StringWidth(count) / 2, deck->y + 50);
    }
}

void Board::DrawDeckPlaces(Graphics* g)
{
    int places = static_cast<int>(deck->places.size());
    for (int i = places - 1; i >= 0; --i)
        g->DrawImage(IMAGE_ROCK_PLACE, deck->x - 5, (deck->y - 20) - 60 * (i + 1));
    for (int i = places - 1; i >= 0; --i) {
        const Place& pile = deck->places[i];
        int size = static_cast<int>(pile.size());
        for (int k = std::max(0, size - 3); k < size; ++k) {
            const DominoFish& f = *pile[k];
            bool dragging = &f == deck->drag.Hovered() && f.dragged;
            if (!dragging && !(f.returning && f.IsGliding()))
                painter.Draw(g, *field, f, true);
        }
    }
    for (int i = places - 1; i >= 0; --i) {
        for (const auto& f : deck->places[i]) {
            if (f->returning && f->IsGliding())
                painter.Draw(g, *field, *f, true);
        }
    }
}

void Board::DrawComboMeter(Graphics* g)
{
    const ComboMeter& m = *comboMeter;
    g->DrawImage(m.meterImage, m.x, m.y);
    if (m.level > 0 && m.meterOnImage) {
        int w = m.meterOnImage->GetWidth(), h = m.meterOnImage->GetHeight();
        float empty = 1.0f - m.level / 100.0f;
        int top = static_cast<int>(empty * h);
        int shown = static_cast<int>(h * m.level / 100.0f);
        // The bar fills from the bottom: only its lower part is drawn.
        g->DrawImage(m.meterOnImage, m.x + m.fillOffsetX, m.y + m.fillOffsetY + top, Rect(0, top, w, shown));
    }
    g->DrawImage(m.labelsImage, m.x, m.y);
}

void Board::DrawPopups(Graphics* g)
{
    for (const Popup& p : field->Popups()) {
        g->PushState();
        g->SetColor(Color(255, 255, 255, p.alpha));
        g->SetColorizeImages(true);
        if (p.cel == -1)
            g->DrawImageF(p.image, p.x, p.y);
        else
            g->DrawImageCel(p.image, static_cast<int>(p.x), static_cast<int>(p.y), p.cel);
        g->PopState();
    }
}

// ---------------------------------------------------------------------------
// Backdrop

void Board::RebuildBackdrop()
{
    if (!backdrop) {
        backdrop = std::make_unique<MemoryImage>(800, 600);
        // Opaque, so the panel copies it with the fast path.
        backdrop->SetImageMode(false, false);
    }
    backdropBuiltFor = field->BackdropVersion();
    Graphics g(backdrop.get());
    g.SetColor(Color::Black);
    g.FillRect(0, 0, 800, 600);
    g.DrawImage(field->level.backgroundImage.get(), 0, 0);
    for (size_t i = 0; i < field->layers.size(); ++i) {
        for (const auto& f : field->layers[i]) {
            if (!f->dragged && !f->flipping && !f->IsGliding())
                painter.DrawShadow(&g, *f, static_cast<int>(i));
        }
    }
    const PlayerProfile* p = app.CurrentProfile();
    if (p && p->showInstructions)
        g.DrawImage(IMAGE_PREVIEW, 0, 26);
    g.DrawImage(IMAGE_PANEL, 0, 520);
    g.DrawImage(IMAGE_PANEL_UP, 0, 0);
}

MemoryImage* Board::GetBackdrop()
{
    if (!backdrop || backdropBuiltFor != field->BackdropVersion())
        RebuildBackdrop();
    return backdrop.get();
}

} // namespace Zorvin

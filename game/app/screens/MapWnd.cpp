// MapWnd: the map screen.
//   construction and the buttons   - MapWnd, OnAttach, OnDetach, OnButtonClick
//   entering and animating         - Enter, Update
//   drawing                        - Draw, DrawStagePoints, DrawMarker,
//                                    DrawThumbnailStrip, DrawScroll,
//                                    DrawLevelBest, DrawStageTotal
//   the mouse                      - MouseMove, MouseDown, SlotAt

#include "game/app/screens/MapWnd.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/screens/MapHost.h"
#include "game/board/view/StageMap.h"
#include "game/shared/LevelStars.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

constexpr int kPointRadius = 20;   // a click must land closer than this
constexpr int kSlots = StageMap::kLevelsPerStage;
// How far above its stage point the marker's top stands: the chariot (click
// mode) and the taller ship (drag mode).
constexpr int kChariotOffset = -35;
constexpr int kShipOffset = -50;

std::unique_ptr<ButtonWidget> MakeMapButton(int id, ButtonListener* listener, const char* label, int x, int y)
{
    auto button = std::make_unique<ButtonWidget>(id, listener);
    button->label = W(label);
    button->buttonImage = IM_B_DIALOG;
    button->overImage = IM_B_DIALOG_OVER;
    button->downImage = IM_B_DIALOG_DOWN;
    int w = IM_B_DIALOG ? IM_B_DIALOG->GetWidth() : 160;
    int h = IM_B_DIALOG ? IM_B_DIALOG->GetHeight() - 2 : 40;
    button->Resize(x, y, w, h);
    if (FONT_DEFAULT)
        button->SetFont(FONT_DEFAULT);
    button->SetColor(ButtonWidget::ColorLabelHilite, Color::White);
    button->doHandCursor = true;
    return button;
}

bool CloserThan(const Point& p, int x, int y, int radius)
{
    int dx = p.x - x;
    int dy = p.y - y;
    return dx * dx + dy * dy < radius * radius;
}

int ScrollHeight()
{
    return IMAGE_SCROLL ? IMAGE_SCROLL->GetHeight() : 0;
}

} // namespace

MapWnd::MapWnd(MapHost& mapHost) : host(mapHost)
{
    playButton = MakeMapButton(PlayButton, this, "Играть", 430, 548);
    mainMenuButton = MakeMapButton(MainMenuButton, this, "Главное меню", 230, 548);
}

MapWnd::~MapWnd()
{
    for (ButtonWidget* b : {playButton.get(), mainMenuButton.get()})
        if (b->parent)
            b->parent->RemoveChild(b);
}

void MapWnd::OnAttach(WidgetManager* m)
{
    Widget::OnAttach(m);
    m->AddChild(playButton.get());
    m->AddChild(mainMenuButton.get());
}

void MapWnd::OnDetach(WidgetManager* m)
{
    Widget::OnDetach(m);
    m->RemoveChild(playButton.get());
    m->RemoveChild(mainMenuButton.get());
}

int MapWnd::PlayerLevel()
{
    PlayerProfile* p = host.CurrentProfile();
    if (!p)
        return 1;
    return p->Progress(host.GetStageMap().Mode() == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click).level;
}

int MapWnd::ReachedStages()
{
    int n = (PlayerLevel() - 1) / kSlots + 1;
    return std::clamp(n, 0, int(host.GetStageMap().stagePoints.size()));
}

void MapWnd::Enter(int level)
{
    StageMap& stages = host.GetStageMap();
    scrollProgress = 0;
    scrollDelay = 100;
    scrollSoundPlayed = false;
    stageSoundPlayed = true;
    glowLeft = kGlowUpdates;
    hoveredLevel = -1;
    hoveredPoint = -1;
    int first = level >= 1 ? (level - 1) / kSlots * kSlots + 1 : 0;
    if (first >= 1)
        stages.BuildThumbnails(first, first + kSlots - 1);
    selectedLevel = level;
    selectedStage = level >= 1 ? (level - 1) / kSlots : 0;
    if (level == first && first >= 2) {
        // A new stage was just reached: the marker sails there first and the
        // new scroll opens after it.
        stageProgress = 0;
        stageDelay = 100;
        scrollDelay = 200;
        stageSoundPlayed = false;
    } else {
        stageProgress = 100;
        stageDelay = 0;
    }
    MarkDirty();
}

bool MapWnd::StepGlow()
{
    if (glowLeft > 0)
        --glowLeft;
    else if (glow >= 250)
        return false;
    if (glowRising) {
        glow += 2;
        if (glow >= 250)
            glowRising = false;
    } else {
        glow -= 2;
        if (glow <= 100)
            glowRising = true;
    }
    return true;
}

void MapWnd::Update()
{
    Widget::Update();
    int oldScroll = scrollProgress;
    int oldStage = stageProgress;
    // Only what moves is painted again: the selected scroll while its
    // glow pulses, the strip while a scroll opens, the marker's way while
    // it sails.
    if (StepGlow())
        MarkDirty(SlotRect(selectedLevel));
    if (scrollDelay > 0) {
        --scrollDelay;
    } else {
        if (!scrollSoundPlayed) {
            host.PlaySound(SOUND_SCROLL);
            scrollSoundPlayed = true;
        }
        if (scrollProgress < 100)
            ++scrollProgress;
    }
    if (stageDelay > 0) {
        --stageDelay;
    } else {
        if (!stageSoundPlayed) {
            host.PlaySound(SOUND_STAGE);
            stageSoundPlayed = true;
        }
        if (stageProgress < 100)
            ++stageProgress;
    }
    if (scrollProgress != oldScroll)
        MarkDirty(StripRect());
    if (stageProgress != oldStage)
        MarkDirty(MarkerWayRect());
}

Rect MapWnd::StripRect() const
{
    return Rect(StageMap::kStripX - 10, StageMap::kStripY - 8, StageMap::kSlotStep * kSlots + 20, ScrollHeight());
}

Rect MapWnd::SlotRect(int level) const
{
    int k = level >= 1 ? (level - 1) % kSlots : 0;
    int w = IMAGE_SCROLL ? IMAGE_SCROLL->GetWidth() : StageMap::kSlotStep;
    if (IMAGE_SCROLL_SELECT)
        w = std::max(w, IMAGE_SCROLL_SELECT->GetWidth());
    int h = std::max(ScrollHeight(), IMAGE_SCROLL_SELECT ? IMAGE_SCROLL_SELECT->GetHeight() : 0);
    return Rect(StageMap::kStripX + StageMap::kSlotStep * k - 10, StageMap::kStripY - 8, w, h);
}

Rect MapWnd::MarkerWayRect() const
{
    const std::vector<Point>& p = host.GetStageMap().stagePoints;
    Image* marker = host.GetStageMap().Mode() != PlayMode::Drag ? IMAGE_CHARIOT : IMAGE_SHIP;
    int s = std::min(selectedStage, int(p.size()) - 1);
    if (!marker || s < 1)
        return Rect(0, 0, width, height);
    int offset = host.GetStageMap().Mode() != PlayMode::Drag ? -35 : -50;
    int mw = marker->GetWidth();
    int left = std::min(p[s - 1].x, p[s].x) - mw / 2;
    int top = std::min(p[s - 1].y, p[s].y) + offset;
    return Rect(left, top, std::abs(p[s].x - p[s - 1].x) + mw, std::abs(p[s].y - p[s - 1].y) + marker->GetHeight());
}

void MapWnd::Draw(Graphics* g)
{
    // Each mode has its own map, showing only its own route.
    Image* map = host.GetStageMap().Mode() == PlayMode::Click && IMAGE_W_MAP2 ? IMAGE_W_MAP2 : IMAGE_W_MAP;
    if (map)
        g->DrawImage(map, 0, 0);
    DrawThumbnailStrip(g);
    DrawStageTotal(g);
    DrawStagePoints(g);
}

void MapWnd::DrawStagePoints(Graphics* g)
{
    const std::vector<Point>& points = host.GetStageMap().stagePoints;
    bool clickMode = host.GetStageMap().Mode() != PlayMode::Drag;
    int reached = (PlayerLevel() - 1) / kSlots;
    g->SetFont(FONT_DEFAULT);
    g->SetColor(Color::White);
    if (FONT_DEFAULT)
        g->WriteString(W(clickMode ? "Карта одностороннего пасьянса" : "Карта двустороннего пасьянса"), 400, 50, -1,
                       Graphics::JustifyCenter);
    for (int i = 0; i < int(points.size()); ++i) {
        const Point& p = points[i];
        Image* point = i > reached ? IMAGE_MAP_POINT : IMAGE_MAP_POINT_COMPLETE;
        if (i <= reached && i == hoveredPoint)
            point = IMAGE_MAP_POINT_SELECT;
        if (point && IMAGE_MAP_POINT) {
            // The hover picture is placed by the plain point's size so a
            // larger glow spreads evenly around it.
            int w = (point == IMAGE_MAP_POINT_SELECT ? IMAGE_MAP_POINT : point)->GetWidth();
            int h = (point == IMAGE_MAP_POINT_SELECT ? IMAGE_MAP_POINT : point)->GetHeight();
            g->DrawImage(point, p.x - w / 2, p.y - h / 2);
        }
        if (!FONT_DEFAULT)
            continue;
        std::string number = std::to_string(i + 1);
        WriteOutlined(g, number, p.x - FONT_DEFAULT->StringWidth(number) / 2 + 2, p.y + 23, Color(0, 255, 0));
    }
    DrawMarker(g);
    // Over the marker, which may have to cover a badge's first choice.
    for (int i = 0; FONT_DEFAULT && i < int(points.size()); ++i)
        DrawStageBadge(g, i, points[i]);
}

void MapWnd::DrawMarker(Graphics* g)
{
    const std::vector<Point>& p = host.GetStageMap().stagePoints;
    bool clickMode = host.GetStageMap().Mode() != PlayMode::Drag;
    Image* marker = clickMode ? IMAGE_CHARIOT : IMAGE_SHIP;
    int offset = clickMode ? kChariotOffset : kShipOffset;
    int s = std::min(selectedStage, int(p.size()) - 1);
    if (!marker || s < 0)
        return;
    int mw = marker->GetWidth();
    if (s < 1) {
        g->DrawImage(marker, p[s].x - mw / 2, p[s].y + offset);
        return;
    }
    const Point& a = p[s - 1];
    const Point& b = p[s];
    int x = (a.x - mw / 2) + stageProgress * ((b.x - mw / 2) - (a.x - mw / 2)) / 100;
    int y = (a.y + offset) + ((b.y + offset) - (a.y + offset)) * stageProgress / 100;
    g->DrawImage(marker, x, y);
}

void MapWnd::DrawThumbnailStrip(Graphics* g)
{
    int playerLevel = PlayerLevel();
    int first = (selectedLevel - 1) / kSlots * kSlots + 1;
    g->SetFont(FONT_DEFAULT);
    g->SetColor(Color::Black);
    for (int k = 0; k < kSlots; ++k)
        DrawScroll(g, first + k, StageMap::kStripX + StageMap::kSlotStep * k, StageMap::kStripY, playerLevel);
}

void MapWnd::DrawScroll(Graphics* g, int level, int x, int y, int playerLevel)
{
    if (!IMAGE_SCROLL)
        return;
    int h = IMAGE_SCROLL->GetHeight();
    MemoryImage* thumb = host.GetStageMap().Thumbnail(level);
    bool isSelected = level == selectedLevel;
    bool open = level < playerLevel || ((isSelected || level == playerLevel) && scrollProgress == 100);
    if (open) {
        bool lit = level == hoveredLevel || isSelected;
        g->DrawImage(lit && IMAGE_SCROLL_OVER ? IMAGE_SCROLL_OVER : IMAGE_SCROLL, x - 10, y - 8);
        if (isSelected && IMAGE_SCROLL_SELECT) {
            g->SetColorizeImages(true);
            g->SetColor(Color(255, 255, 255, glow));
            g->DrawImage(IMAGE_SCROLL_SELECT, x - 10, y - 8);
            g->SetColorizeImages(false);
            g->SetColor(Color::Black);
        }
        if (thumb)
            g->DrawImage(thumb, x, y);
        if (FONT_DEFAULT)
            g->WriteString(W("Уровень ") + std::to_string(level), x + 60, y + 95, -1, Graphics::JustifyCenter);
        DrawLevelBest(g, level, x, y);
    } else if (isSelected) {
        int p = scrollProgress;
        Rect saved = g->GetClipRect();
        g->ClipRect(x + 60 - p * 53 / 100, y - 8, p * 106 / 100, h);
        g->DrawImage(IMAGE_SCROLL, x - 10, y - 8);
        if (thumb)
            g->DrawImage(thumb, x, y);
        g->SetClipRect(saved);
        g->DrawImage(IMAGE_SCROLL, x - p * 53 / 100 + 43, y - 8, Rect(0, 0, 17, h));
        g->DrawImage(IMAGE_SCROLL, x + p * 53 / 100 + 60, y - 8, Rect(123, 0, 20, h));
    } else {
        g->DrawImage(IMAGE_SCROLL, x + 43, y - 8, Rect(0, 0, 17, h));
        g->DrawImage(IMAGE_SCROLL, x + 60, y - 8, Rect(123, 0, 20, h));
    }
}

// A won level's record on its thumbnail: a dark band across its top edge
// with the stars on the left and the best score on the right, legible over
// any layout.
void MapWnd::DrawLevelBest(Graphics* g, int level, int x, int y)
{
    MapHost::LevelBest best = host.BestOf(level);
    if (best.score <= 0)
        return;
    constexpr int kBandHeight = 18;
    g->SetColor(Color(0, 0, 0, 150));
    g->FillRect(x, y, StageMap::kThumbWidth, kBandHeight);
    if (IMAGE_STAR_SMALL && best.stars > 0) {
        int w = IMAGE_STAR_SMALL->GetCelWidth();
        for (int i = 0; i < LevelStars::kMaxStars; ++i)
            g->DrawImageCel(IMAGE_STAR_SMALL, x + 2 + i * (w + 1), y + 1, i < best.stars ? 0 : 1);
    }
    if (FONT_DEFAULT) {
        g->SetColor(Color::White);
        g->WriteString(std::to_string(best.score), x, y + 14, StageMap::kThumbWidth - 3, Graphics::JustifyRight);
    }
    g->SetColor(Color::Black);
}

MapWnd::StageTotal MapWnd::TotalOf(int stage)
{
    StageTotal total;
    if (stage < 0)
        return total;
    total.finished = true;
    for (int k = 1; k <= kSlots; ++k) {
        MapHost::LevelBest best = host.BestOf(stage * kSlots + k);
        total.finished = total.finished && best.score > 0;
        total.stars += best.stars;
        total.score += best.score;
    }
    return total;
}

// A green number (or any text) with a black outline, legible on land and
// sea alike.
void MapWnd::WriteOutlined(Graphics* g, const std::string& text, int x, int y, const Color& color)
{
    g->SetColor(Color::Black);
    g->WriteString(text, x - 1, y);
    g->WriteString(text, x + 1, y);
    g->WriteString(text, x, y + 1);
    g->WriteString(text, x, y - 1);
    g->SetColor(color);
    g->WriteString(text, x, y);
}

// A finished stage's stars beside its point: a small star and the count.
// The points of a route lie close together, so the badge goes under the
// stage number, or else right, left or above the point, wherever it covers
// no other point or number, nor the marker where it rests, and stays on
// the map; failing that, where it covers only the marker.
void MapWnd::DrawStageBadge(Graphics* g, int stage, const Point& p)
{
    StageTotal total = TotalOf(stage);
    if (!total.finished || total.stars <= 0 || !IMAGE_STAR_SMALL)
        return;
    std::string count = std::to_string(total.stars);
    int starW = IMAGE_STAR_SMALL->GetCelWidth();
    int h = IMAGE_STAR_SMALL->GetHeight();
    int w = starW + 2 + FONT_DEFAULT->StringWidth(count);
    const Point places[] = {{p.x - w / 2, p.y + 27}, {p.x + 15, p.y - h / 2}, {p.x - 15 - w, p.y - h / 2},
                            {p.x - w / 2, p.y - 16 - h}};
    const std::vector<Point>& points = host.GetStageMap().stagePoints;
    bool clickMode = host.GetStageMap().Mode() != PlayMode::Drag;
    Image* marker = clickMode ? IMAGE_CHARIOT : IMAGE_SHIP;
    Rect markerRest;
    if (marker && selectedStage >= 0 && selectedStage < int(points.size())) {
        const Point& m = points[selectedStage];
        markerRest = Rect(m.x - marker->GetWidth() / 2, m.y + (clickMode ? kChariotOffset : kShipOffset), marker->GetWidth(),
                          marker->GetHeight());
    }
    auto fits = [&](const Point& at, bool besideMarker) {
        Rect badge(at.x, at.y, w, h);
        if (!InMapArea(badge.x, badge.y) || !InMapArea(badge.x + w, badge.y + h) ||
            (besideMarker && badge.Intersects(markerRest)))
            return false;
        for (int i = 0; i < int(points.size()); ++i) {
            // Another point with its number below it.
            if (i != stage && badge.Intersects(Rect(points[i].x - 14, points[i].y - 14, 28, 40)))
                return false;
        }
        return true;
    };
    const Point* at = nullptr;
    for (bool besideMarker : {true, false}) {
        for (const Point& place : places) {
            if (at == nullptr && fits(place, besideMarker))
                at = &place;
        }
    }
    if (at == nullptr)
        at = &places[0];
    g->DrawImageCel(IMAGE_STAR_SMALL, at->x, at->y, 0);
    WriteOutlined(g, count, at->x + starW + 2, at->y + h - 3, Color(255, 224, 120));
}

// The chosen stage's total, right of the buttons: its stars out of the
// fifteen it can earn (when the levels are rated) and its points.
void MapWnd::DrawStageTotal(Graphics* g)
{
    StageTotal total = TotalOf(selectedStage);
    if (!total.finished || !FONT_DEFAULT)
        return;
    constexpr int kLeft = 582, kFirstLine = 566, kSecondLine = 588;
    g->SetFont(FONT_DEFAULT);
    g->SetColor(Color::Black);
    int x = kLeft + g->WriteString(W("Этап ") + std::to_string(selectedStage + 1) + ":", kLeft, kFirstLine) + 6;
    if (total.stars > 0 && IMAGE_STAR_SMALL) {
        g->DrawImageCel(IMAGE_STAR_SMALL, x, kFirstLine - 13, 0);
        x += IMAGE_STAR_SMALL->GetCelWidth() + 4;
        g->WriteString(std::to_string(total.stars) + W(" из ") + std::to_string(kSlots * LevelStars::kMaxStars), x,
                       kFirstLine);
    }
    g->WriteString(W("Очки: ") + std::to_string(total.score), kLeft, kSecondLine);
}

int MapWnd::SlotAt(int px, int py) const
{
    for (int k = 0; k < kSlots; ++k) {
        int left = StageMap::kStripX + StageMap::kSlotStep * k;
        if (px > left && px < left + 150 && py > StageMap::kStripY && py < StageMap::kStripY + ScrollHeight())
            return k;
    }
    return -1;
}

void MapWnd::MouseMove(int px, int py)
{
    Widget::MouseMove(px, py);
    int oldPoint = hoveredPoint;
    int oldLevel = hoveredLevel;
    hoveredPoint = -1;
    if (InMapArea(px, py)) {
        const std::vector<Point>& points = host.GetStageMap().stagePoints;
        for (int i = 0; i < int(points.size()); ++i) {
            if (CloserThan(points[i], px, py, kPointRadius)) {
                hoveredPoint = i;
                break;
            }
        }
    } else {
        int k = SlotAt(px, py);
        hoveredLevel = k < 0 ? -1 : k + selectedStage * kSlots + 1;
    }
    if (hoveredPoint != oldPoint || hoveredLevel != oldLevel)
        MarkDirty();
}

void MapWnd::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    // A click may choose another stage or level: the map is shown afresh.
    MarkDirty();
    int playerLevel = PlayerLevel();
    if (InMapArea(px, py)) {
        StageMap& stages = host.GetStageMap();
        for (int i = 0; i < ReachedStages(); ++i) {
            if (!CloserThan(stages.stagePoints[i], px, py, kPointRadius))
                continue;
            selectedStage = i;
            stages.BuildThumbnails(kSlots * i + 1, kSlots * i + kSlots);
            selectedLevel = playerLevel <= kSlots * i + kSlots ? playerLevel : kSlots * i + 1;
            hoveredLevel = -1;
            return;
        }
        return;
    }
    int k = SlotAt(px, py);
    if (k < 0)
        return;
    int level = k + selectedStage * kSlots + 1;
    if (level <= playerLevel)
        selectedLevel = level;
}

void MapWnd::SelectLevel(int level)
{
    int playerLevel = PlayerLevel();
    int last = int(host.GetStageMap().stagePoints.size()) * kSlots;
    level = std::clamp(level, 1, std::max(1, std::min(playerLevel, last)));
    int stage = (level - 1) / kSlots;
    if (stage != selectedStage) {
        selectedStage = stage;
        host.GetStageMap().BuildThumbnails(kSlots * stage + 1, kSlots * stage + kSlots);
        hoveredLevel = -1;
    }
    selectedLevel = level;
}

void MapWnd::KeyDown(int key)
{
    Widget::KeyDown(key);
    int stage = (selectedLevel - 1) / kSlots;
    switch (key) {
    case KeyArrowLeft:
        SelectLevel(selectedLevel - 1);
        break;
    case KeyArrowRight:
        SelectLevel(selectedLevel + 1);
        break;
    case KeyArrowUp:
    case KeyArrowDown: {
        // As a click on the stage's point: its first level, or the player's
        // own level when that lies in the stage.
        int to = std::clamp(stage + (key == KeyArrowUp ? -1 : 1), 0, std::max(0, ReachedStages() - 1));
        int first = kSlots * to + 1, player = PlayerLevel();
        SelectLevel(player >= first && player < first + kSlots ? player : first);
        break;
    }
    case KeyEnter:
    case KeySpace:
        OnButtonClick(PlayButton);
        break;
    case KeyEscape:
        OnButtonClick(MainMenuButton);
        break;
    default:
        break;
    }
}

void MapWnd::GotFocus()
{
    Widget::GotFocus();
    playButton->ShowFocusRing(true);
}

void MapWnd::LostFocus()
{
    Widget::LostFocus();
    playButton->ShowFocusRing(false);
}

void MapWnd::OnButtonClick(int id)
{
    host.PlaySound(SOUND_CLICK);
    if (id == MainMenuButton) {
        host.ExitToMainMenu(false);
        return;
    }
    if (id != PlayButton)
        return;
    if (PlayerProfile* p = host.CurrentProfile()) {
        int& level = p->Progress(host.GetStageMap().Mode() == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click).level;
        if (selectedLevel != level)
            level = selectedLevel;
    }
    host.PlayLevelFromMap();
}

} // namespace Zorvin

// MapWnd: the map screen.
//   construction and the buttons   - MapWnd, OnAttach, OnDetach, OnButtonClick
//   entering and animating         - Enter, Update
//   drawing                        - Draw, DrawStagePoints, DrawMarker,
//                                    DrawThumbnailStrip, DrawScroll
//   the mouse                      - MouseMove, MouseDown, SlotAt

#include "game/app/screens/MapWnd.h"

#include <algorithm>
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
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

constexpr int kPointRadius = 20;   // a click must land closer than this
constexpr int kSlots = StageMap::kLevelsPerStage;

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
    // Redrawn on every update: the glow and the scrolls are always moving.
    widgetFlagsMod.addFlags |= DirtyBit;
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
}

void MapWnd::Update()
{
    Widget::Update();
    if (glowRising) {
        glow += 2;
        if (glow >= 250)
            glowRising = false;
    } else {
        glow -= 2;
        if (glow <= 100)
            glowRising = true;
    }
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
}

void MapWnd::Draw(Graphics* g)
{
    // Each mode has its own map, showing only its own route.
    Image* map = host.GetStageMap().Mode() == PlayMode::Click && IMAGE_W_MAP2 ? IMAGE_W_MAP2 : IMAGE_W_MAP;
    if (map)
        g->DrawImage(map, 0, 0);
    DrawThumbnailStrip(g);
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
        int x = p.x - FONT_DEFAULT->StringWidth(number) / 2;
        g->SetColor(Color::Black);
        g->WriteString(number, x + 1, p.y + 23);
        g->WriteString(number, x + 3, p.y + 23);
        g->WriteString(number, x + 2, p.y + 24);
        g->WriteString(number, x + 2, p.y + 22);
        g->SetColor(Color(0, 255, 0));
        g->WriteString(number, x + 2, p.y + 23);
    }
    DrawMarker(g);
}

void MapWnd::DrawMarker(Graphics* g)
{
    const std::vector<Point>& p = host.GetStageMap().stagePoints;
    bool clickMode = host.GetStageMap().Mode() != PlayMode::Drag;
    Image* marker = clickMode ? IMAGE_CHARIOT : IMAGE_SHIP;
    int offset = clickMode ? -35 : -50;
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
    hoveredPoint = -1;
    if (InMapArea(px, py)) {
        const std::vector<Point>& points = host.GetStageMap().stagePoints;
        for (int i = 0; i < int(points.size()); ++i) {
            if (CloserThan(points[i], px, py, kPointRadius)) {
                hoveredPoint = i;
                break;
            }
        }
        return;
    }
    int k = SlotAt(px, py);
    hoveredLevel = k < 0 ? -1 : k + selectedStage * kSlots + 1;
}

void MapWnd::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
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

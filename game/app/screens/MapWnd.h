#pragma once

// MapWnd: the map screen between levels. It shows the stages of the board's
// campaign with a marker on the chosen stage and, below, the five levels of
// that stage as scrolls with thumbnails; "Играть" starts the selected level
// and "Главное меню" leaves. The application creates it once and adds it to
// the widget manager while the map is shown; its buttons follow it into the
// manager. Stage points and thumbnails come from the board's StageMap. A
// level the player has won shows its stars and best score on its scroll;
// a stage whose five levels are all won shows its stars beside its point,
// and when it is chosen its stars and points right of the buttons.

#include <memory>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/Rect.h"

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

namespace Zorvin {

class ButtonWidget;
class MapHost;

class MapWnd : public Widget, public ButtonListener {
public:
    enum ButtonId { PlayButton = 0, MainMenuButton = 1 };

    explicit MapWnd(MapHost& host);
    ~MapWnd() override;

    // Entering the map with the player at `level` of the board's mode:
    // resets the animations, keeps the thumbnails of that level's stage and
    // selects it; the marker travels from the previous stage when the level
    // opens a new stage.
    void Enter(int level);

    void Update() override;
    void Draw(Graphics* g) override;
    void MouseMove(int px, int py) override;
    void MouseDown(int px, int py, int clickCode) override;
    // The keyboard: Left and Right step through the reached levels (into
    // the neighbouring stage at either end), Up and Down to the previous or
    // next reached stage, Enter or Space plays the selected level ("Играть",
    // which shows the focus ring while the map has the keyboard), Escape is
    // "Главное меню".
    void KeyDown(int key) override;
    void GotFocus() override;
    void LostFocus() override;
    void OnButtonClick(int id) override;
    void OnAttach(WidgetManager* manager) override;
    void OnDetach(WidgetManager* manager) override;

    // The player's level of the board's mode (1 without a player).
    int PlayerLevel();
    // Number of stage points the player has reached, at most all of them.
    int ReachedStages();

    // A stage's total, when each of its levels has been won: the stars and
    // the best scores added up.
    struct StageTotal {
        bool finished = false;
        int stars = 0;
        int score = 0;
    };
    StageTotal TotalOf(int stage);

    int hoveredPoint = -1;
    int selectedStage = -1;
    int hoveredLevel = -1;
    int selectedLevel = 1;
    int glow = 0;
    bool glowRising = true;
    // Updates the selected scroll's glow still pulses; afterwards it rises
    // to full once more and stays, so a map left open is still.
    int glowLeft = kGlowUpdates;
    static constexpr int kGlowUpdates = 450;
    int scrollProgress = 0;
    int scrollDelay = 0;
    bool scrollSoundPlayed = false;
    int stageProgress = 0;
    int stageDelay = 0;
    bool stageSoundPlayed = false;

    std::unique_ptr<ButtonWidget> playButton;
    std::unique_ptr<ButtonWidget> mainMenuButton;

private:
    void DrawStagePoints(Graphics* g);
    void DrawThumbnailStrip(Graphics* g);
    void DrawScroll(Graphics* g, int level, int x, int y, int playerLevel);
    void DrawMarker(Graphics* g);
    void DrawLevelBest(Graphics* g, int level, int x, int y);
    void DrawStageTotal(Graphics* g);
    void DrawStageBadge(Graphics* g, int stage, const Point& p);
    static void WriteOutlined(Graphics* g, const std::string& text, int x, int y, const Color& color);
    // The glow's next step; false once it stays lit.
    bool StepGlow();
    // What the moving parts cover: the strip of scrolls, one scroll of it,
    // and the way of the marker between the last stage and the selected one.
    Rect StripRect() const;
    Rect SlotRect(int level) const;
    Rect MarkerWayRect() const;
    // The strip slot (0..4) under the point, or -1.
    int SlotAt(int px, int py) const;
    // Selects a reached level, showing its stage.
    void SelectLevel(int level);
    static bool InMapArea(int px, int py) { return px >= 101 && px <= 699 && py < 400; }

    MapHost& host;
};

} // namespace Zorvin

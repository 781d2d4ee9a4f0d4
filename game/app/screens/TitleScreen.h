#pragma once

// TitleScreen: what the player sees from the end of start-up until the game
// proper begins. It first plays the logo steps of the logo script, then
// shows the loading display — title picture, a progress bar that grows as
// the loading thread brings in the "Game" resources, "Загрузка..." and the
// script's pictures — and, once loading has finished, the link
// "Начать игру". The application owns it; clicking the link hands both the
// screen and its link to deferred deletion and lets the application build
// the game's screens.

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"
#include "game/app/screens/LogoScript.h"

#include <memory>

namespace Zorvin {

class HyperlinkWidget;
class TitleScreenHost;

class TitleScreen : public Widget, public ButtonListener {
public:
    static constexpr int StartLinkId = 1;

    explicit TitleScreen(TitleScreenHost& host);
    ~TitleScreen() override;

    // Creates the hidden, disabled start link; called right after construction.
    void CreateStartLink();
    // Reads the logos and the loading display's pictures from the script.
    void ReadLogoScript(const std::string& path = LogoScript::DefaultPath);
    // Shows the start link; called once loading has finished.
    void EnableStartLink();

    void OnAttach(WidgetManager* manager) override;
    void OnDetach(WidgetManager* manager) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void OnButtonClick(int id) override;
    // Enter or Space once loading is done: "Начать игру", as its click.
    void KeyDown(int key) override;

    bool IsShowingLogos() const { return logoMode && !steps.empty(); }
    bool IsLoadingDisplay() const { return loadingMode; }
    HyperlinkWidget* GetStartLink() const { return startLink; }
    int LogoStepsLeft() const { return static_cast<int>(steps.size()); }

private:
    void DrawLoadingDisplay(Graphics* g);
    // Width of the progress bar to draw for the current loading progress.
    int BarWidth();

    TitleScreenHost& host;
    // Owned until the link is clicked, when it goes to deferred deletion.
    HyperlinkWidget* startLink = nullptr;
    bool logoMode = false;
    bool loadingMode = false;
    int drawnBarWidth = -1;
    std::vector<std::unique_ptr<LogoImage>> loadingImages;
    std::vector<std::unique_ptr<LogoStep>> steps;
};

} // namespace Zorvin

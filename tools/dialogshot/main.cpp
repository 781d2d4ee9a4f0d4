// korvelt-dialogshot: draws the game's dialogs with the generated art, each
// over a level background, headless, and writes one PNG per dialog:
// menu, gameover, continue, howto, hint-joker, hint-deck, options,
// levelwon and levelwon-record (the level-won summary, and with a new record),
// options-warning, and name and name-header-on-top (the player-name
// dialog's layout as given, and with its header at the top of its content).
// Usage: korvelt-dialogshot GAME_FOLDER OUT_PREFIX
//   e.g. korvelt-dialogshot build/game /tmp/shots/dialogs-

#include "framework/app/ZorvinAppBase.h"
#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Checkbox.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/Slider.h"
#include "game/app/ResBind.h"
#include "game/app/dialogs/ContinueGameWnd.h"
#include "game/app/dialogs/DemoDialog.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/AppDialogHost.h"
#include "game/app/dialogs/GameOverWnd.h"
#include "game/app/dialogs/HintWnd.h"
#include "game/app/dialogs/HowDialog.h"
#include "game/app/dialogs/LevelSummaryWnd.h"
#include "game/app/dialogs/MenuWnd.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace Zorvin;

namespace {

// A level background filling the screen.
class Backdrop : public Widget {
public:
    void Draw(Graphics* g) override
    {
        if (picture != nullptr)
            g->DrawImage(picture, 0, 0);
    }
    Image* picture = nullptr;
};

class ShotApp : public ZorvinAppBase, public AppDialogHost {
public:
    ShotApp() : AppDialogHost(static_cast<ZorvinAppBase&>(*this))
    {
        width = 800;
        height = 600;
        onlyAllowOneCopyToRun = false;
        autoStartLoadingThread = false;
        noSoundNeeded = true;
    }
    bool OverrideWorkingFolder(const std::string&) override { return true; }
    // The message dialogs look as the game makes them.
    std::unique_ptr<Dialog> MakeDialog(int id, bool modal, const std::string& header, const std::string& lines,
                                       const std::string& footer, int buttonMode) override
    {
        auto d =
            std::make_unique<Dialog>(IMAGE_W_SMALL, IMAGE_BUTTON_NORMAL, id, modal, header, lines, footer, buttonMode);
        StyleGameDialog(*d);
        d->spaceAfterHeader = 30;
        d->Resize(400 - IMAGE_W_SMALL->GetWidth() / 2, 300 - IMAGE_W_SMALL->GetHeight() / 2,
                  IMAGE_W_SMALL->GetWidth(), IMAGE_W_SMALL->GetHeight());
        return d;
    }

    PlayerProfile* GetCurrentProfile() override { return &profile; }
    void SavePlayers() override {}
    PlayMode GetBoardMode() override { return PlayModeOf(mode); }
    int GetShufflesLeft() override { return shuffles; }
    void FocusBoard() override {}
    void Restart() override {}
    void Reshuffle() override {}
    void SetBoardChanged() override {}
    void ExitToMainMenu(bool) override {}
    bool RestoreGame(PlayMode) override { return false; }
    void ShowBoardScreen() override {}
    void RemoveMainMenu() override {}
    void ShowMap() override {}
    void StartLevel() override {}
    void HideHintWindow() override {}
    AccelerationVerdict GetAccelerationVerdict() override { return AccelerationVerdict::NotRecommended; }

    PlayerProfile profile;
    int mode = 2;
    int shuffles = 1;
};

bool LoadArt(ShotApp& app)
{
    ResourceManager* rm = app.GetResourceManager();
    if (!rm->ParseManifest("properties/resources.xml")) {
        std::fprintf(stderr, "manifest: %s\n", rm->GetErrorText().c_str());
        return false;
    }
    for (const char* group : {"Init", "TitleScreen", "Game"})
        if (!rm->LoadResources(group)) {
            std::fprintf(stderr, "%s: %s\n", group, rm->GetErrorText().c_str());
            return false;
        }
    if (!BindInitResources(*rm) || !BindTitleScreenResources(*rm) || !BindGameResources(*rm)) {
        std::fprintf(stderr, "binding: %s\n", rm->GetErrorText().c_str());
        return false;
    }
    Checkbox::sDefaultImage = IMAGE_CHECKBOX;
    Slider::sDefaultTrackImage = IMAGE_SLIDER_TRACK;
    Slider::sDefaultThumbImage = IMAGE_SLIDER_THUMB;
    return true;
}

bool Shoot(ShotApp& app, const std::string& path)
{
    app.MarkAllDirty();
    app.GetWidgetManager()->DrawDirtyWidgets();
    std::string error;
    if (!PngWriter::Write(*app.GetScreenImage(), path, &error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

void CloseAll(ShotApp& app)
{
    app.CloseAllDialogs();
    app.ReleaseDeferredDeletions();
}

// The player-name dialog as the players' dialogs lay it out: header, the
// label "Имя" at (left inset, 60) and the edit field at (left inset, 65).
class NameDialogLayout : public Dialog {
public:
    // headerOnTop: the header written from the top of the content area
    // instead of below the framework's default background insets.
    explicit NameDialogLayout(bool headerOnTop)
        : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, 1006, true, W("Новый игрок"), "", "", ButtonsNone)
    {
        StyleGameDialog(*this);
        contentInsets = Insets{23, 20, 23, 20};
        spaceAfterHeader = 30;
        if (headerOnTop)
            backgroundInsets.top = 0;
    }
    void Draw(Graphics* g) override
    {
        Dialog::Draw(g);
        g->WriteString(W("Имя"), contentInsets.left, 60);
        int fieldH = FONT_DEFAULT->GetHeight() + 10;
        g->SetColor(Color(255, 255, 255, 200));
        g->FillRect(contentInsets.left, 65, width - 46, fieldH);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER OUT_PREFIX\n", argv[0]);
        return 2;
    }
    std::string out = argv[2];
    if (::chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    ShotApp app;
    app.SetCommandLine("korvelt-dialogshot");
    app.Initialize();
    if (!LoadArt(app))
        return 1;
    std::unique_ptr<MemoryImage> background = app.LoadDisplayImage("images/bg_harbour.png", 0);
    Backdrop backdrop;
    backdrop.picture = background.get();
    backdrop.Resize(0, 0, 800, 600);
    WidgetManager* wm = app.GetWidgetManager();
    wm->AddChild(&backdrop);

    bool ok = true;
    MenuWnd::Open(app);
    ok = Shoot(app, out + "menu.png") && ok;
    CloseAll(app);

    app.shuffles = 0;
    GameOverWnd::Open(app);
    ok = Shoot(app, out + "gameover.png") && ok;
    CloseAll(app);

    ContinueGameWnd::Open(app);
    ok = Shoot(app, out + "continue.png") && ok;
    CloseAll(app);

    app.profile.showHowToPlay = false;
    HowDialog::Open(app);
    ok = Shoot(app, out + "howto.png") && ok;
    CloseAll(app);

    // A won level: two stars of three, below the earlier best; then a
    // three-star win over it.
    LevelResult won{12, true, 2460, 3, 4, 57, 143, 2};
    const std::string wonHeader = W("Уровень пройден!"), wonButton = W("Продолжить");
    app.AddDialog(DialogLevelWon, std::make_unique<LevelSummaryWnd>(wonHeader, wonButton, won, 2980));
    ok = Shoot(app, out + "levelwon.png") && ok;
    CloseAll(app);
    won.score = 3140;
    won.stars = 3;
    app.AddDialog(DialogLevelWon, std::make_unique<LevelSummaryWnd>(wonHeader, wonButton, won, 2980));
    ok = Shoot(app, out + "levelwon-record.png") && ok;
    CloseAll(app);

    HintWnd hint(app);
    wm->AddChild(&hint);
    hint.Layout(490, 550, W("Это джокер! Его можно стыковать с любым камнем. Правой кнопкой можно вращать камни при "
                            "стыковке с джокером."));
    ok = Shoot(app, out + "hint-joker.png") && ok;
    hint.Layout(110, 540, W("Используйте колоду если на поле нет ходов."));
    ok = Shoot(app, out + "hint-deck.png") && ok;
    wm->RemoveChild(&hint);

    MenuWnd::Open(app);
    DemoDialog* options = DemoDialog::Open(app);
    ok = Shoot(app, out + "options.png") && ok;
    options->GetCheckbox(DemoDialog::Acceleration3DId)->SetChecked(true, true);
    ok = Shoot(app, out + "options-warning.png") && ok;
    CloseAll(app);

    for (bool headerOnTop : {false, true}) {
        auto name = std::make_unique<NameDialogLayout>(headerOnTop);
        name->Resize(400 - IMAGE_W_SMALL->GetWidth() / 2, 120, IMAGE_W_SMALL->GetWidth(), IMAGE_W_SMALL->GetHeight());
        app.AddDialog(1006, std::move(name));
        ok = Shoot(app, out + (headerOnTop ? "name-header-on-top.png" : "name.png")) && ok;
        CloseAll(app);
    }

    wm->RemoveChild(&backdrop);
    return ok ? 0 : 1;
}

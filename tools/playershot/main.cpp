// korvelt-playershot --game DIR --out PREFIX [--data FOLDER]
// Draws the change-player dialog, the name question (with a Russian name
// typed in) and the high-score window with a new row highlighted, each over
// a plain background, with the art and font of the game folder DIR (found
// through DIR/properties/resources.xml), and saves PREFIXchplayer.png,
// PREFIXname.png and PREFIXhighscores.png. No window is opened. With
// --data the players and high scores shown are also written as the game
// writes them, into FOLDER/players.dat and FOLDER/highscores.dat.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/core/Cp1251.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/EditWidget.h"
#include "game/app/ResBind.h"
#include "game/app/dialogs/ChPlayerDialog.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/shared/Res.h"

using namespace Zorvin;

namespace {

// A host for still pictures: it holds the players and answers nothing.
class StillHost : public PlayerDialogHost {
public:
    PlayerList& Players() override { return players; }
    void PlayClick() override {}
    bool AskName(const std::string&, const std::string&, const std::string&, std::string&) override { return false; }
    void ShowMessage(int, const std::string&, const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    void CloseDialog(Dialog*) override {}
    void OpenStatistics() override {}
    PlayerList players;
};

class Backdrop : public Widget {
public:
    void Draw(Graphics* g) override
    {
        for (int y = 0; y < height; y += 4) {
            g->SetColor(Color(30, 60 + y / 12, 100 + y / 8));
            g->FillRect(0, y, width, 4);
        }
    }
};

bool Shoot(Widget& dialog, Widget* focus, const std::string& path)
{
    MemoryImage screen(800, 600);
    WidgetManager wm(nullptr);
    wm.image = &screen;
    wm.ResizeRoot(800, 600);
    Backdrop backdrop;
    backdrop.Resize(0, 0, 800, 600);
    wm.AddChild(&backdrop);
    wm.AddChild(&dialog);
    if (focus)
        wm.SetFocusWidget(focus);
    wm.UpdateWidgets();
    wm.DrawDirtyWidgets();
    wm.RemoveChild(&dialog);
    wm.RemoveChild(&backdrop);
    std::string error;
    if (!PngWriter::Write(screen, path, &error)) {
        std::fprintf(stderr, "dialogshot: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string game = "game", out = "dialog-", data;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--game")
            game = argv[i + 1];
        else if (a == "--out")
            out = argv[i + 1];
        else if (a == "--data")
            data = argv[i + 1];
    }
    out = std::filesystem::absolute(out).string();
    if (!data.empty())
        data = std::filesystem::absolute(data).string() + "/";
    std::filesystem::current_path(game);
    FileResourceHost host;
    ResourceManager rm(&host);
    if (!rm.ParseManifest("properties/resources.xml") || !rm.LoadResources("Init") || !rm.LoadResources("TitleScreen")
        || !rm.LoadResources("Game") || !BindInitResources(rm) || !BindTitleScreenResources(rm)
        || !BindGameResources(rm)) {
        std::fprintf(stderr, "dialogshot: %s\n", rm.GetErrorText().c_str());
        return 1;
    }

    StillHost still;
    still.players = PlayerList(data);
    for (const char* name : {"Anna", "Ёжик", "Гелиос", "Артемида"})
        still.players.AddPlayer(W(name));
    still.players.currentPlayer = 1;
    bool ok = true;
    {
        ChPlayerDialog d(still, W("Изменение игрока"));
        d.Resize(200, 150, 400, 300);
        d.FillList();
        ok &= Shoot(d, nullptr, out + "chplayer.png");
        if (!data.empty())
            ok &= still.players.SavePlayers();
    }
    {
        DialogWithEdit d(W("Новый игрок"), W("Имя"), W("Анастасия"), &still);
        int w = IMAGE_W_SMALL->width, h = IMAGE_W_SMALL->height;
        d.Resize(400 - w / 2, 300 - h / 2, w, h);
        ok &= Shoot(d, &d.Edit(), out + "name.png");
    }
    {
        HighScoreTable table(data);
        HighscoresWnd d(still, table, 0);
        d.highlightRow = table.Insert(0, W("Ёжик"), 4500);
        ok &= Shoot(d, nullptr, out + "highscores.png");
        if (!data.empty())
            ok &= table.SaveHighScores();
    }
    ClearBoundResources();
    return ok ? 0 : 1;
}

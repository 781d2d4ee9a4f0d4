// korvelt-levelshot: a picture of a level as the game shows it. The level is
// started on the real Board with its BoardInterface panel and the game's
// resources, optionally played for a number of moves by the headless player
// (through the panel's mouse handlers), and one frame is written as PNG.
//
//   korvelt-levelshot --game DIR --mode drag|click --level N --out FILE.png
//                     [--moves M] [--seed S] [--updates U] [--preview | --map | --editor]
//
// DIR is the game folder (build/game). --moves lets the headless player put
// M tiles first; --updates lets U logic updates pass before the picture
// (default 150, so the deal's glides and flips have settled). --preview
// writes the map's 120 x 90 picture of the level instead; --map draws the
// map screen entered with the player at level N, U updates later (at the
// first level of a stage the marker is sailing there for 200 updates).
// --editor shows the level editor instead, entered through the panel's
// keys: the top layer edited over the layers below, the dot grid on, the
// first tile of the edited layer marked with a right click, and the cursor
// on an empty cell.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/core/KeyCodes.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/graphics/Graphics.h"
#include "game/board/FishField.h"
#include "game/board/editor/LevelEditor.h"
#include "game/board/view/LevelPreview.h"
#include "tools/levelshot/LevelScene.h"
#include "tools/levelshot/MapScene.h"

using namespace Zorvin;

namespace {

const char* const kUsage =
    "usage: korvelt-levelshot --game DIR --mode drag|click --level N --out FILE.png\n"
    "                         [--moves M] [--seed S] [--updates U] [--preview | --map | --editor]\n"
    "Draws level N of the game folder DIR as the board shows it, after M moves\n"
    "of the headless player (default 0), into FILE.png; with --preview, the\n"
    "map's 120 x 90 picture of the level; with --map, the map screen with the\n"
    "player at level N, U updates after entering it; with --editor, the level\n"
    "editor on the level, with its grid and a marked tile.\n";

struct Options {
    std::string game, out, mode = "drag";
    int level = 1, moves = 0, updates = 150;
    bool preview = false;
    bool map = false;
    unsigned seed = 1;
    bool editor = false;
};

bool ParseInt(const std::string& text, int& value)
{
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < -1000000 || v > 1000000)
        return false;
    value = static_cast<int>(v);
    return true;
}

// 0 parsed, 1 help shown, 2 error (message printed).
int Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 1;
        }
        if (a == "--preview" || a == "--map") {
            (a == "--map" ? o.map : o.preview) = true;
            continue;
        }
        if (a == "--editor") {
            o.editor = true;
            continue;
        }
        bool known = a == "--game" || a == "--out" || a == "--mode" || a == "--level" || a == "--moves"
                     || a == "--seed" || a == "--updates";
        if (!known) {
            std::fprintf(stderr, "korvelt-levelshot: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "korvelt-levelshot: %s needs a value\n", a.c_str());
            return 2;
        }
        std::string v = argv[++i];
        int n = 0;
        bool number = ParseInt(v, n);
        if (a == "--game")
            o.game = v;
        else if (a == "--out")
            o.out = v;
        else if (a == "--mode")
            o.mode = v;
        else if (!number) {
            std::fprintf(stderr, "korvelt-levelshot: %s needs a number, not '%s'\n", a.c_str(), v.c_str());
            return 2;
        } else if (a == "--level")
            o.level = n;
        else if (a == "--moves")
            o.moves = n;
        else if (a == "--seed")
            o.seed = static_cast<unsigned>(n);
        else
            o.updates = n;
    }
    if (o.game.empty() || o.out.empty()) {
        std::fprintf(stderr, "korvelt-levelshot: --game and --out are required\n%s", kUsage);
        return 2;
    }
    if (o.mode != "drag" && o.mode != "click") {
        std::fprintf(stderr, "korvelt-levelshot: --mode is drag or click, not '%s'\n", o.mode.c_str());
        return 2;
    }
    return 0;
}

int WriteMap(LevelScene& scene, int mode, const Options& o, const std::string& out)
{
    MapScene map(scene, mode);
    map.Enter(o.level);
    map.Settle(o.updates);
    MemoryImage screen(800, 600);
    map.DrawFrame(screen);
    std::string error;
    if (!PngWriter::Write(screen, out, &error)) {
        std::fprintf(stderr, "korvelt-levelshot: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// Opens the editor on the started level as a level builder would: F8 and
// Tab with the developer keys on, a right click on the first tile of the
// edited layer, then the pointer resting on a free cell.
void ShowEditor(LevelScene& scene)
{
    scene.panelHost.debugKeys = true;
    BoardInterface& panel = *scene.panel;
    FishField& field = *scene.board->field;
    panel.KeyDown(KeyF8);
    panel.KeyDown(KeyTab);
    int l = scene.board->editor->EditedLayer();
    if (!field.layers[l].empty()) {
        const DominoFish& f = *field.layers[l].front();
        int px = f.x + 7 * l, py = f.y - 7 * l;
        panel.MouseMove(px, py);
        panel.MouseDown(px, py, -1);
        panel.MouseUp(px, py, -1);
    }
    panel.MouseMove(100 + 7 * l, 470 - 7 * l);
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (int r = Parse(argc, argv, o))
        return r == 1 ? 0 : 2;
    // The scene works from the game folder; the output stays where it was asked.
    std::string out = std::filesystem::absolute(o.out).string();
    std::srand(o.seed);
    LevelScene scene;
    std::string error;
    if (!scene.Open(o.game, error)) {
        std::fprintf(stderr, "korvelt-levelshot: %s\n", error.c_str());
        return 1;
    }
    PlayMode mode = o.mode == "click" ? PlayMode::Click : PlayMode::Drag;
    if (!scene.Start(mode, o.level, error)) {
        std::fprintf(stderr, "korvelt-levelshot: %s\n", error.c_str());
        return 1;
    }
    if (o.map)
        return WriteMap(scene, StoredMode(mode), o, out);
    if (o.preview) {
        MemoryImage picture(120, 90);
        Graphics g(&picture);
        RenderLevelPreview(o.level, *scene.board->field, g);
        if (!PngWriter::Write(picture, out, &error)) {
            std::fprintf(stderr, "korvelt-levelshot: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    scene.Settle(o.updates);
    int made = scene.Play(o.moves);
    if (made < o.moves)
        std::fprintf(stderr, "korvelt-levelshot: the level ended after %d moves\n", made);
    scene.Settle(o.moves > 0 ? 60 : 0);
    if (o.editor)
        ShowEditor(scene);
    MemoryImage screen(800, 600);
    scene.DrawFrame(screen);
    if (!PngWriter::Write(screen, out, &error)) {
        std::fprintf(stderr, "korvelt-levelshot: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

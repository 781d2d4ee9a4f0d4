// korvelt-levelshot --game DIR --mode drag|click --level N --out FILE.png [--seed S]
// Deals a level of the game folder DIR through the board rules and draws a
// still of it with the game's art (found through DIR/properties/resources.xml):
// background, tile shadows, the tiles of every layer with their values,
// locks, keys and jokers, the panels, the play line and the deck. It is a
// review picture of a level design, drawn the way the board lays out a
// level, not the game's own board drawing.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/MemoryImageLoader.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/XMLParser.h"
#include "game/board/BoardRules.h"
#include "game/board/HeadlessHost.h"
#include "game/board/LevelFile.h"

using namespace Zorvin;

namespace {

struct Art {
    std::string dir;
    std::map<std::string, std::string> paths;
    std::map<std::string, std::pair<int, int>> grids; // rows, columns
    std::map<std::string, std::unique_ptr<MemoryImage>> loaded;

    // Reads the image entries of the manifest: identifier -> file path.
    bool ReadManifest()
    {
        XMLParser reader;
        if (!reader.OpenFile(dir + "/properties/resources.xml"))
            return false;
        std::string prefix, idPrefix;
        XMLNode node;
        while (reader.ReadNode(node)) {
            if (node.type != XMLNode::TYPE_START)
                continue;
            auto attr = [&](const char* name) {
                auto it = node.attributes.find(name);
                return it == node.attributes.end() ? std::string() : it->second;
            };
            if (node.value == "SetDefaults") {
                prefix = attr("path");
                while (!prefix.empty() && (prefix.back() == '/' || prefix.back() == '\\'))
                    prefix.pop_back();
                if (!prefix.empty())
                    prefix += "/";
                idPrefix = attr("idprefix");
            } else if (node.value == "Image") {
                std::string path = attr("path"), id = attr("id");
                if (path.empty() || id.empty())
                    continue;
                paths[idPrefix + id] = prefix + path;
                int rows = std::atoi(attr("rows").c_str()), cols = std::atoi(attr("cols").c_str());
                grids[idPrefix + id] = {rows > 0 ? rows : 1, cols > 0 ? cols : 1};
            }
        }
        return !paths.empty();
    }

    Image* Get(const std::string& id)
    {
        auto it = loaded.find(id);
        if (it != loaded.end())
            return it->second.get();
        std::unique_ptr<MemoryImage> image;
        auto p = paths.find(id);
        if (p != paths.end()) {
            image = LoadMemoryImage(dir + "/" + p->second);
            if (image) {
                image->numRows = grids[id].first;
                image->numCols = grids[id].second;
            } else {
                std::fprintf(stderr, "levelshot: cannot load %s (%s)\n", id.c_str(), p->second.c_str());
            }
        }
        Image* raw = image.get();
        loaded[id] = std::move(image);
        return raw;
    }
    Image* File(const std::string& path)
    {
        auto image = LoadMemoryImage(dir + "/" + path);
        Image* raw = image.get();
        loaded["file:" + path] = std::move(image);
        return raw;
    }
};

void DrawCentred(Graphics& g, Image* image, int boxX, int boxY)
{
    if (image)
        g.DrawImageCel(image, boxX + (40 - image->GetCelWidth()) / 2, boxY + (50 - image->GetCelHeight()) / 2, 0);
}

void DrawFish(Graphics& g, Art& art, const DominoFish& f)
{
    static const char* const kPlain[4] = {"IMAGE_FISH_L", "IMAGE_FISH_L", "IMAGE_FISH_L2", "IMAGE_FISH_L3"};
    static const char* const kBack[4] = {"IMAGE_FISH_BACK", "IMAGE_FISH_BACK", "IMAGE_FISH_BACK2", "IMAGE_FISH_BACK3"};
    static const char* const kItems[3] = {"IMAGE_KEY_ANIM", "IMAGE_PYRAMID_ANIM", "IMAGE_SPHERE_ANIM"};
    int style = f.style & 3;
    if (f.open) {
        Image* face = art.Get(f.joker ? "IMAGE_FISH_JOKER" : kPlain[style]);
        if (face)
            g.DrawImageCel(face, f.left, f.top, 0);
        if (!f.joker && (f.orientation == 1 || f.orientation == 3)) {
            DrawCentred(g, art.Get("IMAGE_TYP" + std::to_string(f.LeftValue())), f.left + 6, f.top);
            DrawCentred(g, art.Get("IMAGE_TYP" + std::to_string(f.RightValue())), f.left + 46, f.top);
        }
        if (f.itemType >= 0 && f.itemType < 3) {
            if (Image* item = art.Get(kItems[f.itemType]))
                g.DrawImageCel(item, f.left + FishField::itemOffsets[f.itemType][0],
                               f.top + FishField::itemOffsets[f.itemType][1], 0);
        }
    } else {
        Image* back = art.Get(f.joker ? "IMAGE_FISH_JOKER_BACK" : kBack[style]);
        if (back)
            g.DrawImageCel(back, f.left, f.top, 0);
        if (!f.joker && f.lockType >= 0 && f.lockType < 3) {
            if (Image* lock = art.Get("IMAGE_FISH_LOCK" + std::to_string(f.lockType)))
                g.DrawImage(lock, f.left + FishField::lockOffsets[f.lockType][0],
                            f.top + FishField::lockOffsets[f.lockType][1]);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: korvelt-levelshot --game DIR --mode drag|click --level N --out FILE.png [--seed S]\n";
    std::string game, out, modeName = "drag";
    long level = 1, seed = 1;
    // A whole decimal number within [min, max], nothing else.
    auto number = [](const std::string& text, long min, long max, long& value) {
        char* end = nullptr;
        errno = 0;
        long v = std::strtol(text.c_str(), &end, 10);
        if (errno != 0 || text.empty() || *end != '\0' || v < min || v > max)
            return false;
        value = v;
        return true;
    };
    std::string problem;
    for (int i = 1; i < argc && problem.empty(); i += 2) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::printf("%s", usage);
            return 0;
        }
        if (a != "--game" && a != "--out" && a != "--mode" && a != "--level" && a != "--seed") {
            problem = "unknown argument: " + a;
            break;
        }
        if (i + 1 >= argc) {
            problem = a + " needs a value";
            break;
        }
        std::string v = argv[i + 1];
        if (a == "--game")
            game = v;
        else if (a == "--out")
            out = v;
        else if (a == "--mode")
            modeName = v;
        else if (a == "--level" && !number(v, 1, 99999, level))
            problem = "--level must be a number from 1 to 99999";
        else if (a == "--seed" && !number(v, 0, 4294967295L, seed))
            problem = "--seed must be a number from 0 to 4294967295";
    }
    if (problem.empty() && (game.empty() || out.empty()))
        problem = "--game and --out are required";
    if (problem.empty() && modeName != "drag" && modeName != "click")
        problem = "--mode must be drag or click";
    if (!problem.empty()) {
        std::fprintf(stderr, "levelshot: %s\n%s", problem.c_str(), usage);
        return 2;
    }
    int mode = modeName == "click" ? FishField::kClickMode : FishField::kDragMode;
    Art art;
    art.dir = game;
    if (!art.ReadManifest()) {
        std::fprintf(stderr, "levelshot: no manifest in %s/properties\n", game.c_str());
        return 1;
    }

    srand(static_cast<unsigned>(seed));
    HeadlessHost host;
    host.profile.levelMode0 = host.profile.levelMode2 = static_cast<int>(level);
    BoardRules rules(host);
    host.onUpdate = [&rules] { rules.Update(); };
    rules.field->mode = mode;
    rules.field->levelNumber = static_cast<int>(level);
    std::string path = game + "/" + LevelPath(mode, level);
    if (!rules.StartLevelFile(path) || rules.field->fishCount == 0) {
        std::fprintf(stderr, "levelshot: %s is not a level with tiles\n", path.c_str());
        return 1;
    }
    for (int i = 0; i < 80; ++i)
        host.Tick(); // let the line's first glides settle
    FishField& field = *rules.field;

    MemoryImage screen(800, 600);
    Graphics g(&screen);
    if (Image* bg = art.File("images/" + field.backgroundName))
        g.DrawImage(bg, 0, 0);
    Image* shadow = art.Get("IMAGE_FISH_BORDER");
    for (size_t i = 0; i < field.layers.size(); ++i) {
        for (auto& f : field.layers[i]) {
            if (shadow)
                g.DrawImage(shadow, f->x + 7 * static_cast<int>(i) - 44, f->y - 7 * static_cast<int>(i) - 29);
        }
    }
    if (Image* p = art.Get("IMAGE_PANEL"))
        g.DrawImage(p, 0, 520);
    if (Image* p = art.Get("IMAGE_PANEL_UP"))
        g.DrawImage(p, 0, 0);
    for (auto& layer : field.layers) {
        for (auto& f : layer)
            DrawFish(g, art, *f);
    }
    if (Image* strip = art.Get("IMAGE_PLAYLINE"))
        g.DrawImage(strip, 400 - strip->GetWidth() / 2, 540);
    for (auto& f : rules.playLine->fish)
        DrawFish(g, art, *f);
    bool click = mode == FishField::kClickMode;
    if (Image* deck = art.Get(click ? "IMAGE_DECK_PLACE" : "IMAGE_CROP_DECK"))
        g.DrawImage(deck, rules.deck->x - 7, rules.deck->y - 2);
    if (!click) {
        if (Image* rock = art.Get("IMAGE_ROCK_PLACE")) {
            for (int i = rules.deck->placeCount - 1; i >= 0; --i)
                g.DrawImage(rock, rules.deck->x - 5, rules.deck->y - 20 - 60 * (i + 1));
        }
    }
    for (size_t i = 0; i < rules.deck->fish.size() && i < 3; ++i) {
        if (Image* back = art.Get("IMAGE_FISH_BACK"))
            g.DrawImage(back, rules.deck->x + 7 * static_cast<int>(i), rules.deck->y - 7 * static_cast<int>(i));
    }
    if (Image* meter = art.Get("IMAGE_COMBO_METER"))
        g.DrawImage(meter, 760, 270);
    if (Image* labels = art.Get("IMAGE_COMBO_METER_LABELS"))
        g.DrawImage(labels, 760, 270);
    std::string error;
    if (!PngWriter::Write(screen, out, &error)) {
        std::fprintf(stderr, "levelshot: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

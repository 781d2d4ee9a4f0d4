#include "tools/assetgen/art/ImageCatalog.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace Zorvin::AssetGen {

std::string ImageEntry::File() const
{
    std::string name = id;
    if (name.rfind("IMAGE_", 0) == 0)
        name = name.substr(6);
    else if (name.rfind("IM_", 0) == 0)
        name = name.substr(3);
    for (char& c : name) c = char(std::tolower((unsigned char)c));
    return "images/" + name + ".png";
}

namespace {

std::vector<ImageEntry> BuildCatalog()
{
    const char* T = "TitleScreen";
    const char* G = "Game";
    std::vector<ImageEntry> v = {
        // Loading screen: bar at (400 - w/2, 450), title picture at y 330
        // above it, "Загрузка..." at y 500 below.
        {"IMAGE_LOADER_BAR", T, 400, 20},
        {"IMAGE_LOADER_KORVELT", T, 480, 110},
        {"IMAGE_LOGO_BIG", T, 360, 270},

        // Tip balloon: window (W + 29) x (H + 30), arrow at (0, H - 20),
        // text in (59, 30, W - 60, 100), close button at (120, 110); a tip
        // shown at x 490 must still end inside the 800-pixel screen.
        {"IMAGE_ARROW", G, 48, 52},
        {"IMAGE_W_HINT", G, 280, 170},

        // Main menu mode buttons at (313, 314) and (313, 370), height - 4
        // high; the widest label is "Односторонняя игра".
        {"IMAGE_BIG_BUTTON", G, 180, 52},
        {"IMAGE_BIG_BUTTON_DISABLE", G, 180, 52},
        {"IMAGE_BIG_BUTTON_DOWN", G, 180, 52},
        {"IMAGE_BIG_BUTTON_OVER", G, 180, 52},
        // Panel buttons at (578, 538), (578, 568), (128, 568), height - 2
        // high; also the nine-slice frame of message-dialog buttons.
        {"IMAGE_BUTTON_DISABLE", G, 110, 30},
        {"IMAGE_BUTTON_DOWN", G, 110, 30},
        // Menu button at (693, 540), its own size.
        {"IMAGE_BUTTON_MENU", G, 100, 56},
        {"IMAGE_BUTTON_MENU_DOWN", G, 100, 56},
        {"IMAGE_BUTTON_MENU_OVER", G, 100, 56},
        {"IMAGE_BUTTON_NORMAL", G, 110, 30},
        {"IMAGE_BUTTON_OVER", G, 110, 30},

        // Map markers: drawn at (x - w/2, y - 35) and (x - w/2, y - 50).
        {"IMAGE_CHARIOT", G, 60, 42},
        {"IMAGE_SHIP", G, 62, 56},
        // Left half unchecked, right half checked.
        {"IMAGE_CHECKBOX", G, 48, 24, 2, 1},

        // Combo meter at (760, 270); the fill at (761, 271) one pixel inside.
        {"IMAGE_COMBO_METER", G, 34, 204},
        {"IMAGE_COMBO_METER_LABELS", G, 34, 204},
        {"IMAGE_COMBO_METER_ON", G, 32, 202},

        // Campaign-complete dialog: sized to the image, its frame drawn into
        // the rectangle 80 pixels inside on every side.
        {"IMAGE_COMPLETE_WND", G, 720, 480},

        // Deck base at (x - 7, y - 2) = (-2, 538); the place rocks at
        // (0, 460 - 60 i).
        {"IMAGE_CROP_DECK", G, 126, 62},
        {"IMAGE_DECK_PLACE", G, 126, 62},
        {"IMAGE_NO_CROPS", G, 126, 62},
        {"IMAGE_ROCK_PLACE", G, 112, 62},

        // High-score window: (W + 200) x H centred, "Ok" at (295, 350);
        // also the options and change-player frames at other sizes.
        {"IMAGE_DIALOG_BOX", G, 530, 400},

        // Tiles: drawn at the tile's top-left; shadow at (left - 4, top - 4);
        // flip cels at (left - 3, top - 17).
        {"IMAGE_FISH_BACK", G, 88, 58},
        {"IMAGE_FISH_BACK2", G, 88, 58},
        {"IMAGE_FISH_BACK3", G, 88, 58},
        {"IMAGE_FISH_BORDER", G, 96, 66},
        {"IMAGE_FISH_JOKER", G, 88, 58},
        {"IMAGE_FISH_JOKER_BACK", G, 88, 58},
        {"IMAGE_FISH_JOKER_ROTATE", G, 96 * kFlipCels, 80, kFlipCels, 1},
        {"IMAGE_FISH_L", G, 88, 58},
        {"IMAGE_FISH_L2", G, 88, 58},
        {"IMAGE_FISH_L3", G, 88, 58},
        // Locks at (-3, -6), (9, -38), (15, -3) from the tile's corner.
        {"IMAGE_FISH_LOCK0", G, 96, 70},
        {"IMAGE_FISH_LOCK1", G, 44, 60},
        {"IMAGE_FISH_LOCK2", G, 62, 56},
        {"IMAGE_FISH_OVER", G, 88, 58},
        {"IMAGE_FISH_OVER2", G, 88, 58},
        {"IMAGE_FISH_OVER3", G, 88, 58},
        {"IMAGE_FISH_ROTATE", G, 96 * kFlipCels, 80, kFlipCels, 1},
        {"IMAGE_FISH_ROTATE2", G, 96 * kFlipCels, 80, kFlipCels, 1},
        {"IMAGE_FISH_ROTATE3", G, 96 * kFlipCels, 80, kFlipCels, 1},

        {"IMAGE_HOW_TO_PLAY1", G, 800, 600},
        {"IMAGE_HOW_TO_PLAY2", G, 800, 600},

        // Items at (6, 9), (0, -55), (18, -35) from the tile's corner; one
        // cel every 4 updates.
        {"IMAGE_KEY_ANIM", G, 40 * 8, 34, 8, 1, "loop", 4},
        {"IMAGE_LOGO_SMALL", G, 150, 110},
        {"IMAGE_MAP_POINT", G, 26, 26},
        {"IMAGE_MAP_POINT_COMPLETE", G, 26, 26},
        {"IMAGE_MAP_POINT_SELECT", G, 26, 26},

        // Board backdrop: lower panel at (0, 520), upper at (0, 0), the
        // instruction panel at (0, 26) with the magnified tile at (12, 31).
        {"IMAGE_PANEL", G, 800, 80},
        // Play line: frame over the two ends at (348, 516), the recess
        // under them at the same place, the click-mode frame at (305, 519)
        // and the strip at (400 - w/2, 540).
        {"IMAGE_PANEL_LINE", G, 112, 84},
        {"IMAGE_PANEL_LINE_LAG", G, 112, 84},
        {"IMAGE_PANEL_LINE_OSS", G, 228, 81},
        {"IMAGE_PANEL_UP", G, 800, 26},
        {"IMAGE_PLAYLINE", G, 250, 60},
        {"IMAGE_PREVIEW", G, 112, 76},
        {"IMAGE_PYRAMID_ANIM", G, 80 * 8, 62, 8, 1, "loop", 4},

        // Thumbnail scrolls at (X - 10, Y - 8) around a 120 x 90 thumbnail;
        // the rolls are the columns 0-17 and 123-143.
        {"IMAGE_SCROLL", G, 143, 112},
        {"IMAGE_SCROLL_OVER", G, 143, 112},
        {"IMAGE_SCROLL_SELECT", G, 143, 112},

        // Options sliders at x + 80 and x + w - 80 - w(track) of a 540-wide
        // dialog; the track is three equal cells.
        {"IMAGE_SLIDER_THUMB", G, 20, 28},
        {"IMAGE_SLIDER_TRACK", G, 168, 16, 3, 1},
        {"IMAGE_SPHERE_ANIM", G, 52 * 8, 52, 8, 1, "loop", 4},
        // A level's rating: cel 0 a star earned, cel 1 one still to earn;
        // three in a row on the level-won summary, and small on the map's
        // scrolls and stage total.
        {"IMAGE_STAR", G, 52 * 2, 50, 2, 1},
        {"IMAGE_STAR_SMALL", G, 16 * 2, 16, 2, 1},
        {"IMAGE_TITLE", G, 800, 600},
        // The map of each mode, with only that mode's route: drag mode
        // (the ship) and click mode (the chariot).
        {"IMAGE_W_MAP", G, 800, 600},
        {"IMAGE_W_MAP2", G, 800, 600},
        // In-game menu: 250 x 280, five buttons at x 55 from y 40.
        {"IMAGE_W_MENU", G, 250, 280},
        // Small dialogs: buttons at (30, 105) and (195, 105); tall enough
        // for three lines of a confirmation above a Yes/No pair.
        {"IMAGE_W_SMALL", G, 356, 196},
        // Combo popups start at (745, 405), (745, 329), (745, 260).
        {"IMAGE_x2", G, 60, 40},
        {"IMAGE_x3", G, 60, 40},
        {"IMAGE_x4", G, 60, 40},

        // Bonus pictures, popped up from (x - w/2, 530).
        {"IM_BONUS_100", G, 72, 60},
        {"IM_BONUS_200", G, 72, 60},
        {"IM_BONUS_CROP", G, 72, 60},
        {"IM_BONUS_JOKER", G, 72, 60},
        {"IM_BONUS_PLACE", G, 72, 60},
        {"IM_BONUS_RESHUFFLE", G, 72, 60},
        {"IM_BONUS_STAR", G, 24 * 8, 24, 8, 1, "loop", 4},
        {"IM_BONUS_STONE", G, 72, 60},
        // Change-player button at (285, 130), its own size.
        {"IM_B_CHANGE_PLAYER", G, 230, 30},
        // The text button of the screens and dialogs: as wide as the image,
        // 2 pixels less high; 40 pixels apart in the menus.
        {"IM_B_DIALOG", G, 132, 36},
        {"IM_B_DIALOG_DISABLE", G, 132, 36},
        {"IM_B_DIALOG_DOWN", G, 132, 36},
        {"IM_B_DIALOG_OVER", G, 132, 36},
        {"IM_B_MENU", G, 132, 36},
        {"IM_B_OVER_CHANGE_PLAYER", G, 230, 30},
        {"IM_B_OVER_MENU", G, 132, 36},
    };
    // Tile value pictures, centred in a 40 x 50 half of the face.
    static const std::vector<std::string> typNames = [] {
        std::vector<std::string> names;
        for (int k = 0; k < kValueCount; ++k) names.push_back("IMAGE_TYP" + std::to_string(k));
        return names;
    }();
    for (const std::string& name : typNames) v.push_back({name.c_str(), G, 34, 44});
    std::sort(v.begin(), v.end(), [](const ImageEntry& a, const ImageEntry& b) { return std::strcmp(a.id, b.id) < 0; });
    return v;
}

} // namespace

const std::vector<ImageEntry>& ImageCatalog()
{
    static const std::vector<ImageEntry> catalog = BuildCatalog();
    return catalog;
}

const ImageEntry* FindImage(const std::string& id)
{
    for (const ImageEntry& e : ImageCatalog())
        if (id == e.id) return &e;
    return nullptr;
}

} // namespace Zorvin::AssetGen

#include "game/app/ResBind.h"

#include "framework/widgets/controls/Slider.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ResourceManager.h"
#include "game/shared/Res.h"

#include <algorithm>

namespace Zorvin {

namespace {

struct ImageId {
    const char* name;
    Image** variable;
};

struct SoundId {
    const char* name;
    int* variable;
};

// The tables list each group's identifiers; binding sorts them itself, so
// the byte order of the names decides, whatever the order here.
const ImageId kTitleScreenImages[] = {
    {"IMAGE_LOADER_BAR", &IMAGE_LOADER_BAR},
    {"IMAGE_LOADER_KORVELT", &IMAGE_LOADER_KORVELT},
    {"IMAGE_LOGO_BIG", &IMAGE_LOGO_BIG},
};

const SoundId kTitleScreenSounds[] = {
    {"SOUND_CONTINUE", &SOUND_CONTINUE},
};

const ImageId kGameImages[] = {
    {"IMAGE_ARROW", &IMAGE_ARROW},
    {"IMAGE_BIG_BUTTON", &IMAGE_BIG_BUTTON},
    {"IMAGE_BIG_BUTTON_DISABLE", &IMAGE_BIG_BUTTON_DISABLE},
    {"IMAGE_BIG_BUTTON_DOWN", &IMAGE_BIG_BUTTON_DOWN},
    {"IMAGE_BIG_BUTTON_OVER", &IMAGE_BIG_BUTTON_OVER},
    {"IMAGE_BUTTON_DISABLE", &IMAGE_BUTTON_DISABLE},
    {"IMAGE_BUTTON_DOWN", &IMAGE_BUTTON_DOWN},
    {"IMAGE_BUTTON_MENU", &IMAGE_BUTTON_MENU},
    {"IMAGE_BUTTON_MENU_DOWN", &IMAGE_BUTTON_MENU_DOWN},
    {"IMAGE_BUTTON_MENU_OVER", &IMAGE_BUTTON_MENU_OVER},
    {"IMAGE_BUTTON_NORMAL", &IMAGE_BUTTON_NORMAL},
    {"IMAGE_BUTTON_OVER", &IMAGE_BUTTON_OVER},
    {"IMAGE_CHARIOT", &IMAGE_CHARIOT},
    {"IMAGE_CHECKBOX", &IMAGE_CHECKBOX},
    {"IMAGE_COMBO_METER", &IMAGE_COMBO_METER},
    {"IMAGE_COMBO_METER_LABELS", &IMAGE_COMBO_METER_LABELS},
    {"IMAGE_COMBO_METER_ON", &IMAGE_COMBO_METER_ON},
    {"IMAGE_COMPLETE_WND", &IMAGE_COMPLETE_WND},
    {"IMAGE_CROP_DECK", &IMAGE_CROP_DECK},
    {"IMAGE_DECK_PLACE", &IMAGE_DECK_PLACE},
    {"IMAGE_DIALOG_BOX", &IMAGE_DIALOG_BOX},
    {"IMAGE_FISH_BACK", &IMAGE_FISH_BACK},
    {"IMAGE_FISH_BACK2", &IMAGE_FISH_BACK2},
    {"IMAGE_FISH_BACK3", &IMAGE_FISH_BACK3},
    {"IMAGE_FISH_BORDER", &IMAGE_FISH_BORDER},
    {"IMAGE_FISH_JOKER", &IMAGE_FISH_JOKER},
    {"IMAGE_FISH_JOKER_BACK", &IMAGE_FISH_JOKER_BACK},
    {"IMAGE_FISH_JOKER_ROTATE", &IMAGE_FISH_JOKER_ROTATE},
    {"IMAGE_FISH_L", &IMAGE_FISH_L},
    {"IMAGE_FISH_L2", &IMAGE_FISH_L2},
    {"IMAGE_FISH_L3", &IMAGE_FISH_L3},
    {"IMAGE_FISH_LOCK0", &IMAGE_FISH_LOCK0},
    {"IMAGE_FISH_LOCK1", &IMAGE_FISH_LOCK1},
    {"IMAGE_FISH_LOCK2", &IMAGE_FISH_LOCK2},
    {"IMAGE_FISH_OVER", &IMAGE_FISH_OVER},
    {"IMAGE_FISH_OVER2", &IMAGE_FISH_OVER2},
    {"IMAGE_FISH_OVER3", &IMAGE_FISH_OVER3},
    {"IMAGE_FISH_ROTATE", &IMAGE_FISH_ROTATE},
    {"IMAGE_FISH_ROTATE2", &IMAGE_FISH_ROTATE2},
    {"IMAGE_FISH_ROTATE3", &IMAGE_FISH_ROTATE3},
    {"IMAGE_HOW_TO_PLAY1", &IMAGE_HOW_TO_PLAY1},
    {"IMAGE_HOW_TO_PLAY2", &IMAGE_HOW_TO_PLAY2},
    {"IMAGE_KEY_ANIM", &IMAGE_KEY_ANIM},
    {"IMAGE_LOGO_SMALL", &IMAGE_LOGO_SMALL},
    {"IMAGE_MAP_POINT", &IMAGE_MAP_POINT},
    {"IMAGE_MAP_POINT_COMPLETE", &IMAGE_MAP_POINT_COMPLETE},
    {"IMAGE_MAP_POINT_SELECT", &IMAGE_MAP_POINT_SELECT},
    {"IMAGE_NO_CROPS", &IMAGE_NO_CROPS},
    {"IMAGE_PANEL", &IMAGE_PANEL},
    {"IMAGE_PANEL_LINE", &IMAGE_PANEL_LINE},
    {"IMAGE_PANEL_LINE_LAG", &IMAGE_PANEL_LINE_LAG},
    {"IMAGE_PANEL_LINE_OSS", &IMAGE_PANEL_LINE_OSS},
    {"IMAGE_PANEL_UP", &IMAGE_PANEL_UP},
    {"IMAGE_PLAYLINE", &IMAGE_PLAYLINE},
    {"IMAGE_PREVIEW", &IMAGE_PREVIEW},
    {"IMAGE_PYRAMID_ANIM", &IMAGE_PYRAMID_ANIM},
    {"IMAGE_ROCK_PLACE", &IMAGE_ROCK_PLACE},
    {"IMAGE_SCROLL", &IMAGE_SCROLL},
    {"IMAGE_SCROLL_OVER", &IMAGE_SCROLL_OVER},
    {"IMAGE_SCROLL_SELECT", &IMAGE_SCROLL_SELECT},
    {"IMAGE_SHIP", &IMAGE_SHIP},
    {"IMAGE_SLIDER_THUMB", &IMAGE_SLIDER_THUMB},
    {"IMAGE_SLIDER_TRACK", &IMAGE_SLIDER_TRACK},
    {"IMAGE_SPHERE_ANIM", &IMAGE_SPHERE_ANIM},
    {"IMAGE_STAR", &IMAGE_STAR},
    {"IMAGE_STAR_SMALL", &IMAGE_STAR_SMALL},
    {"IMAGE_TITLE", &IMAGE_TITLE},
    {"IMAGE_TYP0", &IMAGE_TYP0},
    {"IMAGE_TYP1", &IMAGE_TYP1},
    {"IMAGE_TYP10", &IMAGE_TYP10},
    {"IMAGE_TYP11", &IMAGE_TYP11},
    {"IMAGE_TYP12", &IMAGE_TYP12},
    {"IMAGE_TYP13", &IMAGE_TYP13},
    {"IMAGE_TYP14", &IMAGE_TYP14},
    {"IMAGE_TYP15", &IMAGE_TYP15},
    {"IMAGE_TYP16", &IMAGE_TYP16},
    {"IMAGE_TYP17", &IMAGE_TYP17},
    {"IMAGE_TYP18", &IMAGE_TYP18},
    {"IMAGE_TYP19", &IMAGE_TYP19},
    {"IMAGE_TYP2", &IMAGE_TYP2},
    {"IMAGE_TYP20", &IMAGE_TYP20},
    {"IMAGE_TYP21", &IMAGE_TYP21},
    {"IMAGE_TYP22", &IMAGE_TYP22},
    {"IMAGE_TYP23", &IMAGE_TYP23},
    {"IMAGE_TYP24", &IMAGE_TYP24},
    {"IMAGE_TYP25", &IMAGE_TYP25},
    {"IMAGE_TYP3", &IMAGE_TYP3},
    {"IMAGE_TYP4", &IMAGE_TYP4},
    {"IMAGE_TYP5", &IMAGE_TYP5},
    {"IMAGE_TYP6", &IMAGE_TYP6},
    {"IMAGE_TYP7", &IMAGE_TYP7},
    {"IMAGE_TYP8", &IMAGE_TYP8},
    {"IMAGE_TYP9", &IMAGE_TYP9},
    {"IMAGE_W_HINT", &IMAGE_W_HINT},
    {"IMAGE_W_MAP", &IMAGE_W_MAP},
    {"IMAGE_W_MAP2", &IMAGE_W_MAP2},
    {"IMAGE_W_MENU", &IMAGE_W_MENU},
    {"IMAGE_W_SMALL", &IMAGE_W_SMALL},
    {"IMAGE_x2", &IMAGE_x2},
    {"IMAGE_x3", &IMAGE_x3},
    {"IMAGE_x4", &IMAGE_x4},
    {"IM_BONUS_100", &IM_BONUS_100},
    {"IM_BONUS_200", &IM_BONUS_200},
    {"IM_BONUS_CROP", &IM_BONUS_CROP},
    {"IM_BONUS_JOKER", &IM_BONUS_JOKER},
    {"IM_BONUS_PLACE", &IM_BONUS_PLACE},
    {"IM_BONUS_RESHUFFLE", &IM_BONUS_RESHUFFLE},
    {"IM_BONUS_STAR", &IM_BONUS_STAR},
    {"IM_BONUS_STONE", &IM_BONUS_STONE},
    {"IM_B_CHANGE_PLAYER", &IM_B_CHANGE_PLAYER},
    {"IM_B_DIALOG", &IM_B_DIALOG},
    {"IM_B_DIALOG_DISABLE", &IM_B_DIALOG_DISABLE},
    {"IM_B_DIALOG_DOWN", &IM_B_DIALOG_DOWN},
    {"IM_B_DIALOG_OVER", &IM_B_DIALOG_OVER},
    {"IM_B_MENU", &IM_B_MENU},
    {"IM_B_OVER_CHANGE_PLAYER", &IM_B_OVER_CHANGE_PLAYER},
    {"IM_B_OVER_MENU", &IM_B_OVER_MENU},
};

const SoundId kGameSounds[] = {
    {"SOUND_BONUS", &SOUND_BONUS},
    {"SOUND_BONUS_APPEAR", &SOUND_BONUS_APPEAR},
    {"SOUND_CLICK", &SOUND_CLICK},
    {"SOUND_FLIP", &SOUND_FLIP},
    {"SOUND_LEVEL_COMPLETE", &SOUND_LEVEL_COMPLETE},
    {"SOUND_LEVEL_FAILED", &SOUND_LEVEL_FAILED},
    {"SOUND_LEVEL_START", &SOUND_LEVEL_START},
    {"SOUND_PUT", &SOUND_PUT},
    {"SOUND_PUT_X2", &SOUND_PUT_X2},
    {"SOUND_PUT_X3", &SOUND_PUT_X3},
    {"SOUND_PUT_X4", &SOUND_PUT_X4},
    {"SOUND_SCROLL", &SOUND_SCROLL},
    {"SOUND_STAGE", &SOUND_STAGE},
    {"SOUND_USE_KEY", &SOUND_USE_KEY},
};

template <typename Id, size_t N>
std::vector<const Id*> InByteOrder(const Id (&table)[N])
{
    std::vector<const Id*> order;
    for (const Id& id : table)
        order.push_back(&id);
    std::sort(order.begin(), order.end(),
              [](const Id* a, const Id* b) { return std::string(a->name) < std::string(b->name); });
    return order;
}

// Binds images, then sounds, each in byte order of their identifiers, and
// stops at the first identifier the manager cannot give; the variables bound
// so far keep their values.
template <size_t NI, size_t NS>
bool BindGroup(ResourceManager& manager, const ImageId (&images)[NI], const SoundId (&sounds)[NS])
{
    try {
        for (const ImageId* id : InByteOrder(images))
            *id->variable = manager.GetImageOrThrow(id->name).Get();
        for (const SoundId* id : InByteOrder(sounds))
            *id->variable = manager.GetSoundOrThrow(id->name);
    } catch (const ResourceManagerException&) {
        return false;
    }
    return true;
}

template <typename Id, size_t N>
void AddNames(std::vector<std::string>& names, const Id (&table)[N])
{
    for (const Id* id : InByteOrder(table))
        names.push_back(id->name);
}

} // namespace

bool BindInitResources(ResourceManager& manager)
{
    try {
        FONT_DEFAULT = manager.GetFontOrThrow("FONT_DEFAULT");
    } catch (const ResourceManagerException&) {
        return false;
    }
    return true;
}

bool BindTitleScreenResources(ResourceManager& manager)
{
    return BindGroup(manager, kTitleScreenImages, kTitleScreenSounds);
}

bool BindGameResources(ResourceManager& manager)
{
    if (!BindGroup(manager, kGameImages, kGameSounds))
        return false;
    // The framework's sliders draw the game's track and thumb unless told
    // otherwise (the options dialog's volume sliders do so).
    Slider::sDefaultTrackImage = IMAGE_SLIDER_TRACK;
    Slider::sDefaultThumbImage = IMAGE_SLIDER_THUMB;
    return true;
}

void ClearBoundResources()
{
    FONT_DEFAULT = nullptr;
    Slider::sDefaultTrackImage = nullptr;
    Slider::sDefaultThumbImage = nullptr;
    for (const ImageId& id : kTitleScreenImages)
        *id.variable = nullptr;
    for (const ImageId& id : kGameImages)
        *id.variable = nullptr;
    for (const SoundId& id : kTitleScreenSounds)
        *id.variable = -1;
    for (const SoundId& id : kGameSounds)
        *id.variable = -1;
}

std::vector<std::string> BindingOrder(const std::string& group)
{
    std::vector<std::string> names;
    if (group == "Init") {
        names.push_back("FONT_DEFAULT");
    } else if (group == "TitleScreen") {
        AddNames(names, kTitleScreenImages);
        AddNames(names, kTitleScreenSounds);
    } else if (group == "Game") {
        AddNames(names, kGameImages);
        AddNames(names, kGameSounds);
    }
    return names;
}

} // namespace Zorvin

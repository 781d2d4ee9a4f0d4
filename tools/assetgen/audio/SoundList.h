#pragma once

// The game's sound effects and music modules, by identifier and file name.
// The sound step writes every effect as "sounds/<stem>.ogg" into the game
// folder; the manifest step names the same files (the sound loader appends
// ".ogg" itself, so the manifest path is "sounds/<stem>" without extension).
// Keeping the one table here means the two steps cannot drift apart.

#include <cstddef>

namespace Zorvin::AssetGen {

// Folder of the effects inside the game folder.
inline constexpr const char* kSoundFolder = "sounds";

struct SoundFileEntry {
    const char* id;    // resource identifier, e.g. "SOUND_CLICK"
    const char* stem;  // file name inside kSoundFolder without ".ogg"
    const char* group; // manifest group that binds it
    int lengthMs;      // length of the effect; the generator makes exactly this,
                       // long enough for the sound to ring out within it
};

// Byte order of the identifiers, which is also the binding order of the
// "Game" group.
inline constexpr SoundFileEntry kSoundFiles[] = {
    {"SOUND_BONUS", "bonus", "Game", 1200},
    {"SOUND_BONUS_APPEAR", "bonus_appear", "Game", 1000},
    {"SOUND_CLICK", "click", "Game", 70},
    {"SOUND_CONTINUE", "continue", "TitleScreen", 900},
    {"SOUND_FLIP", "flip", "Game", 380},
    {"SOUND_LEVEL_COMPLETE", "level_complete", "Game", 2400},
    {"SOUND_LEVEL_FAILED", "level_failed", "Game", 2200},
    {"SOUND_LEVEL_START", "level_start", "Game", 1500},
    {"SOUND_PUT", "put", "Game", 260},
    {"SOUND_PUT_X2", "put_x2", "Game", 800},
    {"SOUND_PUT_X3", "put_x3", "Game", 950},
    {"SOUND_PUT_X4", "put_x4", "Game", 1100},
    {"SOUND_SCROLL", "scroll", "Game", 700},
    {"SOUND_STAGE", "stage", "Game", 1900},
    {"SOUND_USE_KEY", "use_key", "Game", 650},
};

inline constexpr std::size_t kSoundFileCount = sizeof(kSoundFiles) / sizeof(kSoundFiles[0]);

// The six songs the game loads as ids 0-5, relative to the game folder.
// They are tracker modules whatever the extension says; the player
// recognises the format by content.
inline constexpr const char* kMusicFiles[] = {
    "music/vibe-coe.mo3", // 0: title, loading screen, main menu
    "music/vibe-cty.mo3", // 1: levels
    "music/vibe-dxm.mo3", // 2: levels
    "music/vibe-gws.mo3", // 3: map of stages
    "music/vibe-ovr.mo3", // 4: levels
    "music/vibe-sw.mo3",  // 5: levels
};

inline constexpr std::size_t kMusicFileCount = sizeof(kMusicFiles) / sizeof(kMusicFiles[0]);

} // namespace Zorvin::AssetGen

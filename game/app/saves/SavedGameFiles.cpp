#include "game/app/saves/SavedGameFiles.h"

#include <cstdio>

#include "game/app/saves/SafeFileName.h"
#include "game/app/saves/SavedGame.h"
#include "game/board/FishField.h"

namespace Zorvin {

namespace {
constexpr int kPlayModes[2] = {StoredMode(PlayMode::Drag), StoredMode(PlayMode::Click)};
} // namespace

std::string SavedGamePath(const std::string& dataFolder, const std::string& playerName, int mode)
{
    const char* suffix = mode == StoredMode(PlayMode::Click) ? "1.sav" : mode == StoredMode(PlayMode::Drag) ? "2.sav" : nullptr;
    if (!suffix)
        return {};
    std::string path = dataFolder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + "saves/" + SafeFileName(playerName) + suffix;
}

SavedGameFiles::SavedGameFiles(std::string dataFolder) : dataFolder(std::move(dataFolder)) {}

std::string SavedGameFiles::PathFor(const std::string& playerName, int mode) const
{
    return SavedGamePath(dataFolder, playerName, mode);
}

bool SavedGameFiles::Exists(const std::string& playerName, int mode) const
{
    std::string path = PathFor(playerName, mode);
    return !path.empty() && files->Exists(path);
}

bool SavedGameFiles::Save(const FishField& field, const std::string& playerName) const
{
    std::string path = PathFor(playerName, StoredMode(field.mode));
    return !path.empty() && SaveGame(field, path, *files);
}

bool SavedGameFiles::Restore(FishField& field, const std::string& playerName, int mode) const
{
    std::string path = PathFor(playerName, mode);
    if (path.empty())
        return false;
    // A file of the other mode put under this name (by hand) would start
    // the wrong game and, on leaving, be saved over the other mode's file.
    std::string bytes;
    SavedGameData data;
    if (!files->ReadFile(path, bytes, kMaxSavedGameBytes + 1))
        bytes.clear();
    else if (ReadSavedGame(bytes, data) && data.mode != mode)
        bytes.clear();
    return RestoreGameFromBytes(field, bytes);
}

void SavedGameFiles::Delete(const std::string& playerName, int mode) const
{
    std::string path = PathFor(playerName, mode);
    if (!path.empty())
        files->Delete(path);
}

void SavedGameFiles::PlayerRenamed(const std::string& oldName, const std::string& newName)
{
    for (int mode : kPlayModes) {
        std::string from = PathFor(oldName, mode);
        std::string to = PathFor(newName, mode);
        if (from == to)
            continue;
        // The new name must not inherit a stale game of a player who had it.
        if (!files->Exists(from)) {
            files->Delete(to);
            continue;
        }
        // A rename within one folder replaces the target in one step; if it
        // fails the game stays under the old name rather than being lost.
        if (!files->Rename(from, to))
            std::fprintf(stderr, "Korvelt: cannot move the saved game %s to %s; it stays where it was\n",
                         from.c_str(), to.c_str());
    }
}

void SavedGameFiles::PlayerDeleted(const std::string& playerName)
{
    for (int mode : kPlayModes)
        Delete(playerName, mode);
}

} // namespace Zorvin

#include "game/app/saves/SavedGameFiles.h"

#include <cstdio>
#include <iterator>

#include "game/app/saves/SafeFileName.h"
#include "game/app/saves/SavedGame.h"
#include "game/board/FishField.h"

namespace Zorvin {

namespace {

constexpr int kPlayModes[2] = {StoredMode(PlayMode::Drag), StoredMode(PlayMode::Click)};

const char* Suffix(int mode)
{
    return mode == StoredMode(PlayMode::Click) ? "1.sav" : mode == StoredMode(PlayMode::Drag) ? "2.sav" : nullptr;
}

std::string SavesFolder(const std::string& dataFolder)
{
    std::string path = dataFolder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + "saves/";
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

} // namespace

std::string SavedGamePath(const std::string& dataFolder, const std::string& playerName, int mode)
{
    const char* suffix = Suffix(mode);
    return suffix ? SavesFolder(dataFolder) + SafeFileName(playerName) + suffix : std::string();
}

bool SavedGameFiles::SameLevel(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] == '\\' ? '/' : a[i];
        char y = b[i] == '\\' ? '/' : b[i];
        if (x != y)
            return false;
    }
    return true;
}

SavedGameFiles::SavedGameFiles(std::string dataFolder) : dataFolder(std::move(dataFolder)) {}

std::string SavedGameFiles::PathFor(const std::string& playerName, int mode) const
{
    return SavedGamePath(dataFolder, playerName, mode);
}

std::string SavedGameFiles::Locate(const std::string& playerName, int mode) const
{
    std::string path = PathFor(playerName, mode);
    if (path.empty())
        return path;
    std::string old = SavesFolder(dataFolder) + LegacySafeFileName(playerName) + Suffix(mode);
    if (old == path || pending.count(path) || files->Exists(path) || !files->Exists(old))
        return path;
    // A game saved before the names became UTF-8 moves to its new name; if
    // it cannot move, it is used where it is.
    if (files->Rename(old, path))
        return path;
    std::fprintf(stderr, "Korvelt: cannot rename the saved game %s to %s\n", old.c_str(), path.c_str());
    return old;
}

bool SavedGameFiles::Exists(const std::string& playerName, int mode) const
{
    std::string path = Locate(playerName, mode);
    return !path.empty() && (pending.count(path) || files->Exists(path));
}

bool SavedGameFiles::Save(const FishField& field, const std::string& playerName)
{
    std::string path = Locate(playerName, StoredMode(field.mode));
    // A game that could not be restored is not written at all.
    if (path.empty() || !SavedGameWritable(field))
        return false;
    std::string bytes = FormatSavedGame(field);
    if (files->WriteFile(path, bytes)) {
        pending.erase(path);
        return true;
    }
    // The game stays in memory: "Продолжить" still finds it in this run,
    // and the write is tried again later.
    std::fprintf(stderr, "Korvelt: cannot write the saved game %s\n", path.c_str());
    pending[path] = std::move(bytes);
    if (notices)
        notices->Add(FileNotices::WriteFailed(dataFolder));
    return false;
}

bool SavedGameFiles::RetryPendingWrites()
{
    for (auto it = pending.begin(); it != pending.end();)
        it = files->WriteFile(it->first, it->second) ? pending.erase(it) : std::next(it);
    return pending.empty();
}

bool SavedGameFiles::Restore(FishField& field, const std::string& playerName, int mode,
                             const std::string& levelPath)
{
    std::string path = Locate(playerName, mode);
    if (path.empty())
        return false;
    std::string bytes;
    auto waiting = pending.find(path);
    bool read = waiting != pending.end();
    if (read)
        bytes = waiting->second;
    else if (!(read = files->ReadFile(path, bytes, kMaxSavedGameBytes + 1)) && !files->Exists(path))
        return RestoreGameFromBytes(field, {}); // no game: nothing to set aside
    // A file of the other mode put under this name (by hand) would start
    // the wrong game and, on leaving, be saved over the other mode's file.
    SavedGameData data;
    if (read && ReadSavedGame(bytes, data) && data.mode == mode) {
        if (SameLevel(data.levelPath, levelPath))
            return RestoreGameFromBytes(field, bytes);
        // Restored, it would show another level's tiles under this level's
        // number, and winning them would skip a level: the game belongs to a
        // level since won or left behind, so it is retired.
        Delete(playerName, mode);
        return RestoreGameFromBytes(field, {});
    }
    RestoreGameFromBytes(field, {});
    SetAside(path);
    return false;
}

void SavedGameFiles::SetAside(const std::string& path)
{
    pending.erase(path);
    std::string copy = files->KeepCopy(path);
    if (!copy.empty())
        files->Delete(path);
    std::fprintf(stderr, "Korvelt: the saved game %s cannot be read%s%s\n", path.c_str(),
                 copy.empty() ? "" : "; it is kept as ", copy.c_str());
    if (notices)
        notices->Add(FileNotices::SavedGameDamaged(SavesFolder(dataFolder), copy.empty() ? "" : FileName(copy)));
}

void SavedGameFiles::Delete(const std::string& playerName, int mode)
{
    std::string path = Locate(playerName, mode);
    if (path.empty())
        return;
    pending.erase(path);
    files->Delete(path);
}

void SavedGameFiles::PlayerRenamed(const std::string& oldName, const std::string& newName)
{
    for (int mode : kPlayModes) {
        std::string from = Locate(oldName, mode);
        std::string to = PathFor(newName, mode);
        if (from == to)
            continue;
        // The new name must not inherit a stale game of a player who had it.
        if (auto waiting = pending.find(from); waiting != pending.end()) {
            pending[to] = std::move(waiting->second);
            pending.erase(from);
            files->Delete(to);
            continue;
        }
        if (!files->Exists(from)) {
            pending.erase(to);
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

void SavedGameFiles::RemoveStaleTemporaries()
{
    files->RemoveStaleTemporaries(SavesFolder(dataFolder) + "*.sav");
}

} // namespace Zorvin

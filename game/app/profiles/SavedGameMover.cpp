#include "game/app/profiles/SavedGameMover.h"

#include <cstdio>

#include "framework/core/FileUtil.h"
#include "game/app/profiles/PlayerName.h"

namespace Zorvin {

namespace {

constexpr int kModes[] = {2, 0};

} // namespace

void SavedGameMover::PlayerRenamed(const std::string& oldName, const std::string& newName)
{
    for (int mode : kModes) {
        std::string from = PlayerName::SaveFilePath(folder, oldName, mode);
        std::string to = PlayerName::SaveFilePath(folder, newName, mode);
        if (from == to || !FileUtil::Exists(from))
            continue;
        std::string bytes;
        if (!FileUtil::ReadFile(from, bytes) || !FileUtil::WriteFileAtomic(to, bytes)) {
            std::fprintf(stderr, "Korvelt: cannot move the saved game %s to %s; it stays where it was\n",
                         from.c_str(), to.c_str());
            continue;
        }
        FileUtil::Delete(from);
    }
}

void SavedGameMover::PlayerDeleted(const std::string& name)
{
    for (int mode : kModes) {
        std::string path = PlayerName::SaveFilePath(folder, name, mode);
        if (FileUtil::Exists(path))
            FileUtil::Delete(path);
    }
}

} // namespace Zorvin

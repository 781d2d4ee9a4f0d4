#include "game/app/profiles/PlayerFile.h"

#include <cstdio>

namespace Zorvin {

PlayerFile::PlayerFile(std::string dataFolder, std::string fileName)
    : folder(std::move(dataFolder)), name(std::move(fileName))
{
}

bool PlayerFile::Read(std::string& bytes, size_t maxSize)
{
    keepFile = false;
    bytes.clear();
    std::string path = Path();
    // Writes cut short by a crash leave their temporaries beside the file.
    files->RemoveStaleTemporaries(path);
    if (!files->Exists(path))
        return false;
    if (files->ReadFile(path, bytes, maxSize))
        return true;
    // Perhaps only for now (permissions, a disk that comes back): the file
    // stays as it is, whatever this run does.
    keepFile = true;
    Notify(FileNotices::Unreadable(folder, name));
    return false;
}

bool PlayerFile::SetAsideDamaged()
{
    std::string path = Path();
    std::string copy = files->KeepCopy(path);
    if (copy.empty()) {
        keepFile = true;
        Notify(FileNotices::DamagedNotKept(folder, name));
        return false;
    }
    std::fprintf(stderr, "Korvelt: %s was damaged; a copy is kept as %s\n", path.c_str(), copy.c_str());
    std::string copyName = copy.substr(copy.find_last_of('/') + 1);
    Notify(damageStartsAfresh ? FileNotices::DamagedStartedAfresh(folder, name, copyName)
                              : FileNotices::Damaged(folder, name, copyName));
    return true;
}

bool PlayerFile::Write(const std::string& bytes)
{
    if (keepFile)
        return false;
    if (files->WriteFile(Path(), bytes)) {
        writePending = false;
        return true;
    }
    std::fprintf(stderr, "Korvelt: cannot write %s; the previous file stays\n", Path().c_str());
    // Told once per run of failures, not at every retry.
    if (!writePending)
        Notify(FileNotices::WriteFailed(folder));
    writePending = true;
    return false;
}

void PlayerFile::Notify(FileNotice notice)
{
    if (notices)
        notices->Add(std::move(notice));
}

} // namespace Zorvin

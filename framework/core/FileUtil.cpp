#include "framework/core/FileUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Zorvin {

bool FileUtil::ReadFile(const std::string& path, std::string& out, size_t maxSize)
{
    out.clear();
    // Non-blocking, so that a named pipe fails the type check below
    // instead of waiting forever for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char buf[65536];
    while (out.size() < maxSize) {
        size_t want = std::min(sizeof buf, maxSize - out.size());
        ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool FileUtil::CreateFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    std::string parent = FolderOf(folder);
    if (!parent.empty() && parent != folder && !CreateFolders(parent))
        return false;
    return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

std::string FileUtil::FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

namespace {

// Temporaries are named <target>.tmp<pid>-XXXXXX, so that a later run can
// tell from the name whether their writer still lives.
constexpr const char* kTempTag = ".tmp";

// Follows symbolic links from path to the file a write must replace.
// False when the chain is too long or ends at something that is not a
// regular file; a missing final target is fine (it is created).
bool ResolveTarget(const std::string& path, std::string& target, mode_t& mode)
{
    target = path;
    mode = 0644;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0)
            return errno == ENOENT;
        if (S_ISREG(st.st_mode)) {
            mode = st.st_mode & 07777;
            return true;
        }
        if (!S_ISLNK(st.st_mode))
            return false;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size())
            return false;
        link.resize(static_cast<size_t>(n));
        std::string folder = FileUtil::FolderOf(target);
        target = link[0] == '/' || folder.empty() ? link : folder + "/" + link;
    }
    return false;
}

bool WriteAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable.
void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool FileUtil::WriteFileAtomic(const std::string& path, const std::string& data, bool makeFolders)
{
    std::string target;
    mode_t mode;
    if (path.empty() || !ResolveTarget(path, target, mode))
        return false;
    std::string folder = FolderOf(target);
    if (makeFolders && !CreateFolders(folder))
        return false;
    std::string temp = target + kTempTag + std::to_string(::getpid()) + "-XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    else
        SyncFolder(folder);
    return ok;
}

namespace {

// The writer's process number when `name` is a temporary of WriteFileAtomic
// for `target` (or, with anyPrefix, for any name ending in it); -1 otherwise.
long long TemporaryWriter(const std::string& name, const std::string& target, bool anyPrefix)
{
    size_t tag = name.rfind(kTempTag);
    if (tag == std::string::npos)
        return -1;
    bool ours = anyPrefix ? tag > target.size() && name.compare(tag - target.size(), target.size(), target) == 0
                          : tag == target.size() && name.compare(0, tag, target) == 0;
    if (!ours)
        return -1;
    // ".tmp", the writer's process number, "-" and mkostemp's six characters.
    size_t end = tag + std::strlen(kTempTag);
    long long pid = 0;
    size_t digits = 0;
    while (end < name.size() && digits < 10 && name[end] >= '0' && name[end] <= '9') {
        pid = pid * 10 + (name[end++] - '0');
        ++digits;
    }
    if (digits == 0 || end + 7 != name.size() || name[end] != '-')
        return -1;
    return pid;
}

} // namespace

void FileUtil::RemoveStaleTemporaries(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    bool anyPrefix = path.size() > (slash == std::string::npos ? 0 : slash + 1)
        && path[slash == std::string::npos ? 0 : slash + 1] == '*';
    std::string target;
    mode_t mode;
    if (anyPrefix)
        target = path;
    else if (path.empty() || !ResolveTarget(path, target, mode))
        return;
    std::string folder = FolderOf(target);
    std::string name = target.substr(folder.empty() ? 0 : folder.size() + 1);
    if (anyPrefix)
        name.erase(0, 1);
    if (name.empty())
        return;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        std::string entryName = entry->d_name;
        long long pid = TemporaryWriter(entryName, name, anyPrefix);
        if (pid < 0)
            continue;
        bool alive = pid <= INT32_MAX && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
        if (!alive && pid != ::getpid())
            ::unlink((folder.empty() ? entryName : folder + "/" + entryName).c_str());
    }
    ::closedir(dir);
}

namespace {

constexpr int kMaxKeptCopies = 999;

// Moves temp to copy unless copy exists; false (errno EEXIST) when it does.
bool PlaceWithoutReplacing(const std::string& temp, const std::string& copy)
{
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, copy.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace flag: the game runs one copy at
    // a time, so a look first is enough there.
    struct stat st;
    if (::lstat(copy.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(temp.c_str(), copy.c_str()) == 0;
}

// Writes the bytes into a new temporary beside `like`; "" on failure.
std::string WriteTemporary(const std::string& like, const std::string& bytes)
{
    std::string temp = like + kTempTag + std::to_string(::getpid()) + "-XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return {};
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        return {};
    }
    return temp;
}

} // namespace

std::string FileUtil::KeepCopy(const std::string& path)
{
    if (path.empty() || !Exists(path))
        return {};
    std::string bytes, temp;
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        std::string copy = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
        struct stat st;
        if (::lstat(copy.c_str(), &st) == 0)
            continue;
        // A hard link to the file itself (through a symbolic link, too):
        // later writes replace the file's name, never this copy.
        if (temp.empty() && ::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, copy.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            SyncFolder(FolderOf(copy));
            return copy;
        }
        if (errno == EEXIST)
            continue;
        if (temp.empty()) {
            if (!ReadFile(path, bytes) || (temp = WriteTemporary(copy, bytes)).empty())
                return {};
        }
        if (PlaceWithoutReplacing(temp, copy)) {
            SyncFolder(FolderOf(copy));
            return copy;
        }
        if (errno != EEXIST)
            break;
    }
    if (!temp.empty())
        ::unlink(temp.c_str());
    return {};
}

bool FileUtil::IsRegularFile(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileUtil::Exists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool FileUtil::Delete(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

} // namespace Zorvin

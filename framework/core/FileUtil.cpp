#include "framework/core/FileUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
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

void FileUtil::RemoveStaleTemporaries(const std::string& path)
{
    std::string target;
    mode_t mode;
    if (path.empty() || !ResolveTarget(path, target, mode))
        return;
    std::string folder = FolderOf(target);
    std::string prefix = target.substr(folder.empty() ? 0 : folder.size() + 1) + kTempTag;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        // The writer's process number follows the tag.
        size_t end = prefix.size();
        long long pid = 0;
        while (end < name.size() && end - prefix.size() < 10 && name[end] >= '0' && name[end] <= '9')
            pid = pid * 10 + (name[end++] - '0');
        if (end == prefix.size() || (end < name.size() && name[end] != '-'))
            continue;
        bool alive = pid <= INT32_MAX && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
        if (!alive && pid != ::getpid())
            ::unlink((folder.empty() ? name : folder + "/" + name).c_str());
    }
    ::closedir(dir);
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

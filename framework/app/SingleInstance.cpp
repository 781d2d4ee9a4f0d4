#include "framework/app/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Zorvin {

SingleInstance::~SingleInstance() { Release(); }

std::string SingleInstance::DefaultFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
        return runtime;
    return "/tmp";
}

bool SingleInstance::Acquire(const std::string& folder, const std::string& productName)
{
    Release();
    std::string lockPath = folder + "/" + productName + "Mutex";
    notifyPath = folder + "/Notify" + productName;
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no place for a lock: better to run than to refuse
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        // Someone else runs: tell it to come forward.
        int w = ::open(notifyPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (w >= 0) {
            char one = 1;
            ssize_t n = ::write(w, &one, 1);
            (void)n;
            ::close(w);
        }
        return false;
    }
    lockFd = fd;
    struct stat st;
    if (::lstat(notifyPath.c_str(), &st) == 0 && !S_ISFIFO(st.st_mode))
        ::unlink(notifyPath.c_str());
    if (::mkfifo(notifyPath.c_str(), 0600) != 0 && errno != EEXIST)
        return true;
    notifyFd = ::open(notifyPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return true;
}

bool SingleInstance::PollNotified()
{
    if (notifyFd < 0)
        return false;
    bool notified = false;
    char buf[64];
    for (;;) {
        ssize_t n = ::read(notifyFd, buf, sizeof buf);
        if (n > 0) {
            notified = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    return notified;
}

void SingleInstance::Release()
{
    if (notifyFd >= 0) {
        ::close(notifyFd);
        notifyFd = -1;
    }
    if (lockFd >= 0) {
        ::flock(lockFd, LOCK_UN);
        ::close(lockFd);
        lockFd = -1;
    }
}

} // namespace Zorvin

#pragma once

// XvfbServer: a private virtual X display for the tests that need a real
// one (full screen without a window manager, message boxes). It starts
// "Xvfb" on the first free display number, 1024 x 768, and stops it at the
// end; without Xvfb installed Started() is false and the test skips.

#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ZorvinTest {

class XvfbServer {
public:
    XvfbServer()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // Xvfb writes its display number once it accepts clients.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (pid > 0 && ::poll(&p, 1, 10000) == 1) {
            char c = 0;
            if (::read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        ::close(fds[0]);
        if (!number.empty())
            display = ":" + number;
    }
    ~XvfbServer()
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool Started() const { return !display.empty(); }
    // The DISPLAY value, ":N".
    const std::string& Display() const { return display; }
    pid_t Pid() const { return pid; }

private:
    pid_t pid = -1;
    std::string display;
};

} // namespace ZorvinTest

// The shipped program on a real X display (a private Xvfb) when start-up
// fails: the fatal error's message box must not keep a request to end the
// program waiting for a click.

#include "framework/core/FileUtil.h"
#include "tests/framework/app/AppTestSupport.h"
#include "tests/platform/XvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

const std::string Program = std::string(KORVELT_BUILD_DIR) + "/game/korvelt";

// The process that `parent` forked to show its message box (SDL shows it
// from a copy of the program), or -1.
pid_t BoxOf(pid_t parent)
{
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/" + std::to_string(parent) + "/exe", ec);
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string stat;
        if (!FileUtil::ReadFile(entry.path().string() + "/stat", stat, 4096))
            continue;
        size_t close = stat.rfind(')');
        char state = 0;
        int ppid = 0;
        if (close == std::string::npos || std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) != 2 ||
            ppid != parent || state == 'Z')
            continue;
        if (!ec && std::filesystem::read_symlink(entry.path() / "exe", ec) == program)
            return static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
    }
    return -1;
}

bool Alive(pid_t pid)
{
    std::string stat;
    if (!FileUtil::ReadFile("/proc/" + std::to_string(pid) + "/stat", stat, 4096))
        return false;
    size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

} // namespace

// SIGTERM (a log-out) or SIGINT (Ctrl+C) while the box of a damaged manifest
// is up takes the box down and ends the program with the fatal error's code.
TEST(KorveltFatalBox, SignalWhileTheFatalErrorIsShownEndsWithItsCode)
{
    ASSERT_TRUE(FileUtil::Exists(Program));
    XvfbServer x;
    if (!x.Started())
        GTEST_SKIP() << "no Xvfb";
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        TempFolder temp;
        std::string copy = temp.File("game/korvelt");
        ASSERT_TRUE(FileUtil::WriteFileAtomic(temp.File("game/properties/resources.xml"), "<ResourceManifest><Res"));
        std::filesystem::copy_file(Program, copy);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
        std::string errors = temp.File("stderr.txt");
        pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("DISPLAY", x.Display().c_str(), 1);
            ::setenv("SDL_VIDEODRIVER", "x11", 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            ::setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", temp.path.c_str(), 1);
            int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(err, 2);
            ::execl(copy.c_str(), copy.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_GT(pid, 0);
        // The box is up once the error was told and the process that shows
        // the box runs.
        pid_t box = -1;
        std::string text;
        for (int i = 0; i < 400 && box < 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            FileUtil::ReadFile(errors, text);
            if (text.find("FATAL ERROR") != std::string::npos)
                box = BoxOf(pid);
        }
        EXPECT_NE(text.find("FATAL ERROR"), std::string::npos) << text;
        EXPECT_GT(box, 0) << text;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(pid, signal);

        int code = -1;
        for (int i = 0; i < 200; ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (code == -1) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        EXPECT_EQ(code, 1);
        EXPECT_FALSE(box > 0 && Alive(box)); // the box went with the program
        if (box > 0 && Alive(box))
            ::kill(box, SIGKILL);
    }
}

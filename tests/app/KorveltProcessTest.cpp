// The shipped program itself, started as a separate process on SDL's dummy
// video and audio drivers with private settings, data and lock folders.

#include "framework/core/FileUtil.h"
#include "tests/framework/app/AppTestSupport.h"

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

class KorveltProcess : public ::testing::Test {
protected:
    pid_t Launch(const std::string& program)
    {
        pid_t pid = fork();
        if (pid == 0) {
            ::setenv("SDL_VIDEODRIVER", "dummy", 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            ::setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", temp.path.c_str(), 1);
            int err = ::open(ErrorLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(err, 2);
            ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    }
    // The exit status, or -1 when the process did not end in time (it is
    // then killed).
    int WaitForExit(pid_t pid, int seconds)
    {
        for (int i = 0; i < seconds * 20; ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    std::string ErrorLog() const { return temp.File("stderr.txt"); }
    std::string Errors() const
    {
        std::string text;
        FileUtil::ReadFile(ErrorLog(), text);
        return text;
    }

    TempFolder temp;
};

} // namespace

TEST_F(KorveltProcess, SigtermWhileRunningEndsNormallyWithTheSettingsWritten)
{
    ASSERT_TRUE(FileUtil::Exists(Program));
    pid_t pid = Launch(Program);
    ASSERT_GT(pid, 0);
    // Wait until it draws, then ask it to end the way a session manager does.
    for (int i = 0; i < 600 && Errors().find("First frame") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(Errors().find("First frame"), std::string::npos) << Errors();
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(pid, 30), 0) << Errors();
    EXPECT_TRUE(FileUtil::Exists(temp.File("config") + "/Wendmoor/Korvelt/settings.ini"));
}

TEST_F(KorveltProcess, DamagedManifestFailsWithTheReason)
{
    ASSERT_TRUE(FileUtil::Exists(Program));
    // The program runs from its own folder, so it gets a folder of its own.
    std::string copy = temp.File("game/korvelt");
    ASSERT_TRUE(FileUtil::WriteFileAtomic(temp.File("game/properties/resources.xml"), "<ResourceManifest><Res"));
    std::filesystem::copy_file(Program, copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    pid_t pid = Launch(copy);
    ASSERT_GT(pid, 0);
    int code = WaitForExit(pid, 30);
    EXPECT_NE(code, 0);
    EXPECT_NE(code, -1);
    EXPECT_NE(Errors().find("FATAL ERROR"), std::string::npos) << Errors();
}

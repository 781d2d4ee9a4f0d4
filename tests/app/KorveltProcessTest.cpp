// The shipped program itself, started as a separate process on SDL's dummy
// video and audio drivers with private settings, data and lock folders.

#include "framework/core/FileUtil.h"
#include "game/app/GameFolderLookup.h"
#include "tests/framework/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

const std::string Program = std::string(KORVELT_BUILD_DIR) + "/game/korvelt";

class KorveltProcess : public ::testing::Test {
protected:
    pid_t Launch(const std::string& program, const std::vector<std::string>& args = {})
    {
        pid_t pid = fork();
        if (pid == 0) {
            ::unsetenv("KORVELT_DATA_DIR");
            ::setenv("SDL_VIDEODRIVER", "dummy", 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            ::setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", temp.path.c_str(), 1);
            int err = ::open(ErrorLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(err, 2);
            int out = ::open(OutputLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, 1);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
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
    std::string OutputLog() const { return temp.File("stdout.txt"); }
    std::string Errors() const { return Read(ErrorLog()); }
    std::string Output() const { return Read(OutputLog()); }
    static std::string Read(const std::string& path)
    {
        std::string text;
        FileUtil::ReadFile(path, text);
        return text;
    }
    static int Count(const std::string& text, const std::string& part)
    {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
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
    // Once, though the window was up to show it in a box as well.
    EXPECT_EQ(Count(Errors(), "FATAL ERROR"), 1) << Errors();
}

// The game's art loads on a thread after the title screen is up; with a
// picture missing there the loading display stays, and however the player
// then ends the program, its exit code tells of the failure.
TEST_F(KorveltProcess, ArtMissingWhileLoadingEndsTheProgramWithAFailure)
{
    ASSERT_TRUE(FileUtil::Exists(Program));
    const std::string game = temp.File("game");
    std::filesystem::copy(std::string(KORVELT_BUILD_DIR) + "/game", game, std::filesystem::copy_options::recursive);
    ASSERT_TRUE(std::filesystem::remove(game + "/images/arrow.png"));
    pid_t pid = Launch(game + "/korvelt");
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 1200 && Errors().find("FATAL ERROR") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(pid, 30), 1) << Errors();
    EXPECT_EQ(Count(Errors(), "FATAL ERROR"), 1) << Errors();
    EXPECT_NE(Errors().find("arrow"), std::string::npos) << Errors();
}

TEST_F(KorveltProcess, BadSwitchFailsWithTheUsageAndHelpSucceeds)
{
    pid_t pid = Launch(Program, {"-play", "-x"});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitForExit(pid, 30), 2);
    EXPECT_NE(Errors().find("'-x'"), std::string::npos) << Errors();
    EXPECT_NE(Errors().find("Usage: korvelt"), std::string::npos) << Errors();
    EXPECT_EQ(Output(), "");

    pid = Launch(Program, {"--help"});
    EXPECT_EQ(WaitForExit(pid, 30), 0);
    EXPECT_NE(Output().find("-demofile=FILE"), std::string::npos) << Output();
    pid = Launch(Program, {"--version"});
    EXPECT_EQ(WaitForExit(pid, 30), 0);
    EXPECT_EQ(Output().rfind("korvelt ", 0), 0u) << Output();
}

TEST_F(KorveltProcess, WithoutItsDataTheProgramSaysWhereItLooked)
{
    if (GameFolderLookup::HoldsGameData(GameFolderLookup::ConfiguredFolder()))
        GTEST_SKIP() << "the game is installed in " << GameFolderLookup::ConfiguredFolder();
    // A copy of the program with nothing beside it, started from elsewhere.
    std::string copy = temp.File("opt/bin/korvelt");
    std::filesystem::create_directories(temp.File("opt/bin"));
    std::filesystem::copy_file(Program, copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    pid_t pid = Launch(copy);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitForExit(pid, 30), 1);
    EXPECT_EQ(Count(Errors(), "FATAL ERROR"), 1) << Errors();
    EXPECT_NE(Errors().find(temp.File("opt/share/korvelt")), std::string::npos) << Errors();
}

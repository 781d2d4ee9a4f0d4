#include "tests/framework/app/AppTestSupport.h"

#include "framework/core/FileUtil.h"
#include "framework/app/SettingsStore.h"
#include "framework/app/SingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace Zorvin;
using namespace ZorvinTest;

TEST(SettingsStore, ValueKindsRoundTripThroughTheFile)
{
    TempFolder temp;
    SettingsStore store(temp.File("s.ini"));
    std::string odd = std::string("quote\" back\\ newline\n nul") + '\0' + "\xE9 end";
    ASSERT_TRUE(store.WriteString("Text", odd));
    ASSERT_TRUE(store.WriteInteger("Negative", -7));
    ASSERT_TRUE(store.WriteRaw("Test3D\\DisplayGUID", SettingsStore::KindBinary, {0, 1, 0xFE, 0xFF}));
    ASSERT_TRUE(store.WriteBoolean("Flag", true));

    SettingsStore again(temp.File("s.ini"));
    std::string text;
    EXPECT_TRUE(again.ReadString("Text", text));
    EXPECT_EQ(text, odd);
    int n = 0;
    EXPECT_TRUE(again.ReadInteger("Negative", n));
    EXPECT_EQ(n, -7);
    int kind = 0;
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(again.ReadRaw("Test3D\\DisplayGUID", kind, bytes));
    EXPECT_EQ(kind, SettingsStore::KindBinary);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 0xFE, 0xFF}));
    bool flag = false;
    EXPECT_TRUE(again.ReadBoolean("Flag", flag));
    EXPECT_TRUE(flag);
}

TEST(SettingsStore, SubkeyNamesGoToTheirOwnSection)
{
    TempFolder temp;
    SettingsStore store(temp.File("s.ini"));
    ASSERT_TRUE(store.WriteInteger("Sub\\Name", 3));
    ASSERT_TRUE(store.WriteInteger("Name", 4));
    std::string text;
    ASSERT_TRUE(FileUtil::ReadFile(temp.File("s.ini"), text));
    SettingsStore::Contents c = SettingsStore::Parse(text);
    ASSERT_EQ(c["Sub"].count("Name"), 1u);
    ASSERT_EQ(c[""].count("Name"), 1u);
    int v = 0;
    EXPECT_TRUE(store.ReadInteger("Sub\\Name", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(store.ReadInteger("Name", v));
    EXPECT_EQ(v, 4);
    EXPECT_FALSE(store.ReadInteger("Other\\Name", v));
}

TEST(SettingsStore, KindsAreChecked)
{
    TempFolder temp;
    SettingsStore store(temp.File("s.ini"));
    ASSERT_TRUE(store.WriteString("S", "12"));
    ASSERT_TRUE(store.WriteInteger("I", 12));
    int v = 0;
    bool b = false;
    std::string s;
    EXPECT_FALSE(store.ReadInteger("S", v));
    EXPECT_FALSE(store.ReadBoolean("S", b));
    EXPECT_FALSE(store.ReadString("I", s));
    EXPECT_FALSE(store.ReadInteger("Missing", v));
    EXPECT_TRUE(store.Erase("I"));
    EXPECT_FALSE(store.Erase("I"));
    EXPECT_FALSE(store.ReadInteger("I", v));
}

TEST(SettingsStore, DisabledStoreTouchesNothing)
{
    SettingsStore store;
    int v;
    EXPECT_FALSE(store.WriteInteger("A", 1));
    EXPECT_FALSE(store.ReadInteger("A", v));
    EXPECT_FALSE(store.Erase("A"));
    EXPECT_EQ(SettingsStore::DefaultPath(""), "");
}

TEST(SettingsStore, DefaultPathFollowsTheConfigFolder)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath("Wendmoor\\Korvelt\\"), "/tmp/cfg/Wendmoor/Korvelt/settings.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(SettingsStore::DefaultPath("Wendmoor\\Korvelt"), "/home/p/.config/Wendmoor/Korvelt/settings.ini");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsStore, HostileTextParsesToWhatIsValid)
{
    const char* inputs[] = {
        "\"A\"=dword:0000000G\n\"B\"=dword:1\n\"C\"=hex:0\n\"D\"=hex(99999999999):00\n",
        "[\"unterminated\n\"E\"=dword:00000001\n",
        "\"F\"=\"no end\n\"G\"=\"\\x4\"\n\"H\"=\"x\"tail\n",
        "\"I\"=hex(7):41,42\n[\"S\"]\n\"J\"=\"\\x41\"\n",
    };
    SettingsStore::Contents all;
    for (const char* in : inputs)
        for (auto& [k, v] : SettingsStore::Parse(in))
            for (auto& [n, val] : v)
                all[k][n] = val;
    EXPECT_EQ(all[""].size(), 1u); // only I
    ASSERT_EQ(all[""].count("I"), 1u);
    EXPECT_EQ(all[""]["I"].kind, 7);
    EXPECT_EQ(all["S"]["J"].bytes, (std::vector<uint8_t>{'A'}));
    // What is written parses back to the same contents.
    SettingsStore::Contents again = SettingsStore::Parse(SettingsStore::Format(all));
    EXPECT_EQ(again[""]["I"].bytes, all[""]["I"].bytes);
    EXPECT_EQ(again["S"]["J"].bytes, all["S"]["J"].bytes);
}

TEST(SettingsStore, ValueTooLongToReadBackIsRefusedAndOthersSurvive)
{
    TempFolder temp;
    SettingsStore store(temp.File("s.ini"));
    ASSERT_TRUE(store.WriteInteger("\x01\\Level", 5)); // a control byte as the subkey
    ASSERT_TRUE(store.WriteInteger("Z\\Last", 6));
    std::string huge(SettingsStore::MaxFileSize, 'x');
    EXPECT_FALSE(store.WriteString("Big", huge));
    store.BeginBatch();
    EXPECT_FALSE(store.WriteString("Big", huge));
    EXPECT_TRUE(store.WriteInteger("InBatch", 7));
    EXPECT_TRUE(store.EndBatch());
    ASSERT_TRUE(store.WriteInteger("After", 8));

    SettingsStore again(temp.File("s.ini"));
    int v = 0;
    std::string s;
    EXPECT_FALSE(again.ReadString("Big", s));
    for (auto [name, want] : {std::pair{"\x01\\Level", 5}, {"Z\\Last", 6}, {"InBatch", 7}, {"After", 8}}) {
        EXPECT_TRUE(again.ReadInteger(name, v)) << name;
        EXPECT_EQ(v, want) << name;
    }
}

TEST(SettingsStore, WritesGoThroughLinksToRegularFilesOnlyAndSweepStaleTemporaries)
{
    TempFolder temp;
    std::filesystem::create_directory(temp.File("real"));
    std::filesystem::create_symlink("real/target.ini", temp.File("s.ini"));
    // Temporaries of a writer that died (no such process) and of this one.
    std::string stale = temp.File("real/target.ini.tmp999999999-AbCdEf");
    std::string live = temp.File("real/target.ini.tmp") + std::to_string(getpid()) + "-XyZ123";
    std::ofstream(stale) << "x";
    std::ofstream(live) << "x";

    SettingsStore store(temp.File("s.ini"));
    ASSERT_TRUE(store.WriteInteger("A", 1));
    EXPECT_TRUE(std::filesystem::is_symlink(temp.File("s.ini")));
    EXPECT_FALSE(FileUtil::Exists(stale));
    EXPECT_TRUE(FileUtil::Exists(live));
    int v = 0;
    EXPECT_TRUE(SettingsStore(temp.File("real/target.ini")).ReadInteger("A", v));
    EXPECT_EQ(v, 1);
    std::filesystem::remove(live);

    // A folder or a pipe in the file's place is neither read nor replaced.
    for (const char* odd : {"dir.ini", "pipe.ini"}) {
        std::string p = temp.File(odd);
        if (std::string(odd) == "dir.ini")
            std::filesystem::create_directory(p);
        else
            ASSERT_EQ(mkfifo(p.c_str(), 0600), 0);
        SettingsStore bad(p);
        EXPECT_FALSE(bad.WriteInteger("A", 1)) << odd;
        EXPECT_FALSE(bad.ReadInteger("A", v)) << odd;
        EXPECT_FALSE(std::filesystem::is_regular_file(p)) << odd;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.File("real")), {}), 1);
}

TEST(SingleInstance, SecondCopyIsRefusedAndWakesTheFirst)
{
    TempFolder temp;
    SingleInstance first, second;
    ASSERT_TRUE(first.Acquire(temp.path, "Korvelt"));
    EXPECT_FALSE(first.PollNotified());
    EXPECT_FALSE(second.Acquire(temp.path, "Korvelt"));
    EXPECT_TRUE(first.PollNotified());
    EXPECT_FALSE(first.PollNotified());
    EXPECT_TRUE(FileUtil::Exists(temp.File("KorveltMutex")));
    first.Release();
    EXPECT_TRUE(second.Acquire(temp.path, "Korvelt"));
}

TEST(SingleInstance, InitializeEndsASecondCopy)
{
    TempFolder temp;
    FakeClock clock;
    SingleInstance running;
    ASSERT_TRUE(running.Acquire(temp.path, "Korvelt"));
    TestApp app(&clock, temp.path);
    app.productName = "Korvelt";
    app.onlyAllowOneCopyToRun = true;
    app.Initialize();
    EXPECT_EQ(app.exits, std::vector<int>{0});
    EXPECT_FALSE(app.initialized);
    EXPECT_TRUE(running.PollNotified());

    TestApp saver(&clock, temp.path);
    saver.productName = "Korvelt";
    saver.onlyAllowOneCopyToRun = true;
    saver.SetCommandLine("korvelt -screensaver");
    saver.Initialize();
    EXPECT_TRUE(saver.exits.empty());
    EXPECT_TRUE(saver.initialized);
}

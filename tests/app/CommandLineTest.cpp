// The game's list of switches against what the application's parser
// accepts, what the entry point refuses, and the manual page.

#include "game/app/CommandLine.h"

#include "framework/core/FileUtil.h"
#include "tests/framework/app/AppTestSupport.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

CommandLine::Verdict VerdictOf(std::vector<const char*> args)
{
    args.insert(args.begin(), "korvelt");
    return CommandLine::Check(static_cast<int>(args.size()), args.data()).Result();
}

} // namespace

TEST(GameCommandLine, ListsExactlyTheSwitchesTheParserTakes)
{
    // Every switch shown to the player is carried out, not refused, by the
    // application's parser (--help and --version end before it runs).
    for (const CommandLine::Switch& s : CommandLine::Switches()) {
        std::string name = s.name;
        if (name.rfind("--", 0) == 0)
            continue;
        FakeClock clock;
        FakeServices services;
        TestApp app(&clock);
        app.SetSystemServices(&services);
        app.SetCommandLine("korvelt " + name + (*s.argument ? "=3" : ""));
        app.ParseCommandLine();
        EXPECT_TRUE(services.boxes.empty() && app.exits.empty()) << name;
        EXPECT_EQ(VerdictOf({s.name}), CommandLine::Verdict::Run) << name;
    }
    EXPECT_EQ(VerdictOf({"-record", "-demofile=a b.dmo"}), CommandLine::Verdict::Run);
    EXPECT_EQ(VerdictOf({"-play", "--version", "-x"}), CommandLine::Verdict::Version);
    EXPECT_EQ(VerdictOf({"-x", "--help"}), CommandLine::Verdict::Invalid);
    for (const char* bad : {"-x", "", "--play", "-Play", "-h", "play"})
        EXPECT_EQ(VerdictOf({bad}), CommandLine::Verdict::Invalid) << bad;
}

TEST(GameCommandLine, HelpAndManualPageNameEverySwitch)
{
    std::string page;
    ASSERT_TRUE(FileUtil::ReadFile(std::string(KORVELT_SOURCE_DIR) + "/dist/linux/korvelt.6.in", page));
    std::string usage = CommandLine::Usage();
    for (const CommandLine::Switch& s : CommandLine::Switches()) {
        std::string name = s.name;
        EXPECT_NE(usage.find("  " + name + s.argument + " "), std::string::npos) << name;
        // groff writes a minus as "\-".
        std::string groff;
        for (char c : name)
            groff += c == '-' ? std::string("\\-") : std::string(1, c);
        std::string entry = *s.argument ? ".BI " + groff + "= " : ".B " + groff + "\n";
        EXPECT_NE(page.find(entry), std::string::npos) << name;
    }
}

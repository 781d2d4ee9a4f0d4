#include "tools/autoplay/AutoplayCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace Zorvin;

namespace {

std::string Data(const std::string& name) { return std::string(KORVELT_TEST_DATA) + "/levels/" + name; }

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(AutoplayLevel, HandWrittenLevelsPrintTheirLevelLineAndPlay)
{
    struct Case {
        const char* file;
        const char* line;
    } cases[] = {
        {"tricky-formatting.xml", "level: tiles=38 layers=3 types=5 cards=12 shift=10,-5"},
        {"damaged.xml", "level: tiles=22 layers=2 types=3 cards=10 shift=0,0"},
        {"beyond-the-format.xml", "level: tiles=10 layers=1 types=31 cards=99 shift=1000,-1000"},
    };
    for (const Case& c : cases)
        for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
            AutoplayOptions o;
            o.mode = mode;
            o.level = Data(c.file);
            o.deals = 5;
            std::ostringstream out, err;
            AutoplaySummary summary;
            ASSERT_EQ(RunAutoplay(o, out, err, &summary), 0) << err.str();
            std::string first = out.str().substr(0, out.str().find('\n'));
            EXPECT_EQ(first, c.line) << c.file;
            EXPECT_EQ(summary.deals, 5);
            EXPECT_GT(summary.meanMoves, 0) << c.file << " mode " << static_cast<int>(mode);
        }
}

TEST(AutoplayLevel, SaveWritesTheLevelInTheWritersLayout)
{
    auto out = std::filesystem::temp_directory_path() / ("autoplay_save_" + std::to_string(::getpid()) + ".xml");
    AutoplayOptions o;
    std::string error;
    ASSERT_TRUE(ParseAutoplayArgs({"--mode", "drag", "--level", Data("tricky-formatting.xml"), "--save", out.string(),
                                   "--deals", "1"},
                                  o, error))
        << error;
    std::ostringstream log, err;
    ASSERT_EQ(RunAutoplay(o, log, err), 0) << err.str();
    // Checked by hand once: tabs, line feeds, filler, 20 rows per layer,
    // upright tiles written lying one column left on row 2r+1, and a later
    // tile overwriting an earlier one where their tokens overlap.
    EXPECT_EQ(ReadFile(out.string()), ReadFile(Data("tricky-formatting.saved.xml")));
    std::filesystem::remove(out);

    AutoplayOptions fresh;
    EXPECT_FALSE(ParseAutoplayArgs({"--mode", "drag", "--save", "x.xml"}, fresh, error));
    EXPECT_EQ(error, "--save needs --level");
    o.save = "/no/such/folder/x.xml";
    std::ostringstream err2;
    EXPECT_EQ(RunAutoplay(o, log, err2), 1);
    EXPECT_NE(err2.str().find("cannot write level file /no/such/folder/x.xml"), std::string::npos);
}

// Sections:
//   - StringToInt
//   - LevelFile: paths of the two sets
//   - reading (tokens, formatting, attributes, limits, damage)
//   - writing (layout, marks, round trip, atomic replace)
//   - hand-written level files

#include "game/board/LevelFile.h"

#include "framework/resources/XMLParser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace Zorvin;

namespace {

LevelFile ReadText(const std::string& text, int maxTiles = -1)
{
    XMLParser reader;
    reader.OpenBuffer("level.xml", text);
    LevelFile level;
    level.Read(reader, maxTiles);
    return level;
}

// A level with one layer whose rows are given; the rest of the grid is empty.
std::string OneLayer(const std::vector<std::string>& rows, const std::string& levelAttributes = "")
{
    std::string s = "<Level " + levelAttributes + "><Layers><Layer>";
    for (const auto& r : rows)
        s += "<l>" + r + "</l>";
    return s + "</Layer></Layers></Level>";
}

// "x,y o J L K" for each tile, to compare whole layers at once.
std::string Describe(const std::vector<LevelTile>& tiles)
{
    std::ostringstream out;
    for (const auto& t : tiles)
        out << t.x << "," << t.y << " o" << t.orientation << (t.joker ? " J" : "") << (t.lockType >= 0 ? " L" + std::to_string(t.lockType) : "")
            << (t.itemType >= 0 ? " K" + std::to_string(t.itemType) : "") << "; ";
    return out.str();
}

std::filesystem::path TempDir()
{
    auto dir = std::filesystem::temp_directory_path() / ("levelfile_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace

TEST(StringToInt, DecimalHexadecimalAndSign)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"0", true, 0}, {"42", true, 42}, {"-17", true, -17}, {"0x1F", true, 31}, {"0Xff", true, 255},
        {"-0x10", true, -16}, {"0x", true, 0}, {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1}, {"0xFFFFFFFF", true, -1},
        // Failures give 0.
        {"", false, 0}, {"12a", false, 0}, {"0x1G", false, 0}, {"5x1", false, 0}, {"x5", false, 0},
        {" 1", false, 0}, {"1.5", false, 0}, {"2147483648", false, 0}, {"0x100000000", false, 0},
        {"99999999999999999999", false, 0}, {"A", false, 0},
    };
    for (const auto& c : cases) {
        int v = 12345;
        EXPECT_EQ(StringToInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(LevelFile, PathsOfTheTwoSets)
{
    EXPECT_EQ(LevelPath(PlayMode::Drag, 7), "levels/Levels2/Level7.xml");
    EXPECT_EQ(LevelPath(PlayMode::Click, 60), "levels/Levels1/Level60.xml");
    EXPECT_EQ(LevelPath(PlayMode::Editor, 3), "levels/Level3.xml");
}

TEST(LevelFile, TokensBecomeTilesAtTheirGridPositions)
{
    LevelFile level = ReadText(OneLayer({
        ".,.,.,.,",
        "[JJ][==].,.,[L12.,[K0][Kx]",
        "[].,.,[]",
        "[L",
        ".,.,[",
    }, "ShiftX=\"10\" ShiftY=-5"));
    ASSERT_EQ(level.layers.size(), 1u);
    // Row 1 right to left: item with a non-digit (0), item 0, lock 1 (the
    // "2" is filler), plain, joker. Row 2: uprights use a 50 pixel pitch.
    // Row 3: a row ending right after "L" gives lock 0. Row 4: "[" at the
    // end of a row is a lying tile.
    EXPECT_EQ(Describe(level.layers[0]),
              "490,45 o3 K0; 410,45 o3 K0; 290,45 o3 L1; 130,45 o3; 50,45 o3 J; "
              "150,145 o0; 30,145 o0; "
              "50,95 o3 L0; "
              "130,120 o3; ");
}

TEST(LevelFile, TrickyFormattingReadsLikeTheCleanForm)
{
    // Unquoted and hexadecimal attributes, comments, entities, self-closing
    // elements, whitespace runs and CR/LF line ends.
    std::string tricky =
        "<?xml version=\"1.0\"?>\r\n<!-- a level -->\r\n"
        "<Level Typs=0x3,4,0x0A ShiftX = \"0x14\" Background=\"sea&amp;sky.png\" Music=2 CardsInDeck=0x0C>\r\n"
        "  <Layers>\r\n    <Layer>\r\n      <l/>\r\n"
        "      <l>   [==]   [JJ] </l>\r\n"
        "      <!-- the next row is blank -->\r\n      <l> </l>\r\n"
        "      <l>&#91;[K1]</l>\r\n"
        "    </Layer>\r\n    <Layer/>\r\n  </Layers>\r\n</Level>\r\n";
    LevelFile level = ReadText(tricky);
    EXPECT_TRUE(level.complete) << level.errorText;
    EXPECT_EQ(level.types, (std::vector<int>{3, 4, 10}));
    EXPECT_EQ(level.shiftX, 20);
    EXPECT_EQ(level.backgroundName, "sea&sky.png");
    EXPECT_TRUE(level.hasMusic);
    EXPECT_EQ(level.musicTrack, 2);
    EXPECT_EQ(level.cardsInDeck, 12);
    ASSERT_EQ(level.layers.size(), 2u);
    // Leading whitespace is dropped and inner runs become one space, so
    // "[==] [JJ]" puts the joker at column 5. Row 3: "&#91;" is not an
    // entity the reader knows, so the row reads "&[K1]".
    EXPECT_EQ(Describe(level.layers[0]), "160,50 o3 J; 60,50 o3; 80,100 o3 K1; ");
    EXPECT_TRUE(level.layers[1].empty());
}

TEST(LevelFile, TypesAttribute)
{
    auto types = [](const std::string& attrs) { return ReadText(OneLayer({}, attrs)).types; };
    EXPECT_EQ(types(""), std::vector<int>{0});
    EXPECT_EQ(types("Typs=\"\""), std::vector<int>{0});
    EXPECT_EQ(types("Typs=\"3,,5\""), (std::vector<int>{3, 0, 5}));
    EXPECT_EQ(types("Typs=\"1,2,\""), (std::vector<int>{1, 2, 0}));
    // Values with no tile picture count as 0.
    EXPECT_EQ(types("Typs=\"25,26,-1,x\""), (std::vector<int>{25, 0, 0, 0}));
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += (i ? "," : "") + std::to_string(i % 26);
    std::vector<int> got = types("Typs=\"" + many + "\"");
    ASSERT_EQ(got.size(), 31u);
    EXPECT_EQ(got[30], 4);
}

TEST(LevelFile, OtherAttributesAndTheirLimits)
{
    LevelFile none = ReadText(OneLayer({}));
    EXPECT_EQ(none.backgroundName, "");
    EXPECT_FALSE(none.hasMusic);
    EXPECT_FALSE(none.hasCardsInDeck);

    LevelFile clamped = ReadText(OneLayer({}, "ShiftX=99999 ShiftY=-99999 CardsInDeck=100000 Music=x"));
    EXPECT_EQ(clamped.shiftX, LevelFile::kMaxShift);
    EXPECT_EQ(clamped.shiftY, -LevelFile::kMaxShift);
    EXPECT_EQ(clamped.cardsInDeck, LevelFile::kMaxCardsInDeck);
    EXPECT_TRUE(clamped.hasMusic);
    EXPECT_EQ(clamped.musicTrack, 0);
    EXPECT_EQ(ReadText(OneLayer({}, "CardsInDeck=-4")).cardsInDeck, 0);
}

TEST(LevelFile, MaxTilesTakesTheFirstInScanOrder)
{
    LevelFile level = ReadText(OneLayer({"[==][==][==]", "[==][==]"}), 3);
    EXPECT_EQ(Describe(level.layers[0]), "200,25 o3; 120,25 o3; 40,25 o3; ");
    EXPECT_EQ(ReadText(OneLayer({"[==][==]"}), 0).layers[0].size(), 0u);
}

TEST(LevelFile, WhatTheGridCannotHoldIsLeftOut)
{
    std::string filler = LevelFile::kFiller;
    std::vector<std::string> rows(25, filler);
    rows[19] = "[==]" + filler.substr(4);
    rows[20] = "[==]"; // below the grid
    rows[0] = filler.substr(0, 40) + "[==]" + "[==]"; // col 40 fits, col 44 is past the grid
    rows[1] = filler.substr(0, 41) + "[JJ]"; // a lying token at column 41 would not fit
    rows[2] = filler.substr(0, 42) + "[]"; // an upright one fits
    // Lock and item types without pictures leave the tile unmarked.
    rows[3] = "[L3][K9]";
    LevelFile level = ReadText(OneLayer(rows));
    EXPECT_EQ(Describe(level.layers[0]), "840,25 o3; 860,150 o0; 120,100 o3; 40,100 o3; 40,500 o3; ");

    // Text of an <l> outside a Layer, and rows of layers past the limit.
    std::string s = "<Level><Layers><l>[==]</l><Layer><l>[==]</l></Layer><l>[==]</l>";
    for (int i = 0; i < LevelFile::kMaxLayers + 3; ++i)
        s += "<Layer><l>[==]</l></Layer>";
    s += "</Layers></Level>";
    LevelFile many = ReadText(s);
    ASSERT_EQ(many.layers.size(), static_cast<size_t>(LevelFile::kMaxLayers));
    for (const auto& layer : many.layers)
        EXPECT_EQ(layer.size(), 1u);

    // Full grids on every layer: the level keeps the first kMaxTiles tiles
    // in reading order, ending inside a layer, and even a maxTiles above
    // the bound cannot lift it.
    std::string full = "<Level><Layers>";
    for (int l = 0; l < LevelFile::kMaxLayers; ++l) {
        full += "<Layer>";
        for (int r = 0; r < LevelFile::kGridRows; ++r)
            full += "<l>[==][==][==][==][==][==][==][==][==][==][==]</l>";
        full += "</Layer>";
    }
    full += "</Layers></Level>";
    for (int maxTiles : {-1, 100000}) {
        LevelFile bounded = ReadText(full, maxTiles);
        size_t tiles = 0;
        for (const auto& layer : bounded.layers)
            tiles += layer.size();
        EXPECT_EQ(tiles, static_cast<size_t>(LevelFile::kMaxTiles));
        EXPECT_EQ(bounded.layers[1].size(), LevelFile::kMaxTiles - 220u);
    }
}

TEST(LevelFile, DamagedFileKeepsWhatWasRead)
{
    std::string text = OneLayer({"[==]", "[JJ]"}, "Typs=\"4,5\" CardsInDeck=7");
    // Cut in the middle of the third row's text, and with a stray ">" there.
    std::string cut = text.substr(0, text.find("</Layer>")) + "<l>[==] >[==]</l></Layer>";
    for (const std::string& damaged : {cut, text.substr(0, text.find("[JJ]") + 7)}) {
        LevelFile level = ReadText(damaged);
        EXPECT_FALSE(level.complete);
        EXPECT_FALSE(level.errorText.empty());
        EXPECT_EQ(level.types, (std::vector<int>{4, 5}));
        EXPECT_EQ(level.cardsInDeck, 7);
        ASSERT_EQ(level.layers.size(), 1u);
        EXPECT_EQ(Describe(level.layers[0]).substr(0, 20), "40,25 o3; 40,50 o3 J");
    }

    LevelFile missing;
    EXPECT_FALSE(missing.Read("/no/such/dir/Level1.xml"));
    EXPECT_EQ(missing.errorText, "Unable to open file /no/such/dir/Level1.xml");
}

TEST(LevelFile, WriterLayoutIsExact)
{
    LevelFile level;
    level.types = {1, 2, 13};
    level.shiftX = -10;
    level.shiftY = 5;
    level.backgroundName = "back3.jpg";
    level.musicTrack = 4;
    level.cardsInDeck = 12;
    LevelTile joker{30, 55, 3, true, -1, -1};
    LevelTile plain{110, 55, 3, false, -1, -1};
    level.layers = {{joker, plain}, {}};
    std::string filler = LevelFile::kFiller;
    std::string expected = "<?xml version=\"1.0\"?>\n"
                           "<Level Typs=\"1,2,13\" ShiftX=\"-10\" ShiftY=\"5\" Background=\"back3.jpg\" Music=\"4\" CardsInDeck=\"12\">\n"
                           "\t<Layers>\n\t\t<Layer>\n";
    expected += "\t\t\t<l>" + filler + "</l>\n";
    expected += "\t\t\t<l>[JJ][==]" + filler.substr(8) + "</l>\n";
    for (int i = 2; i < 20; ++i)
        expected += "\t\t\t<l>" + filler + "</l>\n";
    expected += "\t\t</Layer>\n\t\t<Layer>\n";
    for (int i = 0; i < 20; ++i)
        expected += "\t\t\t<l>" + filler + "</l>\n";
    expected += "\t\t</Layer>\n\t</Layers>\n</Level>\n";
    EXPECT_EQ(level.Format(), expected);
}

TEST(LevelFile, WriterMarksOverlapsAndEdges)
{
    LevelFile level;
    LevelTile lockAndItem{40, 25, 3, false, 1, 2}; // only the lock is written
    LevelTile item{120, 25, 3, false, -1, 2};
    LevelTile overlapping{80, 25, 3, false, -1, -1}; // later tiles overwrite
    LevelTile upright{20, 50, 0, false, -1, -1};     // column -1: onto the edge
    LevelTile farAway{5000, 5000, 3, false, -1, -1};
    level.layers = {{lockAndItem, item, overlapping, upright, farAway}};
    std::string text = level.Format();
    std::string filler = LevelFile::kFiller;
    EXPECT_NE(text.find("<l>[L[==]2]" + filler.substr(8) + "</l>"), std::string::npos) << text;
    EXPECT_NE(text.find("<l>[==]" + filler.substr(4) + "</l>"), std::string::npos) << text;
    EXPECT_NE(text.find("<l>" + filler.substr(0, 40) + "[==]</l>"), std::string::npos) << text;
    // Every row keeps its 44 characters.
    std::istringstream lines(text);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line))
        if (line.find("<l>") != std::string::npos) {
            EXPECT_EQ(line.size(), 3 + 3 + 44 + 4u) << line;
            ++rows;
        }
    EXPECT_EQ(rows, 20);
}

TEST(LevelFile, SaveThenLoadReproducesLyingTilesAndAttributes)
{
    srand(7);
    for (int round = 0; round < 20; ++round) {
        LevelFile level;
        level.types.clear();
        for (int i = 0, n = rand() % 31 + 1; i < n; ++i)
            level.types.push_back(rand() % 26);
        level.shiftX = rand() % 201 - 100;
        level.shiftY = rand() % 201 - 100;
        level.backgroundName = round % 3 ? "bg" + std::to_string(round) + ".jpg" : "odd \"name\" <&>.png";
        level.hasMusic = true;
        level.musicTrack = rand() % 6;
        level.hasCardsInDeck = true;
        level.cardsInDeck = rand() % 40;
        for (int l = 0, layers = rand() % 4 + 1; l < layers; ++l) {
            // Non-overlapping tokens, listed in reading order.
            level.layers.emplace_back();
            for (int row = 0; row < 20; row += 2)
                for (int col = 40; col >= 0; col -= 4) {
                    if (rand() % 3)
                        continue;
                    LevelTile t;
                    t.x = 20 * col + 40 + level.shiftX;
                    t.y = 25 * row + 25 + level.shiftY;
                    switch (rand() % 4) {
                    case 1: t.joker = true; break;
                    case 2: t.lockType = rand() % 3; break;
                    case 3: t.itemType = rand() % 3; break;
                    }
                    level.layers.back().push_back(t);
                }
        }
        LevelFile back = ReadText(level.Format());
        ASSERT_TRUE(back.complete) << back.errorText;
        EXPECT_EQ(back.types, level.types);
        EXPECT_EQ(back.shiftX, level.shiftX);
        EXPECT_EQ(back.shiftY, level.shiftY);
        EXPECT_EQ(back.backgroundName, level.backgroundName);
        EXPECT_EQ(back.musicTrack, level.musicTrack);
        EXPECT_EQ(back.cardsInDeck, level.cardsInDeck);
        ASSERT_EQ(back.layers.size(), level.layers.size());
        for (size_t l = 0; l < level.layers.size(); ++l)
            EXPECT_EQ(Describe(back.layers[l]), Describe(level.layers[l])) << "round " << round << " layer " << l;
        // Writing what was read gives the same bytes again.
        EXPECT_EQ(back.Format(), level.Format());
    }
}

TEST(LevelFile, WriteReplacesAtomicallyAndReportsFailure)
{
    auto dir = TempDir();
    std::string path = (dir / "level.xml").string();
    {
        std::ofstream old(path);
        old << "old contents that are longer than nothing";
    }
    LevelFile level;
    level.layers = {{LevelTile{}}};
    ASSERT_TRUE(level.Write(path));
    std::ifstream in(path, std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, level.Format());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    EXPECT_FALSE(level.Write((dir / "missing" / "level.xml").string()));
    EXPECT_FALSE(level.Write(dir.string())); // a folder cannot be replaced by a file
    std::filesystem::remove_all(dir);
}

TEST(LevelFile, HandWrittenLevelFiles)
{
    struct Expect {
        const char* file;
        bool complete;
        size_t tiles;
        size_t layers;
        size_t types;
        int cards;
        int shiftX, shiftY;
    } cases[] = {
        {"tricky-formatting.xml", true, 38, 3, 5, 12, 10, -5},
        {"damaged.xml", false, 22, 2, 3, 10, 0, 0},
        {"beyond-the-format.xml", true, 10, 1, 31, 99, 1000, -1000},
    };
    for (const Expect& e : cases) {
        LevelFile level;
        ASSERT_TRUE(level.Read(std::string(KORVELT_TEST_DATA) + "/levels/" + e.file)) << e.file;
        size_t tiles = 0;
        for (const auto& layer : level.layers)
            tiles += layer.size();
        EXPECT_EQ(level.complete, e.complete) << e.file << ": " << level.errorText;
        EXPECT_EQ(tiles, e.tiles) << e.file;
        EXPECT_EQ(level.layers.size(), e.layers) << e.file;
        EXPECT_EQ(level.types.size(), e.types) << e.file;
        EXPECT_EQ(level.cardsInDeck, e.cards) << e.file;
        EXPECT_EQ(level.shiftX, e.shiftX) << e.file;
        EXPECT_EQ(level.shiftY, e.shiftY) << e.file;
    }
    LevelFile tricky;
    tricky.Read(std::string(KORVELT_TEST_DATA) + "/levels/tricky-formatting.xml");
    EXPECT_EQ(tricky.backgroundName, "sea&sky.jpg");
    EXPECT_EQ(tricky.musicTrack, 2);
    // Row 7 ends with "[" at the last column a lying token may take.
    EXPECT_EQ(Describe({tricky.layers[0][17]}), "850,195 o3; ");
    // The upright tokens of the top layer.
    EXPECT_EQ(Describe({tricky.layers[2][0], tricky.layers[2][3]}), "470,45 o0; 110,45 o0; ");

    LevelFile beyond;
    beyond.Read(std::string(KORVELT_TEST_DATA) + "/levels/beyond-the-format.xml");
    EXPECT_EQ(Describe({beyond.layers[0][0], beyond.layers[0][1], beyond.layers[0][2], beyond.layers[0][3]}),
              "1520,-975 o3 K2; 1360,-975 o3 L2; 1200,-975 o3; 1040,-975 o3; ");
    EXPECT_EQ(beyond.types[25], 0);
    EXPECT_EQ(beyond.types[30], 2);
}

// Sections:
//   - numbers and level paths
//   - reading a level file (attributes, rows of tokens)
//   - writing one
//   - loading a level onto the field and saving the field
//   - choosing the level to start

#include "game/board/LevelFile.h"

#include "framework/core/FileUtil.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/resources/XMLParser.h"
#include "game/board/BoardHost.h"
#include "game/board/Deck.h"
#include "game/board/DominoFish.h"
#include "game/board/FishField.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace Zorvin {

const char* const LevelFile::kFiller = ".,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,";

bool StringToInt(const std::string& text, int& value)
{
    value = 0;
    if (text.empty())
        return false;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-') {
        negative = true;
        i = 1;
    }
    size_t digitsStart = i;
    int base = 10;
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if ((c == 'x' || c == 'X') && i == digitsStart + 1 && v == 0 && base == 10) {
            base = 16;
            continue;
        } else
            return false;
        v = v * base + d;
        // Hexadecimal may use all 32 bits; decimal must fit a signed int.
        uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
        if (v > limit)
            return false;
    }
    int32_t r = static_cast<int32_t>(static_cast<uint32_t>(v));
    value = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(r)) : r;
    return true;
}

std::string LevelPath(PlayMode mode, int n)
{
    std::string set = mode == PlayMode::Click ? "Levels1/" : mode == PlayMode::Drag ? "Levels2/" : "";
    return "levels/" + set + "Level" + std::to_string(n) + ".xml";
}

namespace {

int IntOf(const std::string& text)
{
    int v;
    StringToInt(text, v);
    return v;
}

// Attribute values are plain names and numbers; the characters that would
// break the markup are written as entities so any name survives a reload.
std::string EscapeAttribute(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

bool LevelFile::Read(const std::string& path, int maxTiles)
{
    // A folder opens like an empty file on this system and would read as a
    // valid level with no tiles; only a regular file is a level.
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    std::error_code ec;
    std::filesystem::file_status st = std::filesystem::status(native, ec);
    if (std::filesystem::exists(st) && !std::filesystem::is_regular_file(st)) {
        complete = false;
        errorText = "not a regular file";
        errorLine = 0;
        return false;
    }
    XMLParser reader;
    if (!reader.OpenFile(path)) {
        complete = false;
        errorText = reader.GetErrorText();
        errorLine = 0;
        return false;
    }
    Read(reader, maxTiles);
    return true;
}

void LevelFile::Read(XMLParser& reader, int maxTiles)
{
    if (maxTiles < 0 || maxTiles > kMaxTiles)
        maxTiles = kMaxTiles;
    XMLNode node;
    int current = -1;  // index of the layer being read, -1 outside any
    int rowsSeen = 0;  // <l> elements begun in the current layer
    int tilesMade = 0;
    while (reader.ReadNode(node)) {
        if (node.type == XMLNode::TYPE_START) {
            if (node.value == "Level") {
                ReadLevelAttributes(node);
            } else if (node.value == "Layer" && node.section == "Level/Layers") {
                if (static_cast<int>(layers.size()) < kMaxLayers) {
                    layers.emplace_back();
                    current = static_cast<int>(layers.size()) - 1;
                } else {
                    current = -1;
                }
                rowsSeen = 0;
            } else if (node.value == "l" && node.section == "Level/Layers/Layer") {
                // Rows are counted by element, so an empty <l/> still
                // stands for a blank row.
                ++rowsSeen;
            }
        } else if (node.type == XMLNode::TYPE_END) {
            if (node.value == "Layer" && node.section == "Level/Layers/Layer")
                current = -1;
        } else if (node.type == XMLNode::TYPE_TEXT && node.section == "Level/Layers/Layer/l") {
            if (current >= 0 && rowsSeen > 0)
                ScanRow(node.value, current, rowsSeen - 1, tilesMade, maxTiles);
        }
    }
    complete = !reader.HasFailed();
    errorText = reader.GetErrorText();
    errorLine = complete ? 0 : reader.GetLineNumber();
}

void LevelFile::ReadLevelAttributes(const XMLNode& node)
{
    // Typs: comma-separated; an empty entry (or a missing list) counts as 0,
    // and so does anything that is not a tile value. Entries beyond the
    // table's size are dropped.
    types.clear();
    const std::string& typs = node.GetAttribute("Typs");
    size_t start = 0;
    for (;;) {
        size_t comma = typs.find(',', start);
        std::string piece = typs.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int v = IntOf(piece);
        if (v < 0 || v > kMaxTileValue)
            v = 0;
        if (static_cast<int>(types.size()) < kMaxTypes)
            types.push_back(v);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }

    shiftX = std::clamp(IntOf(node.GetAttribute("ShiftX")), -kMaxShift, kMaxShift);
    shiftY = std::clamp(IntOf(node.GetAttribute("ShiftY")), -kMaxShift, kMaxShift);

    const std::string& background = node.GetAttribute("Background");
    if (!background.empty())
        backgroundName = background;

    const std::string& music = node.GetAttribute("Music");
    if (!music.empty()) {
        hasMusic = true;
        musicTrack = IntOf(music);
    }

    const std::string& cards = node.GetAttribute("CardsInDeck");
    if (!cards.empty()) {
        hasCardsInDeck = true;
        cardsInDeck = std::clamp(IntOf(cards), 0, kMaxCardsInDeck);
    }
}

void LevelFile::ScanRow(const std::string& text, int layer, int row, int& tilesMade, int maxTiles)
{
    if (row >= kGridRows)
        return;
    std::vector<LevelTile>& tiles = layers[layer];
    const int length = static_cast<int>(std::min<size_t>(text.size(), kGridColumns));
    // Right to left, so each row's tiles are listed from right to left.
    for (int j = length - 1; j >= 0; --j) {
        if (text[j] != '[')
            continue;
        if (maxTiles >= 0 && tilesMade >= maxTiles)
            return;
        // The position right after the text counts as a character other
        // than "]"; so does anything past the grid's last column.
        char c = j + 1 < length ? text[j + 1] : '\0';
        LevelTile t;
        if (c == ']') {
            t.orientation = 0;
            t.x = 20 * j + 20 + shiftX;
            t.y = 50 * (row + 1) + shiftY;
        } else {
            if (j > kLastTokenColumn)
                continue; // a lying token must fit the row
            t.orientation = 3;
            t.x = 20 * j + 40 + shiftX;
            t.y = 25 * row + 25 + shiftY;
            if (c == 'J') {
                t.joker = true;
            } else if (c == 'L' || c == 'K') {
                // One digit; a non-digit or the end of the row gives 0. Types
                // without a lock or item picture leave the tile unmarked.
                int type = IntOf(j + 2 < length ? text.substr(j + 2, 1) : "");
                if (type >= 0 && type <= kMaxMarkType)
                    (c == 'L' ? t.lockType : t.itemType) = type;
            }
        }
        tiles.push_back(t);
        ++tilesMade;
    }
}

std::string LevelFile::Format() const
{
    std::string out = "<?xml version=\"1.0\"?>\n<Level Typs=\"";
    for (size_t i = 0; i < types.size(); ++i)
        out += (i ? "," : "") + std::to_string(types[i]);
    out += "\" ShiftX=\"" + std::to_string(shiftX) + "\" ShiftY=\"" + std::to_string(shiftY)
        + "\" Background=\"" + EscapeAttribute(backgroundName) + "\" Music=\"" + std::to_string(musicTrack)
        + "\" CardsInDeck=\"" + std::to_string(cardsInDeck) + "\">\n\t<Layers>\n";
    for (const auto& layer : layers) {
        std::vector<std::string> grid(kGridRows, kFiller);
        for (const LevelTile& t : layer) {
            // Inverse of the lying-tile position, truncating toward zero.
            int64_t column = (static_cast<int64_t>(t.x) - shiftX) / 20 - 2;
            int64_t row = (static_cast<int64_t>(t.y) - shiftY) / 25 - 1;
            int c = static_cast<int>(std::clamp<int64_t>(column, 0, kLastTokenColumn));
            int r = static_cast<int>(std::clamp<int64_t>(row, 0, kGridRows - 1));
            char mark1 = '=', mark2 = '=';
            if (t.joker) {
                mark1 = mark2 = 'J';
            } else if (t.lockType >= 0) {
                mark1 = 'L';
                mark2 = std::to_string(t.lockType)[0];
            } else if (t.itemType >= 0) {
                mark1 = 'K';
                mark2 = std::to_string(t.itemType)[0];
            }
            std::string& line = grid[r];
            line[c] = '[';
            line[c + 1] = mark1;
            line[c + 2] = mark2;
            line[c + 3] = ']';
        }
        out += "\t\t<Layer>\n";
        for (const std::string& line : grid)
            out += "\t\t\t<l>" + line + "</l>\n";
        out += "\t\t</Layer>\n";
    }
    out += "\t</Layers>\n</Level>\n";
    return out;
}

bool LevelFile::Write(const std::string& fileName) const
{
    return FileUtil::WriteFileAtomic(fileName, Format(), false);
}

bool LoadLevel(int style, FishField& field, const std::string& path, int maxTiles, bool playMusic)
{
    if (style < 0 || style > 3)
        style = rand() % 4;
    if (field.deck)
        field.deck->style = style;

    LevelFile level;
    if (!level.Read(path, maxTiles))
        return false;
    ApplyLevel(level, style, field, playMusic);
    return true;
}

void ApplyLevel(const LevelFile& level, int style, FishField& field, bool playMusic)
{
    field.level.typeCount = static_cast<int>(level.types.size());
    std::copy(level.types.begin(), level.types.end(), field.level.types.begin());
    field.level.shiftX = level.shiftX;
    field.level.shiftY = level.shiftY;
    if (!level.backgroundName.empty()) {
        // A picture that does not load leaves the board without one (it is
        // drawn plain); the name stays so that saving keeps it.
        field.level.backgroundName = level.backgroundName;
        field.level.backgroundImage.reset();
        if (field.app)
            field.level.backgroundImage = field.app->LoadDisplayImage("images/" + level.backgroundName);
        if (auto* memory = dynamic_cast<MemoryImage*>(field.level.backgroundImage.get()))
            memory->Palletize();
    }
    if (level.hasMusic && playMusic) {
        if (field.app) {
            field.app->FadeOutAllMusic(0.002);
            field.app->FadeInSong(level.musicTrack, 0.002, true);
        }
        field.level.musicTrack = level.musicTrack;
    }
    if (level.hasCardsInDeck)
        field.level.cardsInDeck = level.cardsInDeck;

    int applied = 0;
    for (const auto& tiles : level.layers) {
        int layerIndex = static_cast<int>(field.layers.size());
        Layer& layer = field.layers.emplace_back();
        layer.reserve(tiles.size());
        for (const LevelTile& t : tiles) {
            // A record made elsewhere than by the reader obeys the same bound.
            if (applied >= LevelFile::kMaxTiles)
                break;
            ++applied;
            auto fish = std::make_unique<DominoFish>(t.x, t.y, t.orientation, layerIndex, &field);
            fish->style = style;
            if (t.joker)
                fish->MakeJoker(true);
            fish->lockType = t.lockType;
            fish->itemType = t.itemType;
            layer.push_back(std::move(fish));
        }
    }
    field.RecountFish();
    field.MarkBackdropStale();
}

bool SaveLevel(const FishField& field, const std::string& fileName)
{
    return LevelFromField(field).Write(fileName);
}

LevelFile LevelFromField(const FishField& field)
{
    LevelFile level;
    int count = std::clamp(field.level.typeCount, 0, LevelFile::kMaxTypes);
    level.types.assign(field.level.types.begin(), field.level.types.begin() + count);
    level.shiftX = field.level.shiftX;
    level.shiftY = field.level.shiftY;
    level.backgroundName = field.level.backgroundName;
    level.hasMusic = true;
    level.musicTrack = field.level.musicTrack;
    level.hasCardsInDeck = true;
    level.cardsInDeck = field.level.cardsInDeck;
    for (const Layer& layer : field.layers) {
        auto& tiles = level.layers.emplace_back();
        for (const auto& fish : layer) {
            if (!fish)
                continue;
            LevelTile t;
            t.x = fish->x;
            t.y = fish->y;
            t.orientation = fish->orientation;
            t.joker = fish->joker;
            t.lockType = fish->lockType;
            t.itemType = fish->itemType;
            tiles.push_back(t);
        }
    }
    return level;
}

std::string ChooseLevelPath(BoardHost& host, PlayMode mode, int& n)
{
    std::string path = LevelPath(mode, n);
    if (host.FileExists(path))
        return path;
    return FallBackToFirstLevel(host, mode, n);
}

std::string FallBackToFirstLevel(BoardHost& host, PlayMode mode, int& n)
{
    n = 1;
    if (PlayerProfile* profile = host.CurrentProfile()) {
        if (mode != PlayMode::Editor)
            profile->Progress(mode).level = 1;
    }
    return LevelPath(mode, 1);
}

} // namespace Zorvin

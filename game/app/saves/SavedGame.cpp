// Sections:
//   - bytes (the writer and reader of the record)
//   - writing a game in progress
//   - reading and checking a saved game
//   - restoring it onto the field

#include "game/app/saves/SavedGame.h"

// Contents: the byte writer and reader; writing a field; parsing and
// checking a file; rebuilding a field from a parsed file.

#include <cstdint>
#include <filesystem>

#include "framework/core/FileUtil.h"
#include "game/board/BoardHost.h"
#include "game/board/ComboMeter.h"
#include "game/board/Deck.h"
#include "game/board/FishField.h"
#include "game/board/LevelFile.h"
#include "game/board/PlayLine.h"

namespace Zorvin {

namespace {

// Limits of a sensible save. Counters grow only by bonuses, so a million is
// far beyond any real game; coordinates beyond kMaxCoordinate are far off
// the 800 x 600 board and would overflow the drawing arithmetic.
constexpr int kMaxCounter = 1000000;
constexpr int kMaxCoordinate = 100000;
constexpr int kMaxStyle = 3;
// Where the two ends of the line rest.
constexpr int kLineLeftX = 358;
constexpr int kLineRightX = 440;
constexpr int kLineY = 565;
constexpr int kLineGlide = 60;

// ---------------------------------------------------------------------------
// Bytes

class ByteWriter {
public:
    void Int(int32_t v)
    {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
    }
    void Bool(bool v) { bytes += static_cast<char>(v ? 1 : 0); }
    // False when the text does not fit its 16-bit length.
    bool String(const std::string& s)
    {
        if (s.size() > 0xFFFF)
            return false;
        bytes += static_cast<char>(s.size() & 0xFF);
        bytes += static_cast<char>((s.size() >> 8) & 0xFF);
        bytes += s;
        return true;
    }
    std::string bytes;
};

// Reads items in order; once an item runs past the end every later read
// fails too, so a caller may check `ok` once after a group of reads.
class ByteReader {
public:
    explicit ByteReader(const std::string& bytes) : bytes(bytes) {}

    int32_t Int()
    {
        if (!Have(4))
            return 0;
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
        pos += 4;
        return static_cast<int32_t>(u);
    }
    bool Bool()
    {
        if (!Have(1))
            return false;
        return bytes[pos++] != 0;
    }
    std::string String()
    {
        if (!Have(2))
            return {};
        size_t n = static_cast<unsigned char>(bytes[pos]) | (static_cast<unsigned char>(bytes[pos + 1]) << 8);
        pos += 2;
        if (!Have(n))
            return {};
        std::string s = bytes.substr(pos, n);
        pos += n;
        return s;
    }
    // A count of items of `itemBytes` each that must still fit in the file.
    int Count(size_t itemBytes, int max)
    {
        int n = Int();
        if (!ok || n < 0 || n > max || static_cast<size_t>(n) * itemBytes > bytes.size() - pos)
            ok = false;
        return ok ? n : 0;
    }
    bool AtEnd() const { return pos == bytes.size(); }

    bool ok = true;

private:
    bool Have(size_t n)
    {
        if (ok && bytes.size() - pos >= n)
            return true;
        ok = false;
        return false;
    }

    const std::string& bytes;
    size_t pos = 0;
};

// ---------------------------------------------------------------------------
// Writing

// The tile as it will rest: a glide is taken to its end (an undone tile that
// bounces lands 5 left of and 5 below its glide target, on its real place)
// and a half turn to the orientation it ends in. A tile turned by half a
// turn (orientation 1) is written with its halves swapped, so that read back
// lying it still shows the same value at each end.
SavedTile RecordOf(const DominoFish& f)
{
    SavedTile t;
    t.x = f.x;
    t.y = f.y;
    if (f.IsGliding()) {
        int bounce = f.bounceOnArrival ? 5 : 0;
        t.x = f.targetX - bounce;
        t.y = f.targetY + bounce;
    }
    int orientation = f.orientation;
    if (f.IsTurning())
        orientation = orientation == 3 ? 1 : 3;
    t.lockType = f.lockType;
    t.itemType = f.itemType;
    t.style = f.style;
    t.valueA = orientation == 1 ? f.valueB : f.valueA;
    t.valueB = orientation == 1 ? f.valueA : f.valueB;
    t.layer = f.layer;
    t.joker = f.joker;
    // Where it is drawn once restored: lying, shifted by its layer.
    t.left = t.x + DominoFish::kLayerShift * t.layer - 40;
    t.top = t.y - 25 - DominoFish::kLayerShift * t.layer;
    return t;
}

void WriteTile(ByteWriter& w, const SavedTile& t)
{
    for (int v : {t.lockType, t.itemType, t.left, t.top, t.x, t.y, t.style, t.valueA, t.valueB, t.layer})
        w.Int(v);
    w.Bool(t.joker);
}

void WriteTiles(ByteWriter& w, const std::vector<std::unique_ptr<DominoFish>>& tiles)
{
    w.Int(static_cast<int32_t>(tiles.size()));
    for (const auto& f : tiles)
        WriteTile(w, RecordOf(*f));
}

// An end of the line that does not exist (a board that was never dealt) is
// written as a plain tile at its resting point.
SavedTile LineRecord(const DominoFish* f, int restX)
{
    if (f)
        return RecordOf(*f);
    SavedTile t;
    t.x = restX;
    t.y = kLineY;
    t.left = restX - 40;
    t.top = kLineY - 25;
    return t;
}

// ---------------------------------------------------------------------------
// Reading

bool ReadTile(ByteReader& r, SavedTile& t)
{
    t.lockType = r.Int();
    t.itemType = r.Int();
    t.left = r.Int();
    t.top = r.Int();
    t.x = r.Int();
    t.y = r.Int();
    t.style = r.Int();
    t.valueA = r.Int();
    t.valueB = r.Int();
    t.layer = r.Int();
    t.joker = r.Bool();
    if (!r.ok)
        return false;
    // left and top are recomputed on restore, so they are not checked.
    auto within = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    bool values = t.joker || (within(t.valueA, 0, LevelFile::kMaxTileValue) &&
                              within(t.valueB, 0, LevelFile::kMaxTileValue));
    return values && within(t.lockType, -1, LevelFile::kMaxMarkType) &&
           within(t.itemType, -1, LevelFile::kMaxMarkType) && within(t.style, 0, kMaxStyle) &&
           within(t.x, -kMaxCoordinate, kMaxCoordinate) && within(t.y, -kMaxCoordinate, kMaxCoordinate) &&
           within(t.layer, 0, LevelFile::kMaxLayers - 1);
}

bool ReadGroup(ByteReader& r, std::vector<SavedTile>& tiles)
{
    int n = r.Count(kSavedTileBytes, kMaxCounter);
    tiles.resize(n);
    for (SavedTile& t : tiles) {
        if (!ReadTile(r, t))
            return false;
    }
    return r.ok;
}

bool CounterOk(int v) { return v >= 0 && v <= kMaxCounter; }

// The game's level files lie below its own folder ("levels/Levels2/Level7.xml").
// A save naming anything else (an absolute path, a way up with "..", a
// device) is not one the game wrote: reading "/dev/zero" or a pipe as a
// level would hang the game, here and at every restart of the level.
bool LevelPathOk(const std::string& path)
{
    if (path.find('\0') != std::string::npos || path.empty() || path[0] == '/' || path[0] == '\\')
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        if (path.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Restoring

// A restored tile: lying, at its place, with the marks and values of the
// record; a joker shows 100 in both halves whatever the record holds.
std::unique_ptr<DominoFish> MakeTile(const SavedTile& t, int layer, FishField& field)
{
    auto f = std::make_unique<DominoFish>(t.x, t.y, 3, layer, &field);
    f->lockType = t.lockType;
    f->itemType = t.itemType;
    f->style = t.style;
    f->valueA = t.valueA;
    f->valueB = t.valueB;
    f->MakeJoker(t.joker);
    return f;
}

// Puts the record into an existing tile of the play line.
void FillLineTile(DominoFish& f, const SavedTile& t)
{
    f.lockType = t.lockType;
    f.itemType = t.itemType;
    f.style = t.style;
    f.valueA = t.valueA;
    f.valueB = t.valueB;
    f.layer = 0;
    f.MakeJoker(t.joker);
    f.SetPosition(t.x, t.y);
}

// What a restore resets before it reads anything: no level end pending, no
// hovered or marked tile, no lock open, no popups, a fresh play line, and
// nothing to undo (the tiles it would refer to are about to be replaced).
void ResetTransientState(FishField& field)
{
    field.ForgetLevelEnd();
    field.drag.Clear();
    field.CloseLocks();
    field.ClearPopups();
    field.RecordMove(LastMove());
    if (field.playLine)
        field.playLine->ResetLine(field.level.types[0], field.level.types[0]);
}

void RestoreDeck(FishField& field, const SavedGameData& data)
{
    Deck& deck = *field.deck;
    deck.Fill(0);
    deck.redealsLeft = data.redealsLeft;
    deck.placeCount = data.placeCount;
    for (const SavedTile& t : data.deck) {
        auto f = MakeTile(t, 0, field);
        f->open = true;
        deck.fish.push_back(std::move(f));
    }
    deck.places.clear();
    deck.places.resize(data.places.size());
    for (size_t i = 0; i < data.places.size(); ++i) {
        for (const SavedTile& t : data.places[i]) {
            auto f = MakeTile(t, 0, field);
            f->open = true;
            deck.places[i].push_back(std::move(f));
        }
    }
}

void ApplySavedGame(FishField& field, const SavedGameData& data)
{
    // The level file gives what the save does not hold: types, background,
    // music and the deck size. Its tiles are dropped again.
    field.mode = PlayModeOf(data.mode);
    field.BeginLevel(data.levelPath);
    std::error_code error;
    if (std::filesystem::is_regular_file(data.levelPath, error))
        LoadLevel(-1, field, data.levelPath, -1, true);
    field.layers.clear();
    field.MarkDealt();

    field.TakeCounters(data.score, data.shufflesLeft);
    field.level.editorStyle = data.editorStyle;
    for (size_t l = 0; l < data.layers.size(); ++l) {
        Layer layer;
        for (const SavedTile& t : data.layers[l])
            layer.push_back(MakeTile(t, static_cast<int>(l), field));
        field.layers.push_back(std::move(layer));
    }
    // The rules end the level when fishCount reaches 0, so it must count the
    // tiles really there, whatever the file claims.
    field.RecountFish();

    if (field.playLine && field.playLine->First()) {
        FillLineTile(*field.playLine->First(), data.lineFirst);
        FillLineTile(*field.playLine->Last(), data.lineLast);
    }
    if (field.deck) {
        RestoreDeck(field, data);
        // Tiles the deck makes later (bonuses) look like the saved ones.
        if (!data.layers.empty() && !data.layers[0].empty())
            field.deck->style = data.layers[0][0].style;
        else if (!data.deck.empty())
            field.deck->style = data.deck[0].style;
    }
}

// What follows every restore: the counters that restart with a level, the
// open and playable tiles, the panel's buttons, and the line's two ends
// sliding into view.
void FinishRestore(FishField& field)
{
    field.RestartCounters();
    if (field.comboMeter)
        field.comboMeter->Reset();
    field.RecomputeOpen();
    field.RecomputePlayable();
    field.RefreshReshuffleButton();
    BoardHost* host = field.app;
    if (host) {
        host->SetUndoEnabled(false);
        if (PlayerProfile* p = host->CurrentProfile())
            field.level.number = p->Progress(field.mode).level;
    }
    if (field.deck)
        field.deck->CountMoves();
    if (field.playLine && field.playLine->First()) {
        field.playLine->First()->GlideTo(0, nullptr, kLineLeftX, kLineY, kLineGlide);
        field.playLine->Last()->GlideTo(0, nullptr, kLineRightX, kLineY, kLineGlide);
    }
    // A game saved with no move left anywhere goes on to the game-over
    // window instead of waiting for a move that cannot come.
    field.CheckEnd();
}

} // namespace

// ---------------------------------------------------------------------------

std::string FormatSavedGame(const FishField& field)
{
    ByteWriter w;
    w.Int(StoredMode(field.mode));
    w.String(field.level.path.size() > 0xFFFF ? std::string() : field.level.path);
    w.Int(field.FishCount());
    w.Int(field.Score());
    w.Int(field.ShufflesLeft());
    w.Int(field.level.editorStyle);
    w.Int(static_cast<int32_t>(field.layers.size()));
    for (const Layer& layer : field.layers)
        WriteTiles(w, layer);
    const PlayLine* line = field.playLine;
    WriteTile(w, LineRecord(line ? line->First() : nullptr, kLineLeftX));
    WriteTile(w, LineRecord(line ? line->Last() : nullptr, kLineRightX));
    const Deck* deck = field.deck;
    w.Int(deck ? deck->redealsLeft : 2);
    w.Int(deck ? deck->placeCount : 2);
    if (!deck) {
        w.Int(0);
        w.Int(0);
        return w.bytes;
    }
    WriteTiles(w, deck->fish);
    w.Int(static_cast<int32_t>(deck->places.size()));
    for (const Place& place : deck->places)
        WriteTiles(w, place);
    return w.bytes;
}

bool SavedGameWritable(const FishField& field)
{
    return field.level.path.size() <= 0xFFFF && LevelPathOk(field.level.path);
}

bool SaveGame(const FishField& field, const std::string& path, FileAccess& files)
{
    // A game that could not be restored is not written at all.
    if (!SavedGameWritable(field))
        return false;
    return files.WriteFile(path, FormatSavedGame(field));
}

bool ReadSavedGame(const std::string& bytes, SavedGameData& out)
{
    if (bytes.size() > kMaxSavedGameBytes)
        return false;
    ByteReader r(bytes);
    out = SavedGameData();
    out.mode = r.Int();
    out.levelPath = r.String();
    out.fishCount = r.Int();
    out.score = r.Int();
    out.shufflesLeft = r.Int();
    out.editorStyle = r.Int();
    if (!r.ok || (out.mode != StoredMode(PlayMode::Drag) && out.mode != StoredMode(PlayMode::Click)) ||
        !LevelPathOk(out.levelPath) || !CounterOk(out.fishCount) || !CounterOk(out.shufflesLeft) || out.editorStyle < 0 ||
        out.editorStyle > kMaxStyle)
        return false;
    // Each layer needs at least its count.
    out.layers.resize(r.Count(4, LevelFile::kMaxLayers));
    for (auto& layer : out.layers) {
        if (!ReadGroup(r, layer))
            return false;
    }
    if (!r.ok || !ReadTile(r, out.lineFirst) || !ReadTile(r, out.lineLast))
        return false;
    out.redealsLeft = r.Int();
    out.placeCount = r.Int();
    if (!r.ok || !CounterOk(out.redealsLeft) || out.placeCount < 0 || out.placeCount > Deck::kMaxPlaces ||
        !ReadGroup(r, out.deck))
        return false;
    out.places.resize(r.Count(4, Deck::kMaxPlaces));
    for (auto& place : out.places) {
        if (!ReadGroup(r, place))
            return false;
    }
    // Bytes after the last place mean the file is not what it claims to be.
    return r.ok && r.AtEnd();
}

bool RestoreGameFromBytes(FishField& field, const std::string& bytes)
{
    ResetTransientState(field);
    SavedGameData data;
    if (!ReadSavedGame(bytes, data))
        return false;
    ApplySavedGame(field, data);
    FinishRestore(field);
    return true;
}

bool RestoreGame(FishField& field, const std::string& path)
{
    std::string bytes;
    if (!FileUtil::ReadFile(path, bytes, kMaxSavedGameBytes + 1)) {
        ResetTransientState(field);
        return false;
    }
    return RestoreGameFromBytes(field, bytes);
}

} // namespace Zorvin

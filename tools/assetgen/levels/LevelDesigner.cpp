// Sections:
//   - backgrounds, schedule and stage ideas
//   - geometry (covering, burial)
//   - placing locks, jokers and upright tiles
//   - placing on screen and turning figures
//   - types
//   - plan geometry and layout keys
//   - campaign parameters
//   - designing a level
//   - upright tokens

#include "tools/assetgen/levels/LevelDesigner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <tuple>

#include "framework/core/FileUtil.h"
#include "game/board/DominoFish.h"
#include "game/board/FishField.h"
#include "game/board/headless/HeadlessHost.h"
#include "game/board/LevelFile.h"
#include "tools/assetgen/levels/LevelTuning.h"

#if __has_include("tools/assetgen/art/BackgroundList.h")
#include "tools/assetgen/art/BackgroundList.h"
#define KORVELT_HAVE_BACKGROUND_LIST 1
#endif

namespace Zorvin::AssetGen {

namespace {

constexpr int kMinTiles = 20;
constexpr int kMaxTiles = 140;
constexpr int kLayerShift = DominoFish::kLayerShift;
// Locks of one type on a level: two to four, rotating through the stage.
constexpr int kMostLocksPerType = 4;

// The songs a level may play; 0 belongs to the menus and 3 to the map.
constexpr int kLevelSongs[] = {1, 2, 4, 5};

struct ScheduleEntry {
    const char* shape;
    int layers;
    // How the figure is turned: ' ' as drawn, 'm' mirrored left to right,
    // 'f' upside down, 'r' both (half a turn).
    char turn;
};

// The order of the levels, five to a stage. Each mode has figures of its
// own, and a figure comes back only with another depth, so no two levels
// share a layout, not even as a mirror image or upside down (a turned figure
// of the same depth would be a copy a player sees through at once). Early stages use small figures of one or two
// layers; size and depth grow stage by stage, with a small figure now and
// then for a change of pace.
const ScheduleEntry kDragSchedule[50] = {
    {"house", 1, ' '}, {"rocket", 2, ' '}, {"moon", 2, ' '}, {"teapot", 2, ' '}, {"star", 2, ' '},
    {"boat", 2, ' '}, {"key", 2, ' '}, {"turtle", 2, ' '}, {"fan", 2, ' '}, {"comb", 2, ' '},
    {"flower", 2, ' '}, {"arrow", 2, ' '}, {"spiral", 2, ' '}, {"lantern", 2, ' '}, {"diamond", 2, ' '},
    {"bell", 2, ' '}, {"castle", 2, ' '}, {"letter K", 2, ' '}, {"arch", 2, ' '}, {"heart", 2, ' '},
    {"pyramid", 2, ' '}, {"ship", 3, ' '}, {"crown", 2, ' '}, {"butterfly", 2, ' '}, {"ladder", 2, ' '},
    {"tower", 2, ' '}, {"stairs", 3, ' '}, {"teapot", 3, 'f'}, {"moon", 3, 'm'}, {"star", 3, 'f'},
    {"house", 4, 'f'}, {"rocket", 4, 'f'}, {"lantern", 3, ' '}, {"arrow", 3, 'm'}, {"castle", 3, 'f'},
    {"fan", 3, 'f'}, {"bell", 4, 'f'}, {"diamond", 3, ' '}, {"letter K", 3, 'm'}, {"heart", 3, 'f'},
    {"wheel", 2, ' '}, {"turtle", 4, ' '}, {"diamond", 4, ' '}, {"arch", 4, 'f'}, {"crown", 4, 'f'},
    {"butterfly", 4, ' '}, {"pyramid", 4, 'f'}, {"ship", 5, 'f'}, {"ladder", 4, ' '}, {"tower", 4, 'f'},
};

const ScheduleEntry kClickSchedule[60] = {
    {"fish", 1, ' '}, {"tree", 2, ' '}, {"snake", 2, ' '}, {"wave", 2, ' '}, {"vee", 2, ' '},
    {"bird", 2, ' '}, {"kite", 2, ' '}, {"letter T", 2, ' '}, {"islands", 2, ' '}, {"lightning", 2, ' '},
    {"anchor", 2, ' '}, {"bridge", 2, ' '}, {"letter X", 2, ' '}, {"ring", 2, ' '}, {"cross", 2, ' '},
    {"sun", 2, ' '}, {"mushroom", 2, ' '}, {"goblet", 2, ' '}, {"owl", 2, ' '}, {"columns", 2, ' '},
    {"amphora", 2, ' '}, {"cat", 2, ' '}, {"colonnade", 3, ' '}, {"letter H", 2, ' '}, {"fish", 3, 'm'},
    {"tree", 3, 'f'}, {"snake", 3, 'm'}, {"wave", 3, 'm'}, {"lyre", 2, ' '}, {"hourglass", 2, ' '},
    {"shield", 2, ' '}, {"islands", 3, 'f'}, {"lightning", 3, 'm'}, {"sail", 2, ' '}, {"shell", 2, ' '},
    {"letter T", 3, 'f'}, {"sun", 3, ' '}, {"mushroom", 3, 'f'}, {"ring", 3, ' '}, {"cross", 3, ' '},
    {"trident", 2, ' '}, {"aqueduct", 2, ' '}, {"goblet", 3, 'f'}, {"owl", 3, 'f'}, {"columns", 3, ' '},
    {"amphora", 3, 'f'}, {"cat", 3, 'f'}, {"letter H", 3, ' '}, {"ring", 4, ' '}, {"hourglass", 4, ' '},
    {"tree", 4, ' '}, {"fish", 4, ' '}, {"snake", 4, 'f'}, {"hourglass", 3, ' '}, {"shield", 4, 'f'},
    {"lightning", 4, 'r'}, {"sun", 4, ' '}, {"cross", 4, ' '}, {"mushroom", 4, ' '}, {"wall", 3, ' '},
};

// What each stage brings: the stage from which keys and locks, jokers and
// upright tiles appear, and when a second and third lock type join.
struct StageIdeas {
    int locksFrom, secondLockFrom, thirdLockFrom;
    int jokersFrom;
    int uprightsFrom;
};
const StageIdeas kDragIdeas{2, 5, 8, 3, 4};
const StageIdeas kClickIdeas{2, 6, 9, 4, 5};

const std::vector<std::string>& BackgroundNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
#ifdef KORVELT_HAVE_BACKGROUND_LIST
        for (const BackgroundEntry& b : kBackgrounds)
            v.push_back(b.name);
#else
        // The names the image step paints its level backgrounds under.
        v = {"bg_harbour.png", "bg_temple.png", "bg_olive_grove.png", "bg_mosaic.png",
             "bg_lagoon.png", "bg_marble_hall.png", "bg_sunset.png", "bg_fresco.png"};
#endif
        return v;
    }();
    return names;
}

// A small generator of our own, so designing a level never disturbs (or
// depends on) the C library generator the rules use.
struct DesignRandom {
    unsigned state;
    explicit DesignRandom(unsigned seed) : state(seed * 2654435761u + 12345u) {}
    int Next(int n)
    {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<unsigned>(n));
    }
};

const ScheduleEntry& Schedule(int mode, int number)
{
    return mode == kClickMode ? kClickSchedule[number - 1] : kDragSchedule[number - 1];
}

const StageIdeas& Ideas(int mode)
{
    return mode == kClickMode ? kClickIdeas : kDragIdeas;
}

bool Intersects(const int a[4], const int b[4])
{
    return a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];
}

// Whether the upper tile reaches over the lower one: one of the seven
// points the board tests lies in the lower tile's box.
bool Covers(int ux, int uy, int lx, int ly)
{
    static const int kPoints[7][2] = {{-20, 0}, {20, 0}, {0, 0}, {-39, -24}, {39, -24}, {-39, 24}, {39, 24}};
    for (const auto& p : kPoints) {
        int px = ux + p[0], py = uy + p[1];
        if (lx - 40 <= px && px <= lx + 40 && ly - 25 <= py && py <= ly + 25)
            return true;
    }
    return false;
}

// For every tile, the tiles above it that reach over it, directly or
// through others.
std::vector<std::set<int>> BuriedBy(const LevelPlan& plan)
{
    const auto& t = plan.tiles;
    int n = static_cast<int>(t.size());
    std::vector<std::vector<int>> coveredBy(n);
    for (int u = 0; u < n; ++u) {
        for (int d = 0; d < n; ++d) {
            if (t[d].layer < t[u].layer &&
                Covers(40 * t[u].at.hx, 25 * t[u].at.hy, 40 * t[d].at.hx, 25 * t[d].at.hy))
                coveredBy[d].push_back(u);
        }
    }
    // Layers only grow upwards, so visiting tiles from the top layer down
    // has every upper tile's set ready when a lower one needs it.
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return t[a].layer > t[b].layer; });
    std::vector<std::set<int>> buried(n);
    for (int d : order) {
        for (int u : coveredBy[d]) {
            buried[d].insert(u);
            buried[d].insert(buried[u].begin(), buried[u].end());
        }
    }
    return buried;
}

bool Unmarked(const PlannedTile& t)
{
    return !t.upright && !t.joker && t.lockType < 0 && t.itemType < 0;
}

// Keys first, then the locks of each type. A key of type k may lie only
// under locks of a lower type, never under its own or a higher one, so the
// keys can always be collected in type order.
void PlaceLocks(LevelPlan& plan, int lockTypes, int locksPerType, DesignRandom& rnd)
{
    if (lockTypes <= 0)
        return;
    std::vector<std::set<int>> buried = BuriedBy(plan);
    int n = static_cast<int>(plan.tiles.size());
    int top = plan.layerCount - 1;
    std::vector<int> keys;
    for (int k = 0; k < lockTypes; ++k) {
        // Keys hide under other tiles when the layout has any, so that
        // finding them is part of the puzzle.
        std::vector<int> covered, any;
        for (int i = 0; i < n; ++i) {
            if (!Unmarked(plan.tiles[i]))
                continue;
            any.push_back(i);
            if (!buried[i].empty())
                covered.push_back(i);
        }
        const std::vector<int>& pool = covered.empty() ? any : covered;
        if (pool.empty())
            break;
        int key = pool[rnd.Next(static_cast<int>(pool.size()))];
        plan.tiles[key].itemType = k;
        keys.push_back(key);
    }
    int placedTypes = static_cast<int>(keys.size());
    for (int k = 0; k < placedTypes; ++k) {
        std::vector<int> high, low;
        for (int i = 0; i < n; ++i) {
            if (!Unmarked(plan.tiles[i]))
                continue;
            bool buriesKey = false;
            for (int j = 0; j <= k && !buriesKey; ++j)
                buriesKey = buried[keys[j]].count(i) != 0;
            if (buriesKey)
                continue;
            (plan.tiles[i].layer >= top - 1 ? high : low).push_back(i);
        }
        int placed = 0;
        for (int m = 0; m < locksPerType; ++m) {
            std::vector<int>& pool = high.empty() ? low : high;
            if (pool.empty())
                break;
            int pick = rnd.Next(static_cast<int>(pool.size()));
            plan.tiles[pool[pick]].lockType = k;
            pool.erase(pool.begin() + pick);
            ++placed;
        }
        if (placed == 0) {
            // A key without a lock opens nothing: take it away again.
            plan.tiles[keys[k]].itemType = -1;
            continue;
        }
        plan.locks += placed;
        plan.lockTypes = k + 1;
    }
}

void PlaceJokers(LevelPlan& plan, int jokers, DesignRandom& rnd)
{
    // Jokers lie low, as a reward for digging.
    for (int j = 0; j < jokers; ++j) {
        std::vector<int> pool;
        for (int layer = 0; layer < plan.layerCount && pool.empty(); ++layer) {
            for (int i = 0; i < static_cast<int>(plan.tiles.size()); ++i) {
                if (plan.tiles[i].layer == layer && Unmarked(plan.tiles[i]))
                    pool.push_back(i);
            }
        }
        if (pool.empty())
            return;
        plan.tiles[pool[rnd.Next(static_cast<int>(pool.size()))]].joker = true;
        ++plan.jokers;
    }
}


// Whether an upright tile can stand at its place: inside the play area with
// the rest of the figure, overlapping nothing on screen, reaching over or
// under no tile, and with its two characters clear of the tokens of its
// text row.
bool UprightFits(const LevelPlan& plan, const PlannedTile& u)
{
    // Text rows hold one lying half-row but two upright ones, so the rows
    // compared below are those of the file only while the layout's top
    // half-row is 0 (see PlaceUprights); an upright above it would move it.
    if (u.at.hy < 1)
        return false;
    int ur[4];
    plan.DrawnRect(u, ur);
    int x0 = ur[0], y0 = ur[1], x1 = ur[0] + ur[2], y1 = ur[1] + ur[3];
    for (const PlannedTile& t : plan.tiles) {
        int tr[4];
        plan.DrawnRect(t, tr);
        x0 = std::min(x0, tr[0]);
        y0 = std::min(y0, tr[1]);
        x1 = std::max(x1, tr[0] + tr[2]);
        y1 = std::max(y1, tr[1] + tr[3]);
    }
    if (x1 - x0 > kAreaRight - kAreaLeft || y1 - y0 > kAreaBottom - kAreaTop)
        return false;
    int row = (u.at.hy - 1) / 2, b0 = 2 * u.at.hx + 1, b1 = b0 + 1;
    for (const PlannedTile& t : plan.tiles) {
        int tr[4];
        plan.DrawnRect(t, tr);
        int ux = 40 * u.at.hx, uy = 25 * u.at.hy, tx = 40 * t.at.hx, ty = 25 * t.at.hy;
        if (Intersects(ur, tr) || Covers(ux, uy, tx, ty) || Covers(tx, ty, ux, uy))
            return false;
        if (t.layer != u.layer)
            continue;
        int a0 = t.upright ? 2 * t.at.hx + 1 : 2 * t.at.hx;
        int a1 = a0 + (t.upright ? 1 : 3);
        int tRow = t.upright ? (t.at.hy - 1) / 2 : t.at.hy;
        if (tRow == row && a0 <= b1 && b0 <= a1)
            return false;
    }
    return true;
}

// Upright tiles stand alone in the gaps of a figure or beside it: nothing
// may overlap them on screen and no tile may reach over them or under them,
// so they never look covered while they are open. They need an odd half-row,
// where the file's upright token puts them.
void PlaceUprights(LevelPlan& plan, int wanted)
{
    if (wanted <= 0)
        return;
    // Put the top half-row at 0 first (an even move, as PlaceOnScreen
    // makes), so the text rows UprightFits compares are the file's.
    int top = 1 << 20;
    for (const PlannedTile& t : plan.tiles)
        top = std::min(top, t.at.hy);
    top -= ((top % 2) + 2) % 2;
    for (PlannedTile& t : plan.tiles)
        t.at.hy -= top;
    int minHx = 1 << 20, maxHx = -(1 << 20), minHy = 1 << 20, maxHy = -(1 << 20);
    for (const PlannedTile& t : plan.tiles) {
        minHx = std::min(minHx, t.at.hx);
        maxHx = std::max(maxHx, t.at.hx);
        minHy = std::min(minHy, t.at.hy);
        maxHy = std::max(maxHy, t.at.hy);
    }
    int cx2 = minHx + maxHx, cy2 = minHy + maxHy;
    std::vector<HalfCell> spots;
    for (int hy = minHy - 1; hy <= maxHy + 1; ++hy) {
        if ((hy & 1) == 0)
            continue;
        for (int hx = minHx - 2; hx <= maxHx + 2; ++hx)
            spots.push_back({hx, hy});
    }
    // Spots near the middle of the figure first (inside arches and rings).
    std::stable_sort(spots.begin(), spots.end(), [&](const HalfCell& a, const HalfCell& b) {
        int da = std::abs(2 * a.hx - cx2) + 2 * std::abs(2 * a.hy - cy2);
        int db = std::abs(2 * b.hx - cx2) + 2 * std::abs(2 * b.hy - cy2);
        return da < db;
    });
    for (const HalfCell& s : spots) {
        if (plan.uprights >= wanted)
            break;
        // Any layer will do; each layer has its own rows of text.
        for (int layer = 0; layer < plan.layerCount; ++layer) {
            PlannedTile u;
            u.at = s;
            u.layer = layer;
            u.upright = true;
            if (UprightFits(plan, u)) {
                plan.tiles.push_back(u);
                ++plan.uprights;
                break;
            }
        }
    }
}

// Moves the layout so its smallest half-cell is (0, 0) or (0, 1) (an even
// vertical move keeps the uprights on odd half-rows), then shifts it so its
// drawn rectangle is centred in the play area.
bool PlaceOnScreen(LevelPlan& plan, std::string& error)
{
    int minHx = 1 << 20, minHy = 1 << 20;
    for (const PlannedTile& t : plan.tiles) {
        minHx = std::min(minHx, t.at.hx);
        minHy = std::min(minHy, t.at.hy);
    }
    int dy = minHy - (((minHy % 2) + 2) % 2);
    for (PlannedTile& t : plan.tiles) {
        t.at.hx -= minHx;
        t.at.hy -= dy;
    }
    plan.shiftX = plan.shiftY = 0;
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -(1 << 20), y1 = -(1 << 20);
    for (const PlannedTile& t : plan.tiles) {
        int r[4];
        plan.DrawnRect(t, r);
        x0 = std::min(x0, r[0]);
        y0 = std::min(y0, r[1]);
        x1 = std::max(x1, r[0] + r[2]);
        y1 = std::max(y1, r[1] + r[3]);
        // The file's grid: a lying token's "[" in columns 0-40 and rows
        // 0-19, an upright one's in columns 0-42 and rows 0-19.
        int column = t.upright ? 2 * t.at.hx + 1 : 2 * t.at.hx;
        int row = t.upright ? (t.at.hy - 1) / 2 : t.at.hy;
        int lastColumn = t.upright ? LevelFile::kGridColumns - 2 : LevelFile::kLastTokenColumn;
        if (column < 0 || column > lastColumn || row < 0 || row >= LevelFile::kGridRows) {
            error = "a tile falls outside the level grid";
            return false;
        }
    }
    if (x1 - x0 > kAreaRight - kAreaLeft || y1 - y0 > kAreaBottom - kAreaTop) {
        error = "the layout is larger than the play area";
        return false;
    }
    plan.shiftX = (kAreaLeft + kAreaRight - x0 - x1) / 2;
    plan.shiftY = (kAreaTop + kAreaBottom - y0 - y1) / 2;
    return true;
}

// Turns a figure's bottom layer in place: mirrored ('m'), upside down ('f')
// or both ('r'). Rows stay on even half-rows, so stacking works as drawn.
void TurnFigure(std::vector<HalfCell>& cells, char turn)
{
    int maxHx = 0, maxHy = 0;
    for (const HalfCell& c : cells) {
        maxHx = std::max(maxHx, c.hx);
        maxHy = std::max(maxHy, c.hy);
    }
    for (HalfCell& c : cells) {
        if (turn == 'm' || turn == 'r')
            c.hx = maxHx - c.hx;
        if (turn == 'f' || turn == 'r')
            c.hy = maxHy - c.hy;
    }
    // Stacking visits the tiles in picture order.
    std::sort(cells.begin(), cells.end(),
              [](const HalfCell& a, const HalfCell& b) { return a.hy != b.hy ? a.hy < b.hy : a.hx < b.hx; });
}

// The tile values of a level: `count` different values, a different
// selection for every level so the faces change from level to level.
std::vector<int> PickTypes(int mode, int number, int count)
{
    count = std::clamp(count, 2, FishField::kValueCount);
    int start = (number * 7 + mode * 5) % FishField::kValueCount;
    std::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back((start + 11 * i) % FishField::kValueCount);
    return v;
}

} // namespace

void LevelPlan::Centre(const PlannedTile& t, int& x, int& y) const
{
    x = 40 * t.at.hx + 40 + shiftX;
    y = 25 * t.at.hy + 25 + shiftY;
}

void LevelPlan::DrawnRect(const PlannedTile& t, int rect[4]) const
{
    int x, y;
    Centre(t, x, y);
    int w = t.upright ? 40 : 80, h = t.upright ? 100 : 50;
    rect[0] = x - w / 2 + kLayerShift * t.layer;
    rect[1] = y - h / 2 - kLayerShift * t.layer;
    rect[2] = w;
    rect[3] = h;
}

namespace {

// The layout text of the plan's tiles turned by (sx, sy) = (+-1, +-1): tile
// centres are mirrored, then moved so the smallest half-cell is (0, 0).
std::string KeyOfTurn(const LevelPlan& plan, bool bottomOnly, int sx, int sy)
{
    std::vector<std::tuple<int, int, int, bool>> tiles;
    int minHx = 1 << 20, minHy = 1 << 20;
    for (const PlannedTile& t : plan.tiles) {
        minHx = std::min(minHx, sx * t.at.hx);
        minHy = std::min(minHy, sy * t.at.hy);
    }
    for (const PlannedTile& t : plan.tiles) {
        if (!bottomOnly || t.layer == 0)
            tiles.emplace_back(t.layer, sx * t.at.hx - minHx, sy * t.at.hy - minHy, t.upright);
    }
    std::sort(tiles.begin(), tiles.end());
    std::string key;
    for (const auto& [layer, hx, hy, upright] : tiles) {
        key += std::to_string(layer) + (upright ? "u" : ":") + std::to_string(hx) + "," + std::to_string(hy) + ";";
    }
    return key;
}

} // namespace

std::string LayoutKey(const LevelPlan& plan, bool bottomOnly)
{
    return KeyOfTurn(plan, bottomOnly, 1, 1);
}

std::string TurnedLayoutKey(const LevelPlan& plan, bool bottomOnly)
{
    std::string best = KeyOfTurn(plan, bottomOnly, 1, 1);
    for (auto [sx, sy] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{-1, -1}})
        best = std::min(best, KeyOfTurn(plan, bottomOnly, sx, sy));
    return best;
}

int DeckSize(int tiles)
{
    return 4 + std::max(tiles, 0) / 50;
}

void TileImageRect(const LevelPlan& plan, const PlannedTile& t, int rect[4])
{
    plan.DrawnRect(t, rect);
    rect[2] += kTileImageExtra;
    rect[3] += kTileImageExtra;
}

int CampaignLength(int mode)
{
    return mode == kClickMode ? 60 : 50;
}

std::string LevelFolder(int mode)
{
    return mode == kClickMode ? "Levels1" : "Levels2";
}

LevelParams DefaultParams(int mode, int number)
{
    LevelParams p;
    if (number >= 1 && number <= 5) {
        p.typeCount = kOpeningFaces[number - 1];
        return p;
    }
    // From there on the faces grow slowly stage by stage; the tuner moves
    // each level near this towards its target.
    int stage = (number - 1) / 5;
    p.typeCount = kOpeningFaces[4] + (mode == kClickMode ? stage * 3 / 4 : stage);
    return p;
}

LevelParams TunedParams(int mode, int number)
{
    // The opening levels keep their ramp of faces whatever the tuning.
    if (number >= 1 && number <= 5)
        return DefaultParams(mode, number);
    for (const LevelTuning& t : kLevelTuning) {
        if (t.mode == mode && t.number == number)
            return {t.typeCount, t.layers};
    }
    return DefaultParams(mode, number);
}

bool DesignLevel(int mode, int number, const LevelParams& params, LevelPlan& plan, std::string& error)
{
    if (number < 1 || number > CampaignLength(mode)) {
        error = "no such level";
        return false;
    }
    const ScheduleEntry& entry = Schedule(mode, number);
    const LevelShape* shape = FindLevelShape(entry.shape);
    std::vector<HalfCell> base;
    if (!shape || !ParseShapePicture(shape->picture, base, error)) {
        error = std::string("shape ") + entry.shape + ": " + (shape ? error : "unknown");
        return false;
    }
    TurnFigure(base, entry.turn);
    plan = LevelPlan{};
    plan.mode = mode;
    plan.number = number;
    plan.stage = (number - 1) / 5;
    plan.shape = shape->name;
    if (entry.turn == 'm')
        plan.shape += " (mirrored)";
    else if (entry.turn == 'f')
        plan.shape += " (upside down)";
    else if (entry.turn == 'r')
        plan.shape += " (turned)";

    // Layers, dropping top layers while the level has too many tiles.
    std::vector<std::vector<HalfCell>> layers{base};
    const int wantedLayers = params.layers > 0 ? std::min(params.layers, 5) : entry.layers;
    for (int l = 1; l < wantedLayers && l - 1 < static_cast<int>(shape->stacking.size()); ++l) {
        std::vector<HalfCell> next = StackLayer(layers.back(), shape->stacking[l - 1]);
        if (next.empty())
            break;
        layers.push_back(std::move(next));
    }
    auto total = [&] {
        size_t n = 0;
        for (const auto& l : layers)
            n += l.size();
        return static_cast<int>(n);
    };
    while (layers.size() > 1 && total() > kMaxTiles)
        layers.pop_back();
    plan.layerCount = static_cast<int>(layers.size());
    for (int l = 0; l < plan.layerCount; ++l) {
        for (const HalfCell& c : layers[l]) {
            PlannedTile t;
            t.layer = l;
            t.at = c;
            plan.tiles.push_back(t);
        }
    }

    const StageIdeas& ideas = Ideas(mode);
    int s = plan.stage;
    int inStage = (number - 1) % 5;
    DesignRandom rnd(static_cast<unsigned>(mode * 1000 + number));

    // Upright tiles every other level from their stage on, where the figure
    // leaves room for them.
    bool uprights = params.uprights >= 0 ? params.uprights > 0 : kCampaignUprights;
    if (uprights && s >= ideas.uprightsFrom && inStage % 2 == 0)
        PlaceUprights(plan, 2 + (s - ideas.uprightsFrom) / 3 * 2);
    // The last level of a mode is its climax: the most locks of its stage.
    const bool climax = number == CampaignLength(mode);
    if (s >= ideas.locksFrom) {
        int lockTypes = s >= ideas.thirdLockFrom ? 3 : s >= ideas.secondLockFrom ? 2 : 1;
        PlaceLocks(plan, lockTypes, climax ? kMostLocksPerType : 2 + (s + inStage) % 3, rnd);
    }
    if (s >= ideas.jokersFrom)
        PlaceJokers(plan, 1 + (s - ideas.jokersFrom) / 3, rnd);

    if (!PlaceOnScreen(plan, error))
        return false;
    int tiles = static_cast<int>(plan.tiles.size());
    if (tiles < kMinTiles || tiles > kMaxTiles) {
        error = "the level has " + std::to_string(tiles) + " tiles";
        return false;
    }

    plan.types = PickTypes(mode, number, params.typeCount);
    plan.cardsInDeck = std::clamp(DeckSize(tiles), 0, LevelFile::kMaxCardsInDeck);
    const auto& backgrounds = BackgroundNames();
    plan.background = backgrounds[(s * 3 + mode) % backgrounds.size()];
    plan.music = kLevelSongs[(s + mode / 2) % 4];
    return true;
}

namespace {

// The upright tiles go into the written text as two-character tokens: the
// level writer itself only knows lying tiles.
bool AddUprightTokens(const LevelPlan& plan, const std::string& path, std::string& error)
{
    if (plan.uprights == 0)
        return true;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    std::istringstream text(ss.str());
    while (std::getline(text, line))
        lines.push_back(line);
    std::vector<size_t> layerStarts;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "\t\t<Layer>")
            layerStarts.push_back(i + 1);
    }
    const std::string open = "\t\t\t<l>";
    for (const PlannedTile& t : plan.tiles) {
        if (!t.upright)
            continue;
        int row = (t.at.hy - 1) / 2, column = 2 * t.at.hx + 1;
        if (t.layer >= static_cast<int>(layerStarts.size()) || layerStarts[t.layer] + row >= lines.size()) {
            error = "the written file has no row for an upright tile";
            return false;
        }
        std::string& l = lines[layerStarts[t.layer] + row];
        size_t at = open.size() + column;
        if (l.compare(0, open.size(), open) != 0 || at + 1 >= l.size() - 4 ||
            (l[at] != '.' && l[at] != ',') || (l[at + 1] != '.' && l[at + 1] != ',')) {
            error = "an upright tile falls on another token";
            return false;
        }
        l[at] = '[';
        l[at + 1] = ']';
    }
    std::string out;
    for (const std::string& l : lines)
        out += l + "\n";
    if (!FileUtil::WriteFileAtomic(path, out, false)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

struct TileKey {
    int x, y, orientation;
    bool joker;
    int lockType, itemType;
    auto operator<=>(const TileKey&) const = default;
};

} // namespace

bool WriteLevelPlan(const LevelPlan& plan, const std::string& path, std::string& error)
{
    // Writing needs a field but no application.
    HeadlessHost host;
    FishField field(host);
    field.mode = PlayModeOf(plan.mode);
    field.level.typeCount = static_cast<int>(plan.types.size());
    std::copy(plan.types.begin(), plan.types.end(), field.level.types.begin());
    field.level.shiftX = plan.shiftX;
    field.level.shiftY = plan.shiftY;
    field.level.backgroundName = plan.background;
    field.level.musicTrack = plan.music;
    field.level.cardsInDeck = plan.cardsInDeck;
    field.layers.resize(plan.layerCount);
    std::vector<std::vector<TileKey>> expected(plan.layerCount);
    for (const PlannedTile& t : plan.tiles) {
        int x, y;
        plan.Centre(t, x, y);
        expected[t.layer].push_back({x, y, t.upright ? 0 : 3, t.joker, t.lockType, t.itemType});
        if (t.upright)
            continue;
        auto fish = std::make_unique<DominoFish>(x, y, 3, t.layer, &field);
        fish->joker = t.joker;
        fish->lockType = t.lockType;
        fish->itemType = t.itemType;
        field.layers[t.layer].push_back(std::move(fish));
    }
    field.RecountFish();
    if (!SaveLevel(field, path)) {
        error = "cannot write " + path;
        return false;
    }
    if (!AddUprightTokens(plan, path, error))
        return false;

    // The file must give back exactly the designed level.
    LevelFile back;
    if (!back.Read(path) || !back.complete) {
        error = "the written file does not read back: " + back.errorText;
        return false;
    }
    bool same = static_cast<int>(back.layers.size()) == plan.layerCount && back.types == plan.types &&
                back.shiftX == plan.shiftX && back.shiftY == plan.shiftY && back.backgroundName == plan.background &&
                back.musicTrack == plan.music && back.cardsInDeck == plan.cardsInDeck;
    for (int l = 0; same && l < plan.layerCount; ++l) {
        std::vector<TileKey> got;
        for (const LevelTile& t : back.layers[l])
            got.push_back({t.x, t.y, t.orientation, t.joker, t.lockType, t.itemType});
        std::sort(got.begin(), got.end());
        std::sort(expected[l].begin(), expected[l].end());
        same = got == expected[l];
    }
    if (!same) {
        error = "the written file reads back differently: " + path;
        return false;
    }
    return true;
}

bool WriteCampaign(const std::string& gameDir, std::string& error)
{
    for (int mode : {kDragMode, kClickMode}) {
        std::filesystem::path dir = std::filesystem::path(gameDir) / "levels" / LevelFolder(mode);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            LevelPlan plan;
            std::string why;
            std::string name = LevelFolder(mode) + "/Level" + std::to_string(n) + ".xml";
            if (!DesignLevel(mode, n, TunedParams(mode, n), plan, why) ||
                !WriteLevelPlan(plan, (dir / ("Level" + std::to_string(n) + ".xml")).string(), why)) {
                error = name + ": " + why;
                return false;
            }
        }
    }
    return true;
}

} // namespace Zorvin::AssetGen

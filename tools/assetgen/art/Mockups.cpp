// The "mockups" step: four screens put together from the generated pictures
// and the generated font at the positions the game draws them (the board
// in a level, the main menu, the level-lost window over the board, and the
// map), written as "mockup_*.png" beside the contact sheet in the review folder.
// Nothing here ships with the game.

#include "framework/core/Cp1251.h"
#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/art/BackgroundList.h"
#include "tools/assetgen/art/FontSheet.h"
#include "tools/assetgen/art/MapLayout.h"
#include "tools/assetgen/art/Painters.h"

#include <algorithm>
#include <map>

namespace Zorvin::AssetGen {

namespace {

// Text in the game's own font: the shadow band, then the glyphs tinted.
class SheetText {
public:
    explicit SheetText(const FontSheet& f) : font(f) {}

    int Width(const std::string& utf8) const
    {
        int w = 0;
        for (unsigned char b : W(utf8))
            if (const FontGlyph* g = Find(b)) w += g->advance;
        return w;
    }
    void Draw(Canvas& c, const std::string& utf8, int x, int baseline, const Rgba& color) const
    {
        for (int layer = 0; layer < 2; ++layer) {
            int pen = x;
            for (unsigned char b : W(utf8)) {
                const FontGlyph* g = Find(b);
                if (!g) continue;
                int top = baseline - font.ascent - font.margin;
                int bandY = layer == 0 ? font.cellH : 0;
                int shift = layer == 0 ? 1 : 0;
                for (int y = 0; y < font.cellH; ++y)
                    for (int gx = 0; gx < g->w; ++gx) {
                        Rgba p = font.sheet.Get(g->x + gx, bandY + y);
                        if (p.a <= 0) continue;
                        Rgba col = layer == 0 ? Rgba(0, 0, 0, color.a) : color;
                        c.Blend(pen + g->offsetX + gx + shift, top + y + shift, col, p.a);
                    }
                pen += g->advance;
            }
        }
    }
    void Centered(Canvas& c, const std::string& utf8, int cx, int baseline, const Rgba& color) const
    {
        Draw(c, utf8, cx - Width(utf8) / 2, baseline, color);
    }
    int Ascent() const { return font.ascent; }
    int Height() const { return font.ascent + font.descent; }

private:
    const FontGlyph* Find(unsigned char b) const
    {
        for (const FontGlyph& g : font.glyphs)
            if (g.code == b) return &g;
        return nullptr;
    }
    const FontSheet& font;
};

// The pictures by identifier; a map, so references stay valid as it grows.
const Canvas& Img(const char* id)
{
    static std::map<std::string, Canvas> cache;
    auto it = cache.find(id);
    if (it == cache.end()) it = cache.emplace(id, PaintImage(id)).first;
    return it->second;
}

void Cel(Canvas& dst, const char* id, int cel, int x, int y)
{
    const ImageEntry* e = FindImage(id);
    const Canvas& img = Img(id);
    int cw = e->CelWidth(), ch = e->CelHeight();
    dst.Draw(img.Crop((cel % e->cols) * cw, (cel / e->cols) * ch, cw, ch), x, y);
}

// A button with its label as ButtonWidget draws it: centred, baseline at
// (ascent + height - ascent / 6 - 1) / 2.
void Button(Canvas& c, const SheetText& t, const char* id, int x, int y, const char* label, int heightLess)
{
    const Canvas& img = Img(id);
    c.Draw(img.Crop(0, 0, img.W(), img.H() - heightLess), x, y);
    if (!label) return;
    int h = img.H() - heightLess;
    int base = (t.Ascent() + h - t.Ascent() / 6 - 1) / 2;
    t.Centered(c, label, x + img.W() / 2, y + base, Rgba(1, 1, 1, 1));
}

void Tile(Canvas& c, const char* body, int cx, int cy, int layer, int a, int b)
{
    int left = cx - 40 + 7 * layer, top = cy - 25 - 7 * layer;
    c.Draw(Img(body), left, top);
    if (a < 0) return;
    const Canvas& va = Img(("IMAGE_TYP" + std::to_string(a)).c_str());
    const Canvas& vb = Img(("IMAGE_TYP" + std::to_string(b)).c_str());
    c.Draw(va, left + 6 + (40 - va.W()) / 2, top + (50 - va.H()) / 2);
    c.Draw(vb, left + 46 + (40 - vb.W()) / 2, top + (50 - vb.H()) / 2);
}

Canvas Background(const char* name)
{
    for (const ExtraImage& x : ExtraImages())
        if (x.file == std::string("images/") + name) return x.paint(x.width, x.height);
    return Canvas(800, 600);
}

struct TileSpec {
    int x, y, layer;
    bool open;
    int a, b;
};

Canvas Board(const SheetText& t)
{
    Canvas c = Background(kBackgrounds[0].name);
    // A small pyramid of tiles in three layers.
    std::vector<TileSpec> tiles;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col) tiles.push_back({180 + col * 82, 130 + row * 52, 0, false, 0, 0});
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col) tiles.push_back({221 + col * 82, 156 + row * 52, 1, row == 0 || col == 4, (row * 5 + col) % 26, (row * 7 + col * 3 + 5) % 26});
    for (int col = 0; col < 3; ++col) tiles.push_back({262 + col * 82, 208, 2, true, (col * 9 + 3) % 26, (col * 4 + 17) % 26});
    // Shadows baked into the backdrop, then the panels.
    for (const TileSpec& s : tiles) c.Draw(Img("IMAGE_FISH_BORDER"), s.x + 7 * s.layer - 44, s.y - 7 * s.layer - 29);
    c.Draw(Img("IMAGE_PREVIEW"), 0, 26);
    c.Draw(Img("IMAGE_PANEL"), 0, 520);
    c.Draw(Img("IMAGE_PANEL_UP"), 0, 0);
    int styleIndex = 0;
    for (const TileSpec& s : tiles) {
        const char* body = s.open ? "IMAGE_FISH_L" : "IMAGE_FISH_BACK";
        if (s.open && s.layer == 1 && s.a == 4) body = "IMAGE_FISH_OVER";
        Tile(c, body, s.x, s.y, s.layer, s.open ? s.a : -1, s.b);
        ++styleIndex;
    }
    // A lock on a closed tile, a key on an open one, a joker, bonus glitter.
    const TileSpec& closed = tiles[1];
    c.Draw(Img("IMAGE_FISH_LOCK1"), closed.x - 40 + 9, closed.y - 25 - 38);
    const TileSpec& keyed = tiles[tiles.size() - 1];
    Cel(c, "IMAGE_KEY_ANIM", 2, keyed.x - 40 + 14 + 6, keyed.y - 25 - 14 + 9);
    Tile(c, "IMAGE_FISH_JOKER", 640, 360, 0, -1, -1);
    Cel(c, "IM_BONUS_STAR", 3, tiles[24].x - 40 + 7 + 20, tiles[24].y - 25 - 7 - 10 + 20);
    // The magnified tile in the instruction panel.
    c.Draw(Img("IMAGE_FISH_L"), 12, 31);
    c.Draw(Img("IMAGE_TYP3"), 18 + 3, 31 + 3);
    c.Draw(Img("IMAGE_TYP9"), 58 + 3, 31 + 3);
    // Play line (drag mode), its frame, the deck and two places.
    const Canvas& strip = Img("IMAGE_PLAYLINE");
    c.Draw(strip, 400 - strip.W() / 2, 540);
    c.Draw(Img("IMAGE_PANEL_LINE_LAG"), 348, 516);
    Tile(c, "IMAGE_FISH_L", 358, 565, 0, 12, 3);
    Tile(c, "IMAGE_FISH_L", 440, 565, 0, 3, 21);
    c.Draw(Img("IMAGE_PANEL_LINE"), 348, 516);
    c.Draw(Img("IMAGE_CROP_DECK"), -2, 538);
    for (int i = 0; i < 3; ++i) c.Draw(Img("IMAGE_FISH_BACK"), 5 + 7 * i, 540 - 7 * i);
    for (int i = 1; i >= 0; --i) c.Draw(Img("IMAGE_ROCK_PLACE"), 0, 460 - 60 * i);
    Tile(c, "IMAGE_FISH_L", 45, 484, 0, 17, 6);
    t.Draw(c, "2", 106 - t.Width("2") / 2, 590, Rgba(1, 1, 1, 1));
    // Combo meter half full and a x2 popup.
    c.Draw(Img("IMAGE_COMBO_METER"), 760, 270);
    const Canvas& on = Img("IMAGE_COMBO_METER_ON");
    c.Draw(on.Crop(0, on.H() / 2, on.W(), on.H() / 2), 761, 271 + on.H() / 2);
    c.Draw(Img("IMAGE_COMBO_METER_LABELS"), 760, 270);
    c.Draw(Img("IMAGE_x2"), 735, 395, .8f);
    // Buttons and readouts.
    Button(c, t, "IMAGE_BUTTON_MENU", 693, 540, nullptr, 0);
    Button(c, t, "IMAGE_BUTTON_DISABLE", 578, 538, "Отмена", 2);
    Button(c, t, "IMAGE_BUTTON_NORMAL", 578, 568, "Подсказка", 2);
    Button(c, t, "IMAGE_BUTTON_NORMAL", 128, 568, "Тасовок 1", 2);
    t.Draw(c, "Очки: 1240", 10, 17, Rgba(0, 0, 0, 1));
    t.Centered(c, "УРОВЕНЬ 7", 400, 17, Rgba(0, 0, 0, 1));
    t.Draw(c, "Ходов: 4", 720, 17, Rgba(0, 0, 0, 1));
    // The tip balloon as the board shows it for a joker at the left end.
    const Canvas& hint = Img("IMAGE_W_HINT");
    int hx = 310, hy = 550 - hint.H() - 30;
    c.Draw(hint, hx + 29, hy);
    c.Draw(Img("IMAGE_ARROW"), hx, hy + hint.H() - 20);
    std::string tip = "Это джокер! Его можно стыковать с любым камнем. Правой кнопкой можно вращать камни при стыковке с джокером.";
    // Word-wrapped white text in the rectangle (59, 30, W - 60, 100).
    std::string line, word;
    int ty = hy + 30 + t.Ascent();
    auto flush = [&]() {
        t.Draw(c, line, hx + 59, ty, Rgba(1, 1, 1, 1));
        ty += t.Height();
        line.clear();
    };
    for (size_t i = 0; i <= tip.size(); ++i) {
        if (i < tip.size() && tip[i] != ' ') {
            word += tip[i];
            continue;
        }
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && t.Width(candidate) > hint.W() - 60) {
            flush();
            line = word;
        } else
            line = candidate;
        word.clear();
    }
    if (!line.empty()) flush();
    // The close button keeps below the last line of a long tip, as in the game.
    int closeY = std::max(hy + 110, ty - t.Height() + 4 + 4);
    Button(c, t, "IMAGE_BUTTON_NORMAL", hx + 120, closeY, "Закрыть", 4);
    return c;
}

Canvas Menu(const SheetText& t)
{
    Canvas c = Img("IMAGE_TITLE");
    const Canvas& logo = Img("IMAGE_LOGO_SMALL");
    c.Draw(logo, 790 - logo.W(), 460);
    const Canvas& mark = Img("IMAGE_LOADER_KORVELT");
    c.Draw(mark, 400 - mark.W() / 2, 48 - mark.H() / 2);
    t.Centered(c, "Добро пожаловать, Кассандра", 400, 125, Rgba(0, 0, 0, 1));
    Button(c, t, "IM_B_CHANGE_PLAYER", 285, 130, nullptr, 0);
    Button(c, t, "IMAGE_BIG_BUTTON", 313, 314, "Односторонняя игра", 4);
    Button(c, t, "IMAGE_BIG_BUTTON_OVER", 313, 370, "Двусторонняя игра", 4);
    Button(c, t, "IM_B_DIALOG", 338, 424, "Настройки", 2);
    Button(c, t, "IM_B_DIALOG", 338, 464, "Рекорды", 2);
    Button(c, t, "IM_B_DIALOG", 338, 504, "Выход", 2);
    return c;
}

Canvas LostDialog(const SheetText& t, Canvas board)
{
    const Canvas& w = Img("IMAGE_W_SMALL");
    int x = 400 - w.W() / 2, y = 300 - w.H() / 2;
    board.Draw(w, x, y);
    t.Centered(board, "Уровень проигран!", x + w.W() / 2, y + 24 + t.Ascent(), Rgba(0, 0, 0, 1));
    t.Draw(board, "У вас больше нет ходов!", x + 26, y + 24 + t.Height() + 30 + t.Ascent(), Rgba(0, 0, 0, 1));
    Button(board, t, "IM_B_DIALOG", x + 195, y + 105, "Переиграть", 2);
    Button(board, t, "IM_B_DIALOG", x + 30, y + 105, "Перетасовать", 2);
    return board;
}

Canvas Map(const SheetText& t)
{
    Canvas c = Img("IMAGE_W_MAP");
    t.Centered(c, "Карта двустороннего пасьянса", 400, 50, Rgba(1, 1, 1, 1));
    int reached = 2;
    const Canvas& pt = Img("IMAGE_MAP_POINT");
    for (int i = 0; i < 10; ++i) {
        int px = kShipStages[i][0], py = kShipStages[i][1];
        const char* id = i > reached ? "IMAGE_MAP_POINT" : "IMAGE_MAP_POINT_COMPLETE";
        c.Draw(Img(id), px - pt.W() / 2, py - pt.H() / 2);
        std::string n = std::to_string(i + 1);
        int tw = t.Width(n);
        for (auto d : {std::pair{1, 23}, {3, 23}, {2, 24}, {2, 22}}) t.Draw(c, n, px - tw / 2 + d.first, py + d.second, Rgba(0, 0, 0, 1));
        t.Draw(c, n, px - tw / 2 + 2, py + 23, Rgba(0, 1, 0, 1));
    }
    const Canvas& ship = Img("IMAGE_SHIP");
    c.Draw(ship, kShipStages[reached][0] - ship.W() / 2, kShipStages[reached][1] - 50);
    Canvas thumb(120, 90);
    thumb.DrawScaled(Background(kBackgrounds[1].name), 0, 0, 120, 90);
    const Canvas& scroll = Img("IMAGE_SCROLL");
    for (int k = 0; k < 5; ++k) {
        int X = 40 + 150 * k, Y = 440;
        if (k < 3) {
            c.Draw(Img(k == 1 ? "IMAGE_SCROLL_OVER" : "IMAGE_SCROLL"), X - 10, Y - 8);
            if (k == 2) c.Draw(Img("IMAGE_SCROLL_SELECT"), X - 10, Y - 8, .7f);
            c.Draw(thumb, X, Y);
            t.Centered(c, "Уровень " + std::to_string(11 + k), X + 60, Y + 95, Rgba(0, 0, 0, 1));
        } else {
            c.Draw(scroll.Crop(0, 0, 17, scroll.H()), X + 43, Y - 8);
            c.Draw(scroll.Crop(123, 0, 20, scroll.H()), X + 60, Y - 8);
        }
    }
    Button(c, t, "IM_B_DIALOG", 230, 548, "Главное меню", 2);
    Button(c, t, "IM_B_DIALOG_OVER", 430, 548, "Играть", 2);
    return c;
}

Canvas Loading(const SheetText& t)
{
    Canvas c(800, 600);
    c.Fill(Rgba(0, 0, 0, 1));
    const Canvas& mark = Img("IMAGE_LOADER_KORVELT");
    c.Draw(mark, 400 - mark.W() / 2, 330);
    const Canvas& bar = Img("IMAGE_LOADER_BAR");
    c.Draw(bar.Crop(0, 0, bar.W() * 6 / 10, bar.H()), 400 - bar.W() / 2, 450);
    t.Centered(c, "Загрузка...", 400, 500, Rgba(1, 1, 1, 1));
    for (const ExtraImage& x : ExtraImages())
        if (x.file == "images/loading_art.png") {
            Canvas art = x.paint(x.width, x.height);
            c.Draw(art, 400 - art.W() / 2, 160 - art.H() / 2);
        }
    return c;
}

AssetStep mockupsStep("mockups", [](const AssetContext& ctx) {
    FontSheet font = BuildFontSheet();
    SheetText text(font);
    Canvas board = Board(text);
    const std::string& dir = ctx.reviewDir;
    return WritePng(board, dir + "/mockup_board.png") && WritePng(Menu(text), dir + "/mockup_menu.png") &&
           WritePng(LostDialog(text, board), dir + "/mockup_dialog.png") && WritePng(Map(text), dir + "/mockup_map.png") &&
           WritePng(Loading(text), dir + "/mockup_loading.png");
});

} // namespace

} // namespace Zorvin::AssetGen

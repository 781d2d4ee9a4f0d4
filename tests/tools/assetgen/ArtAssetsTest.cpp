// The generated art: the manifest names exactly the identifiers the game
// binds, in their groups, with files that exist; the value pictures are all
// different; the font covers every character the game writes and its
// descriptor is consistent; buttons hold their labels; frames tile cleanly;
// items share their locks' colours; the map's stages stand on the right
// terrain and each mode's map shows its own route; painting is repeatable.
//
// Sections:
//   - the manifest
//   - value pictures
//   - tiles
//   - the font
//   - buttons and frames
//   - the map
//   - painting (repeatable, complete)

#include "framework/core/Cp1251.h"
#include "framework/font/DescParser.h"
#include "framework/resources/ResourceManager.h"
#include "tools/assetgen/art/ImageCatalog.h"
#include "tools/assetgen/LogoScript.h"
#include "tools/assetgen/Manifest.h"
#include "tools/assetgen/art/MapLayout.h"
#include "tools/assetgen/art/FontSheet.h"
#include "tools/assetgen/art/Painters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cctype>
#include <set>
#include <sstream>

using namespace Zorvin;
using namespace Zorvin::AssetGen;

namespace {

// The identifiers the game binds, by group (written out here on purpose,
// independently of the generator's tables).
const std::set<std::string>& ExpectedGameImages()
{
    static const std::set<std::string> ids = [] {
        std::set<std::string> s = {
            "IMAGE_ARROW", "IMAGE_BIG_BUTTON", "IMAGE_BIG_BUTTON_OVER", "IMAGE_BIG_BUTTON_DOWN",
            "IMAGE_BIG_BUTTON_DISABLE", "IMAGE_BUTTON_NORMAL", "IMAGE_BUTTON_OVER", "IMAGE_BUTTON_DOWN",
            "IMAGE_BUTTON_DISABLE", "IMAGE_BUTTON_MENU", "IMAGE_BUTTON_MENU_OVER", "IMAGE_BUTTON_MENU_DOWN",
            "IMAGE_CHARIOT", "IMAGE_SHIP", "IMAGE_CHECKBOX", "IMAGE_COMBO_METER", "IMAGE_COMBO_METER_ON",
            "IMAGE_COMBO_METER_LABELS", "IMAGE_COMPLETE_WND", "IMAGE_CROP_DECK", "IMAGE_DECK_PLACE",
            "IMAGE_NO_CROPS", "IMAGE_ROCK_PLACE", "IMAGE_DIALOG_BOX", "IMAGE_FISH_L", "IMAGE_FISH_L2",
            "IMAGE_FISH_L3", "IMAGE_FISH_OVER", "IMAGE_FISH_OVER2", "IMAGE_FISH_OVER3", "IMAGE_FISH_BACK",
            "IMAGE_FISH_BACK2", "IMAGE_FISH_BACK3", "IMAGE_FISH_ROTATE", "IMAGE_FISH_ROTATE2",
            "IMAGE_FISH_ROTATE3", "IMAGE_FISH_BORDER", "IMAGE_FISH_JOKER", "IMAGE_FISH_JOKER_BACK",
            "IMAGE_FISH_JOKER_ROTATE", "IMAGE_FISH_LOCK0", "IMAGE_FISH_LOCK1", "IMAGE_FISH_LOCK2",
            "IMAGE_KEY_ANIM", "IMAGE_PYRAMID_ANIM", "IMAGE_SPHERE_ANIM", "IMAGE_HOW_TO_PLAY1",
            "IMAGE_HOW_TO_PLAY2", "IMAGE_LOGO_SMALL", "IMAGE_TITLE", "IMAGE_MAP_POINT",
            "IMAGE_MAP_POINT_COMPLETE", "IMAGE_MAP_POINT_SELECT", "IMAGE_SCROLL", "IMAGE_SCROLL_OVER",
            "IMAGE_SCROLL_SELECT", "IMAGE_PANEL", "IMAGE_PANEL_UP", "IMAGE_PREVIEW", "IMAGE_PANEL_LINE",
            "IMAGE_PANEL_LINE_OSS", "IMAGE_PANEL_LINE_LAG", "IMAGE_PLAYLINE", "IMAGE_SLIDER_TRACK",
            "IMAGE_SLIDER_THUMB", "IMAGE_STAR", "IMAGE_STAR_SMALL", "IMAGE_W_HINT", "IMAGE_W_MAP", "IMAGE_W_MAP2", "IMAGE_W_MENU", "IMAGE_W_SMALL", "IMAGE_x2",
            "IMAGE_x3", "IMAGE_x4", "IM_B_DIALOG", "IM_B_DIALOG_OVER", "IM_B_DIALOG_DOWN",
            "IM_B_DIALOG_DISABLE", "IM_B_CHANGE_PLAYER", "IM_B_OVER_CHANGE_PLAYER", "IM_B_MENU",
            "IM_B_OVER_MENU", "IM_BONUS_100", "IM_BONUS_200", "IM_BONUS_CROP", "IM_BONUS_JOKER",
            "IM_BONUS_PLACE", "IM_BONUS_RESHUFFLE", "IM_BONUS_STONE", "IM_BONUS_STAR"};
        for (int i = 0; i < 26; ++i) s.insert("IMAGE_TYP" + std::to_string(i));
        return s;
    }();
    return ids;
}

const std::set<std::string> kGameSounds = {
    "SOUND_CLICK", "SOUND_PUT", "SOUND_PUT_X2", "SOUND_PUT_X3", "SOUND_PUT_X4", "SOUND_FLIP", "SOUND_BONUS",
    "SOUND_BONUS_APPEAR", "SOUND_USE_KEY", "SOUND_LEVEL_START", "SOUND_LEVEL_COMPLETE", "SOUND_LEVEL_FAILED",
    "SOUND_SCROLL", "SOUND_STAGE"};
const std::set<std::string> kTitleImages = {"IMAGE_LOADER_BAR", "IMAGE_LOADER_KORVELT", "IMAGE_LOGO_BIG"};

std::set<std::string> IdsOf(const ResourceManager::ResMap& map, const std::string& group)
{
    std::set<std::string> out;
    for (const auto& [id, res] : map)
        if (res->group == group) out.insert(id);
    return out;
}

std::string GameDir() { return std::string(KORVELT_BUILD_DIR) + "/game"; }

TEST(ArtManifest, NamesExactlyTheBoundIdentifiersInTheirGroups)
{
    ResourceManager rm;
    ASSERT_TRUE(rm.ParseManifestText("properties/resources.xml", BuildManifest())) << rm.GetErrorText();

    EXPECT_EQ(IdsOf(rm.GetFontMap(), "Init"), std::set<std::string>{"FONT_DEFAULT"});
    EXPECT_EQ(IdsOf(rm.GetImageMap(), "Init"), std::set<std::string>{});
    EXPECT_EQ(IdsOf(rm.GetImageMap(), "TitleScreen"), kTitleImages);
    EXPECT_EQ(IdsOf(rm.GetSoundMap(), "TitleScreen"), std::set<std::string>{"SOUND_CONTINUE"});
    EXPECT_EQ(IdsOf(rm.GetImageMap(), "Game"), ExpectedGameImages());
    EXPECT_EQ(IdsOf(rm.GetSoundMap(), "Game"), kGameSounds);
    EXPECT_EQ(ExpectedGameImages().size(), 117u);
    EXPECT_EQ(rm.GetNumResources("Game"), 131);
    EXPECT_EQ(rm.GetNumResources("TitleScreen"), 4);
    EXPECT_EQ(rm.GetNumResources("Init"), 1);
}

TEST(ArtManifest, CelStripsCarryTheirGridAndAnimation)
{
    ResourceManager rm;
    ASSERT_TRUE(rm.ParseManifestText("properties/resources.xml", BuildManifest())) << rm.GetErrorText();
    auto image = [&](const char* id) {
        auto it = rm.GetImageMap().find(id);
        EXPECT_NE(it, rm.GetImageMap().end()) << id;
        return static_cast<const ResourceManager::ImageRes*>(it->second.get());
    };
    // The flip strips run 13 cels: the value pictures open over cels 7-12.
    for (const char* id : {"IMAGE_FISH_ROTATE", "IMAGE_FISH_ROTATE2", "IMAGE_FISH_ROTATE3", "IMAGE_FISH_JOKER_ROTATE"}) {
        EXPECT_EQ(image(id)->cols, 13) << id;
        EXPECT_EQ(image(id)->rows, 1) << id;
    }
    // Checkbox halves and the slider's three cells.
    EXPECT_EQ(image("IMAGE_CHECKBOX")->cols, 2);
    EXPECT_EQ(image("IMAGE_SLIDER_TRACK")->cols, 3);
    // Item animations and the glitter star loop; the star needs at least the
    // five cels a new sparkle may start on.
    for (const char* id : {"IMAGE_KEY_ANIM", "IMAGE_PYRAMID_ANIM", "IMAGE_SPHERE_ANIM", "IM_BONUS_STAR"}) {
        EXPECT_EQ(image(id)->anim.type, 3) << id;
        EXPECT_GE(image(id)->cols * image(id)->rows, 5) << id;
    }
    // Single pictures carry no grid.
    EXPECT_EQ(image("IMAGE_TITLE")->cols, 1);
    EXPECT_EQ(image("IMAGE_TYP0")->anim.type, 0);
}

TEST(ArtManifest, EveryNamedFileIsInTheBuiltGameFolder)
{
    if (!std::filesystem::exists(GameDir() + "/properties/resources.xml")) GTEST_SKIP() << "assets not generated in this build";
    std::ifstream in(GameDir() + "/properties/resources.xml", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), BuildManifest()) << "the game folder holds a stale manifest";
    ResourceManager rm;
    ASSERT_TRUE(rm.ParseManifestText("properties/resources.xml", text.str()));
    for (const auto& [id, res] : rm.GetImageMap()) EXPECT_TRUE(std::filesystem::exists(GameDir() + "/" + res->path)) << id;
    for (const auto& [id, res] : rm.GetFontMap()) EXPECT_TRUE(std::filesystem::exists(GameDir() + "/" + res->path)) << id;
    for (const auto& [id, res] : rm.GetSoundMap())
        EXPECT_TRUE(std::filesystem::exists(GameDir() + "/" + res->path + ".ogg")) << id;
    for (const std::string& f : LogoScriptPictures()) EXPECT_TRUE(std::filesystem::exists(GameDir() + "/" + f)) << f;
}

// ---- the tile values ----

struct Silhouette {
    std::vector<bool> on;
    int count = 0;
};

Silhouette SilhouetteOf(const Canvas& c)
{
    Silhouette s;
    s.on.resize(size_t(c.W()) * c.H());
    for (int y = 0; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x)
            if (c.Get(x, y).a > .5f) {
                s.on[size_t(y) * c.W() + x] = true;
                ++s.count;
            }
    return s;
}

TEST(ArtValues, TwentySixReadableSymbolsWithDifferentShapes)
{
    std::vector<Silhouette> shapes;
    for (int v = 0; v < kValueCount; ++v) {
        Canvas c = PaintImage("IMAGE_TYP" + std::to_string(v));
        ASSERT_GT(c.W(), 0) << v;
        // Each fits the 40 x 50 half it is centred in, and fills a good part
        // of it so it reads at that size.
        EXPECT_LE(c.W(), 40);
        EXPECT_LE(c.H(), 50);
        shapes.push_back(SilhouetteOf(c));
        EXPECT_GT(shapes.back().count, c.W() * c.H() / 6) << "value " << v << " is too thin to read";
    }
    // Shapes alone tell every pair apart (for players who cannot see the
    // colours): the overlap of two silhouettes stays well below their union.
    for (int a = 0; a < kValueCount; ++a)
        for (int b = a + 1; b < kValueCount; ++b) {
            int both = 0, either = 0;
            for (size_t i = 0; i < shapes[a].on.size(); ++i) {
                both += shapes[a].on[i] && shapes[b].on[i];
                either += shapes[a].on[i] || shapes[b].on[i];
            }
            EXPECT_LT(double(both) / double(either), .8) << "values " << a << " and " << b << " look alike";
        }
}

TEST(ArtValues, ColoursSeparateValuesOfSimilarSize)
{
    // Mean colour of the opaque part of each symbol: no two values share
    // both a near-identical colour and a near-identical ink amount.
    struct Stat {
        float r, g, b;
        int ink;
    };
    std::vector<Stat> stats;
    for (int v = 0; v < kValueCount; ++v) {
        Canvas c = PaintImage("IMAGE_TYP" + std::to_string(v));
        Stat s{0, 0, 0, 0};
        for (int y = 0; y < c.H(); ++y)
            for (int x = 0; x < c.W(); ++x) {
                Rgba p = c.Get(x, y);
                if (p.a < .9f) continue;
                s.r += p.r;
                s.g += p.g;
                s.b += p.b;
                ++s.ink;
            }
        ASSERT_GT(s.ink, 0);
        s.r /= float(s.ink);
        s.g /= float(s.ink);
        s.b /= float(s.ink);
        stats.push_back(s);
    }
    for (int a = 0; a < kValueCount; ++a)
        for (int b = a + 1; b < kValueCount; ++b) {
            float dc = std::fabs(stats[a].r - stats[b].r) + std::fabs(stats[a].g - stats[b].g) + std::fabs(stats[a].b - stats[b].b);
            float di = std::fabs(float(stats[a].ink - stats[b].ink)) / float(std::max(stats[a].ink, stats[b].ink));
            EXPECT_TRUE(dc > .12f || di > .15f) << "values " << a << " and " << b << " colour " << dc << " ink " << di;
        }
}

// A colour as seen with normal vision and with full protanopia,
// deuteranopia and tritanopia (the simulation matrices of Machado, Oliveira
// and Fernandes, 2009, applied in linear RGB), each in CIELAB.
struct Lab {
    double l, a, b;
};
std::array<Lab, 4> Seen(const Rgba& c)
{
    static const double kVision[3][3][3] = {
        {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
        {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
        {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    auto lab = [](const double rgb[3]) {
        double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
        double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
        double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
        auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
        return Lab{116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
    };
    double rgb[3] = {linear(c.r), linear(c.g), linear(c.b)};
    std::array<Lab, 4> out;
    out[0] = lab(rgb);
    for (int v = 0; v < 3; ++v) {
        double s[3];
        for (int i = 0; i < 3; ++i)
            s[i] = std::clamp(kVision[v][i][0] * rgb[0] + kVision[v][i][1] * rgb[1] + kVision[v][i][2] * rgb[2], 0.0, 1.0);
        out[v + 1] = lab(s);
    }
    return out;
}

TEST(ArtValues, ColourFamiliesStayApartForColourBlindPlayers)
{
    // Values come in families of two that share a hue and differ in shape.
    // The colours the symbols are painted in must keep two values of
    // different families apart for normal vision and under each simulated
    // deficiency (the old palette had four blue-greys within 4 units).
    std::vector<std::array<Lab, 4>> seen;
    for (int v = 0; v < kValueCount; ++v) seen.push_back(Seen(SymbolColor(v)));
    const char* vision[4] = {"normal vision", "protanopia", "deuteranopia", "tritanopia"};
    std::map<int, int> familySize;
    for (int a = 0; a < kValueCount; ++a) {
        ++familySize[SymbolFamily(a)];
        for (int b = a + 1; b < kValueCount; ++b) {
            if (SymbolFamily(a) == SymbolFamily(b)) continue;
            for (int k = 0; k < 4; ++k) {
                const Lab &p = seen[a][k], &q = seen[b][k];
                double d = std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
                EXPECT_GE(d, 10.0) << "values " << a << " and " << b << " look alike with " << vision[k];
            }
        }
    }
    for (auto [family, size] : familySize) EXPECT_EQ(size, 2) << "family " << family;
    // Levels deal values eleven apart round the 26: a level of up to 13
    // values never holds both values of a family.
    for (int v = 0; v < kValueCount; ++v)
        for (int k = 1; k < 13; ++k)
            EXPECT_NE(SymbolFamily(v), SymbolFamily((v + 11 * k) % kValueCount)) << v << " and " << (v + 11 * k) % kValueCount;
}

TEST(ArtValues, EveryTwoValuesDifferInColourForEveryVisionAndHuesSpreadOut)
{
    // Every value has a colour of its own: any two stay apart for normal
    // vision and under each simulated deficiency (the star and the compass
    // star once merged under deuteranopia), and no hue family, a twelfth of
    // the colour wheel or the greys, holds more than three values (seven
    // were once purple or violet).
    std::vector<std::array<Lab, 4>> seen;
    for (int v = 0; v < kValueCount; ++v) seen.push_back(Seen(SymbolColor(v)));
    const char* vision[4] = {"normal vision", "protanopia", "deuteranopia", "tritanopia"};
    for (int a = 0; a < kValueCount; ++a)
        for (int b = a + 1; b < kValueCount; ++b)
            for (int k = 0; k < 4; ++k) {
                const Lab &p = seen[a][k], &q = seen[b][k];
                double d = std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
                EXPECT_GE(d, 12.0) << "values " << a << " and " << b << " look alike with " << vision[k];
            }
    std::map<int, std::vector<int>> hues;
    for (int v = 0; v < kValueCount; ++v) {
        const Lab& c = seen[v][0];
        double chroma = std::hypot(c.a, c.b);
        int family = 12; // the greys
        if (chroma >= 15) family = int(std::fmod(std::atan2(c.b, c.a) * 180 / M_PI + 360, 360) / 30);
        hues[family].push_back(v);
    }
    for (const auto& [family, values] : hues) {
        std::string list;
        for (int v : values) list += " " + std::to_string(v);
        EXPECT_LE(values.size(), 3u) << "hue family " << family << " holds values" << list;
    }
}

TEST(ArtTiles, FacesNeverLookLikeBacksOrEmptyPlaces)
{
    // Mean lightness of the opaque part of a picture.
    auto lightness = [](const std::string& id) {
        Canvas c = PaintImage(id);
        double sum = 0;
        int n = 0;
        for (int y = 0; y < c.H(); ++y)
            for (int x = 0; x < c.W(); ++x) {
                Rgba p = c.Get(x, y);
                if (p.a < .99f) continue;
                sum += 0.2126 * p.r + 0.7152 * p.g + 0.0722 * p.b;
                ++n;
            }
        return n ? sum / n : 0.0;
    };
    double face = lightness("IMAGE_FISH_L");
    // An open joker is a face: light like the others, far from its back.
    EXPECT_GT(lightness("IMAGE_FISH_JOKER"), lightness("IMAGE_FISH_JOKER_BACK") + .25);
    EXPECT_GT(lightness("IMAGE_FISH_JOKER"), face - .2);
    EXPECT_GT(face, lightness("IMAGE_FISH_BACK") + .25);
    // An empty deck place is a dark socket, not a blank tile.
    EXPECT_LT(lightness("IMAGE_ROCK_PLACE"), face - .35);
}

// ---- the font ----

// Checks the descriptor the way the image font reads it: known commands,
// layers defined before use, lists of equal length, rectangles inside the
// glyph sheet; and remembers each layer's rectangles and widths.
class CheckingFontParser : public DescParser {
public:
    int sheetW = 0, sheetH = 0;
    struct Layer {
        std::map<unsigned char, std::vector<int>> rects;
        std::map<unsigned char, int> widths;
        std::string image;
    };
    std::map<std::string, Layer> layers;

protected:
    bool HandleCommand(const ListDataElement& params) override
    {
        const std::string cmd = static_cast<const SingleDataElement&>(*params.elements[0]).string;
        size_t n = params.elements.size();
        auto layerOf = [&](Layer*& out) {
            std::string name;
            if (!GetName(*params.elements[1], name)) return false;
            auto it = layers.find(name);
            if (it == layers.end()) return Error("Undefined Layer");
            out = &it->second;
            return true;
        };
        if (cmd == "SetDefaultPointSize") return n == 2;
        if (cmd == "CreateLayer") {
            std::string name;
            if (n != 2 || !GetName(*params.elements[1], name)) return Error("Invalid Number of Parameters");
            if (layers.count(name)) return Error("Layer Already Exists");
            layers[name];
            return true;
        }
        Layer* layer = nullptr;
        if (n < 3 || !layerOf(layer)) return n < 3 ? Error("Invalid Number of Parameters") : false;
        if (cmd == "LayerSetImage") return GetString(*params.elements[2], layer->image);
        if (cmd == "LayerSetImageMap" || cmd == "LayerSetCharWidths" || cmd == "LayerSetCharOffsets") {
            std::vector<unsigned char> chars;
            if (!GetCharList(*params.elements[2], chars)) return false;
            if (cmd == "LayerSetCharWidths") {
                std::vector<int> w;
                if (!GetIntList(*params.elements[3], w)) return false;
                if (w.size() != chars.size()) return Error("List Size Mismatch");
                for (size_t i = 0; i < chars.size(); ++i) layer->widths[chars[i]] = w[i];
                return true;
            }
            std::vector<std::vector<int>> tuples;
            if (!GetIntTupleList(*params.elements[3], cmd == "LayerSetImageMap" ? 4 : 2, tuples)) return false;
            if (tuples.size() != chars.size()) return Error("List Size Mismatch");
            if (cmd == "LayerSetImageMap")
                for (size_t i = 0; i < chars.size(); ++i) {
                    const auto& r = tuples[i];
                    if (r[0] < 0 || r[1] < 0 || r[0] + r[2] > sheetW || r[1] + r[3] > sheetH)
                        return Error("Image rectangle out of bounds");
                    layer->rects[chars[i]] = r;
                }
            return true;
        }
        if (cmd == "LayerSetKerningPairs") {
            std::vector<std::string> pairs;
            std::vector<int> offsets;
            if (!GetStringList(*params.elements[2], pairs) || !GetIntList(*params.elements[3], offsets)) return false;
            for (const std::string& p : pairs)
                if (p.size() != 2) return Error("Kerning pair is not two characters");
            return pairs.size() == offsets.size() ? true : Error("List Size Mismatch");
        }
        static const std::set<std::string> others = {"LayerSetAscent", "LayerSetLineSpacingOffset", "LayerSetOffset",
                                                     "LayerSetColorMult", "LayerSetBaseOrder"};
        return others.count(cmd) ? true : Error("Unknown Command");
    }
};

// Every Russian text the game shows, as the screens and dialogs write it.
const char* const kGameTexts[] = {
    "Загрузка...", "Начать игру", "Добро пожаловать, ", "Односторонняя игра", "Двусторонняя игра", "Настройки",
    "Рекорды", "Выход", "Изменение игрока", "Играть", "Главное меню", "Карта одностороннего пасьянса",
    "Карта двустороннего пасьянса", "Уровень ", "УРОВЕНЬ ", "Ходов: ", "Очки: ", "Отмена", "Подсказка", "Тасовок ",
    "Это джокер! Его можно стыковать с любым камнем. Правой кнопкой можно вращать камни при стыковке с джокером.",
    "Используйте колоду если на поле нет ходов.", "Правила игры", "Переиграть", "Продолжить", "Уровень проигран!",
    "У вас больше нет ходов!", "Перетасовать", "Вы хотите продолжить сохраненную игру или начать новую?", "Новая игра",
    "Не показывать больше", "Закрыть", "Громкость музыки:", "Громкость звуков:", "3D режим ускорения:",
    "Полный экран:", "Показывать инструкцию в начале:", "Выбрать", "Удалить", "Изменить", "[ Новый игрок ]",
    "Изменить имя", "Имя", "Не могу изменить имя игрока!", "Такое имя уже есть.",
    "Вы уверены что хотите удалить игрока с именем '", "'?",
    "Пожалуйста создайте еще одного игрока прежде чем удалить этого.", "Список игроков заполнен!",
    "Пожалуйста удалите игрока прежде чем добавить нового.", "Новый игрок", "New Player",
    "Не могу добавить такого игрока!", "Игрок с таким именем уже есть.", "ТАБЛИЦА РЕКОРДОВ",
    "Односторонний пасьянс", "Двусторонний пасьянс", "Уровень пройден!", "Ok", "Да", "Нет", "OK",
    "Вы действительно хотите закончить игру и выйти в главное меню? Ваша игра будет сохранена.",
    "Warning", "Your video card may not fully support this feature.", "Not Supported", "No Windowed Mode",
    "0123456789 x2 x3 x4 «Ёлка» — ёж №1…",
};

// Adds the texts the game's sources write with W("...").
void AddSourceTexts(std::set<unsigned char>& bytes)
{
    for (const char* dir : {"game", "framework"}) {
        std::filesystem::path root = std::filesystem::path(KORVELT_SOURCE_DIR) / dir;
        if (!std::filesystem::exists(root)) continue;
        for (const auto& f : std::filesystem::recursive_directory_iterator(root)) {
            if (f.path().extension() != ".cpp" && f.path().extension() != ".h") continue;
            std::ifstream in(f.path());
            std::stringstream text;
            text << in.rdbuf();
            const std::string s = text.str();
            for (size_t at = s.find("W(\""); at != std::string::npos; at = s.find("W(\"", at + 1)) {
                if (at > 0 && (std::isalnum((unsigned char)s[at - 1]) || s[at - 1] == '_')) continue;
                std::string lit;
                for (size_t i = at + 3; i < s.size() && s[i] != '"' && s[i] != '\n'; ++i) {
                    if (s[i] == '\\' && i + 1 < s.size()) ++i;
                    lit += s[i];
                }
                for (unsigned char b : W(lit)) bytes.insert(b);
            }
        }
    }
}

TEST(ArtFont, DrawsEveryCharacterTheGameWrites)
{
    FontSheet font = BuildFontSheet();
    CheckingFontParser parser;
    parser.sheetW = font.sheet.W();
    parser.sheetH = font.sheet.H();
    ASSERT_TRUE(parser.LoadDescriptorText(BuildFontDescriptor(font))) << parser.GetErrorText();
    ASSERT_TRUE(parser.layers.count("Main"));
    ASSERT_TRUE(parser.layers.count("Shadow"));
    EXPECT_EQ(parser.layers["Main"].image, "Default.png");

    std::set<unsigned char> used;
    for (const char* t : kGameTexts)
        for (unsigned char b : W(t)) used.insert(b);
    AddSourceTexts(used);
    for (unsigned char b : used) {
        const std::string shown = Cp1251ToUtf8(std::string(1, char(b)));
        ASSERT_TRUE(parser.layers["Main"].rects.count(b)) << "no glyph for '" << shown << "'";
        const std::vector<int>& r = parser.layers["Main"].rects[b];
        int ink = 0;
        for (int y = r[1]; y < r[1] + r[3]; ++y)
            for (int x = r[0]; x < r[0] + r[2]; ++x) ink += font.sheet.Get(x, y).a > .5f;
        if (b != ' ') {
            EXPECT_GT(ink, 0) << "glyph '" << shown << "' is empty";
        }
        EXPECT_TRUE(parser.layers["Shadow"].rects.count(b)) << "no shadow for '" << shown << "'";
        EXPECT_GT(parser.layers["Main"].widths[b], 0) << "'" << shown << "' does not advance";
    }
    // Every Cyrillic letter of the code page, both cases, is there too.
    for (int b = 0xC0; b <= 0xFF; ++b) EXPECT_TRUE(parser.layers["Main"].rects.count((unsigned char)b)) << b;
    EXPECT_TRUE(parser.layers["Main"].rects.count(0xA8)); // Ё
    EXPECT_TRUE(parser.layers["Main"].rects.count(0xB8)); // ё
}

TEST(ArtFont, ShadowSitsUnderTheGlyphsAndTheSheetIsWhite)
{
    FontSheet font = BuildFontSheet();
    int glyphInk = 0, shadowInk = 0;
    for (int y = 0; y < font.cellH; ++y)
        for (int x = 0; x < font.sheet.W(); ++x) {
            Rgba g = font.sheet.Get(x, y), s = font.sheet.Get(x, y + font.cellH);
            if (g.a > 0) {
                ++glyphInk;
                // White glyphs, so the text colour alone decides theirs.
                EXPECT_GE(g.r, .99f);
                EXPECT_GE(g.b, .99f);
            }
            if (s.a > 0) {
                ++shadowInk;
                EXPECT_LE(s.r, .01f);
            }
            // Wherever a glyph is solid, its shadow is under it.
            if (g.a > .8f) {
                EXPECT_GT(s.a, .3f) << x << "," << y;
            }
            // The shadow is the glyph's own shape, not softened or grown:
            // under dark text a wider shadow smudged the letters and filled
            // their holes.
            if (g.a == 0) EXPECT_EQ(s.a, 0) << x << "," << y;
        }
    EXPECT_EQ(shadowInk, glyphInk);
}

// Width of a Windows-1251 text in the generated font.
int TextWidth(const FontSheet& font, const std::string& cp1251)
{
    int w = 0;
    for (unsigned char b : cp1251)
        for (const FontGlyph& g : font.glyphs)
            if (g.code == b) w += g.advance;
    return w;
}

TEST(ArtButtons, LabelsFitTheirButtons)
{
    FontSheet font = BuildFontSheet();
    struct Case {
        const char* image;
        std::vector<const char*> labels;
    };
    const Case cases[] = {
        {"IMAGE_BIG_BUTTON", {"Односторонняя игра", "Двусторонняя игра", "Закрыть"}},
        {"IM_B_DIALOG", {"Главное меню", "Правила игры", "Настройки", "Переиграть", "Продолжить", "Перетасовать",
                         "Новая игра", "Рекорды", "Выход", "Играть", "Закрыть", "Ok"}},
        {"IMAGE_BUTTON_NORMAL", {"Отмена", "Подсказка", "Тасовок 99", "Закрыть"}},
    };
    for (const Case& c : cases) {
        const ImageEntry* e = FindImage(c.image);
        ASSERT_NE(e, nullptr);
        for (const char* label : c.labels)
            EXPECT_LE(TextWidth(font, W(label)) + 16, e->width) << c.image << ": " << label;
    }
    // The player dialog's buttons are 100 wide whatever the image.
    for (const char* label : {"Выбрать", "Удалить", "Изменить", "Отмена"}) EXPECT_LE(TextWidth(font, W(label)) + 12, 100) << label;
}

TEST(ArtFrames, ButtonAndDialogFramesTileWithoutSeams)
{
    // Dialogs draw these as nine-slice boxes, repeating the middle third.
    // Buttons: the middle third is the same in every column.
    for (const char* id : {"IMAGE_BUTTON_NORMAL", "IMAGE_BUTTON_OVER", "IMAGE_BUTTON_DOWN", "IM_B_DIALOG", "IM_B_DIALOG_OVER"}) {
        Canvas c = PaintImage(id);
        int third = c.W() / 3;
        for (int x = third; x < c.W() - third; ++x)
            for (int y = 0; y < c.H(); ++y) ASSERT_EQ(c.Pixels()[size_t(y) * c.W() + x], c.Pixels()[size_t(y) * c.W() + third]) << id << " column " << x;
    }
    // The high-score window draws the dialog box 200 pixels wider than it
    // is: after the middle third's last column comes its first column again,
    // so the repeated middle continues without a seam.
    Canvas c = PaintImage("IMAGE_DIALOG_BOX");
    int cw = c.W() / 3, ch = c.H() / 3;
    int midW = c.W() - 2 * cw;
    float worst = 0;
    for (int y = ch; y < c.H() - ch; ++y) {
        Rgba a = c.Get(cw - 1, y), b = c.Get(cw - 1 + midW, y);
        worst = std::max(worst, std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b));
    }
    EXPECT_LT(worst, .06f);
    // The frame runs unchanged along the top and bottom edges.
    for (int x = cw; x < cw + midW; ++x) {
        EXPECT_EQ(c.Get(x, 3).r, c.Get(cw, 3).r) << x;
        EXPECT_EQ(c.Get(x, c.H() - 4).g, c.Get(cw, c.H() - 4).g) << x;
    }
}

TEST(ArtFrames, ParchmentJoinsWithoutASeamWhereverADialogCutsIt)
{
    // A dialog wider or taller than its picture repeats the picture's
    // middle third and cuts the last piece off wherever the size ends (the
    // high-score window showed a seam near x 588, the name dialog near
    // x 437). At every joint the two columns (or rows) that meet differ no
    // more than two neighbours inside the repeated piece do (within a tenth,
    // as the grain makes every pair of lines differ a little).
    auto lineDiff = [](const Canvas& c, int a, int b, bool columns) {
        double sum = 0;
        int n = columns ? c.H() : c.W();
        for (int i = 0; i < n; ++i) {
            Rgba p = columns ? c.Get(a, i) : c.Get(i, a), q = columns ? c.Get(b, i) : c.Get(i, b);
            sum += std::fabs(p.r - q.r) + std::fabs(p.g - q.g) + std::fabs(p.b - q.b);
        }
        return sum / n;
    };
    for (const char* id : {"IMAGE_DIALOG_BOX", "IMAGE_W_SMALL"}) {
        Canvas c = PaintImage(id);
        for (bool columns : {true, false}) {
            int size = columns ? c.W() : c.H();
            int third = size / 3, mid = size - 2 * third;
            double inside = 0;
            for (int i = third; i + 1 < third + mid; ++i) inside = std::max(inside, lineDiff(c, i, i + 1, columns));
            inside *= 1.1;
            // The joint after the left (top) third, after each whole piece,
            // and wherever a cut-off piece meets the far third.
            EXPECT_LE(lineDiff(c, third - 1, third, columns), inside) << id;
            EXPECT_LE(lineDiff(c, third + mid - 1, third, columns), inside) << id;
            for (int cut = 1; cut < mid; cut += 7)
                EXPECT_LE(lineDiff(c, third + cut - 1, size - third, columns), inside) << id << (columns ? " column" : " row") << " cut " << cut;
        }
    }
}

// Mean colour of the clearly coloured, opaque pixels of a picture (the cel
// given of a strip), in CIELAB for normal vision.
Lab InkColour(const std::string& id, int cel = 0)
{
    const ImageEntry* e = FindImage(id);
    Canvas c = PaintImage(id);
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < e->CelHeight(); ++y)
        for (int x = cel * e->CelWidth(); x < (cel + 1) * e->CelWidth(); ++x) {
            Rgba p = c.Get(x, y);
            if (p.a < .95f) continue;
            r += p.r;
            g += p.g;
            b += p.b;
            ++n;
        }
    Rgba mean(float(r / n), float(g / n), float(b / n), 1);
    return Seen(mean)[0];
}

TEST(ArtItems, EachItemWearsTheColourOfTheLocksItOpensAndChainsStayOnTheirTile)
{
    // Item k opens the locks of type k: key and chained padlock, pyramid and
    // padlock, pearl and seal. Each item's hue and colourfulness (CIELAB's
    // a and b; the locks are shaded darker than the items) are nearest its
    // own lock's, at most half as far as any other lock's.
    const char* items[3] = {"IMAGE_KEY_ANIM", "IMAGE_PYRAMID_ANIM", "IMAGE_SPHERE_ANIM"};
    Lab lock[3], item[3];
    for (int k = 0; k < 3; ++k) {
        lock[k] = InkColour("IMAGE_FISH_LOCK" + std::to_string(k));
        item[k] = InkColour(items[k]);
    }
    auto dist = [](const Lab& p, const Lab& q) { return std::hypot(p.a - q.a, p.b - q.b); };
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 3; ++j)
            if (j != k)
                EXPECT_LT(2 * dist(item[k], lock[k]), dist(item[k], lock[j]))
                    << items[k] << " (" << item[k].a << ", " << item[k].b << ") and lock " << j << " (" << lock[j].a << ", " << lock[j].b << ")";
    // The board draws lock 0 three pixels left of and six above its tile
    // (88 x 58): nothing of it may lie over the neighbouring tiles.
    Canvas lock0 = PaintImage("IMAGE_FISH_LOCK0");
    const ImageEntry* tile = FindImage("IMAGE_FISH_BACK");
    for (int y = 0; y < lock0.H(); ++y)
        for (int x = 0; x < lock0.W(); ++x) {
            bool onTile = x >= 3 && x < 3 + tile->width && y >= 6 && y < 6 + tile->height;
            if (!onTile) ASSERT_LT(lock0.Get(x, y).a, .04f) << x << "," << y;
        }
}

TEST(ArtMap, EachModesMapShowsOnlyItsOwnRoute)
{
    // Drag mode (the ship) shows IMAGE_W_MAP, click mode (the chariot)
    // IMAGE_W_MAP2. The ship's lane is drawn in light dashes over the sea,
    // the chariot's road in dark ones over the land; each map has its own
    // route only, and the two maps are the same away from the routes.
    Canvas ship = PaintImage("IMAGE_W_MAP"), chariot = PaintImage("IMAGE_W_MAP2");
    ASSERT_EQ(chariot.W(), ship.W());
    auto nearRoute = [](const int (*pts)[2], int n, float x, float y) {
        float best = 1e9f;
        for (int i = 0; i + 1 < n; ++i) {
            float ax = float(pts[i][0]), ay = float(pts[i][1]), bx = float(pts[i + 1][0]), by = float(pts[i + 1][1]);
            float t = std::clamp(((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) * (bx - ax) + (by - ay) * (by - ay)), 0.f, 1.f);
            best = std::min(best, std::hypot(x - ax - t * (bx - ax), y - ay - t * (by - ay)));
        }
        return best;
    };
    auto luma = [](const Rgba& p) { return .2126 * p.r + .7152 * p.g + .0722 * p.b; };
    double shipLane = 0, chariotRoad = 0;
    for (int y = 0; y < ship.H(); ++y)
        for (int x = 0; x < ship.W(); ++x) {
            float toShip = nearRoute(kShipStages, 10, float(x), float(y)), toChariot = nearRoute(kChariotStages, 12, float(x), float(y));
            double d = luma(ship.Get(x, y)) - luma(chariot.Get(x, y));
            if (toShip > 6 && toChariot > 6)
                ASSERT_LT(std::fabs(d), .02) << "the maps differ away from the routes at " << x << "," << y;
            else if (toShip <= 1.5f && toChariot > 6)
                shipLane += d;
            else if (toChariot <= 1.5f && toShip > 6)
                chariotRoad += d;
        }
    EXPECT_GT(shipLane, 20) << "the ship's lane should be on the drag-mode map only";
    EXPECT_GT(chariotRoad, 20) << "the chariot's road should be on the click-mode map only";
}

TEST(ArtMap, StagesStandOnTheirTerrain)
{
    for (const auto& p : kChariotStages) EXPECT_LT(MapLandDistance(float(p[0]), float(p[1])), -6.f) << p[0] << "," << p[1];
    for (const auto& p : kShipStages) EXPECT_GT(MapLandDistance(float(p[0]), float(p[1])), 6.f) << p[0] << "," << p[1];
    // The map's stage area is not covered by the strip shelf or the title.
    Canvas map = PaintImage("IMAGE_W_MAP");
    Rgba land = map.Get(kChariotStages[5][0], kChariotStages[5][1]);
    Rgba sea = map.Get(kShipStages[4][0], kShipStages[4][1]);
    EXPECT_GT(sea.b - sea.r, land.b - land.r + .1f) << "the sea should be bluer than the land";
}

TEST(ArtPainting, SamePicturesEveryRun)
{
    for (const char* id : {"IMAGE_TYP14", "IMAGE_FISH_ROTATE2", "IMAGE_DIALOG_BOX", "IM_BONUS_STAR"}) {
        const Painter* p = FindPainter(id);
        const ImageEntry* e = FindImage(id);
        ASSERT_TRUE(p && e) << id;
        Canvas a = (*p)(e->width, e->height), b = (*p)(e->width, e->height);
        EXPECT_EQ(a.Pixels(), b.Pixels()) << id;
        EXPECT_EQ(a.W(), e->width);
        EXPECT_EQ(a.H(), e->height);
    }
    FontSheet f1 = BuildFontSheet(), f2 = BuildFontSheet();
    EXPECT_EQ(BuildFontDescriptor(f1), BuildFontDescriptor(f2));
    EXPECT_EQ(f1.sheet.Pixels(), f2.sheet.Pixels());
}

TEST(ArtPainting, EveryCatalogueImageHasAPainter)
{
    for (const ImageEntry& e : ImageCatalog()) EXPECT_NE(FindPainter(e.id), nullptr) << e.id;
}

} // namespace

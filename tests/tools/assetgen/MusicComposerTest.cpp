// The music generator's parts: the module writer's bytes as the player
// reads them back, the instruments' tuning and seamless loops, and the
// songs' harmony (melody on the beat belongs to the chord, everything in
// the key) and length.

#include "tools/assetgen/audio/GameSongs.h"
#include "tools/assetgen/audio/InstrumentSynth.h"
#include "tools/assetgen/audio/SongComposer.h"
#include "tools/assetgen/audio/XmModule.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace Zorvin::AssetGen;

namespace {

struct ModuleDeleter {
    void operator()(openmpt_module* m) const { openmpt_module_destroy(m); }
};
using ModulePtr = std::unique_ptr<openmpt_module, ModuleDeleter>;

ModulePtr Open(const std::vector<unsigned char>& bytes)
{
    return ModulePtr(openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr,
                                                        nullptr, nullptr, nullptr));
}

std::vector<float> RenderMono(openmpt_module* m, double seconds)
{
    std::vector<float> out(static_cast<std::size_t>(seconds * 44100));
    std::size_t done = 0;
    while (done < out.size()) {
        std::size_t got = openmpt_module_read_float_mono(m, 44100, out.size() - done, out.data() + done);
        if (got == 0) break;
        done += got;
    }
    out.resize(done);
    return out;
}

// Fundamental between 150 and 500 Hz by autocorrelation.
double Fundamental(const std::vector<float>& v, std::size_t from, std::size_t count)
{
    double bestScore = -1e30;
    int bestLag = 0;
    for (int lag = 88; lag <= 294; ++lag) {
        double score = 0;
        for (std::size_t i = from; i < from + count && i + lag < v.size(); ++i) score += double(v[i]) * v[i + lag];
        if (score > bestScore) {
            bestScore = score;
            bestLag = lag;
        }
    }
    // Parabolic refinement around the best lag for sub-sample accuracy.
    auto at = [&](int lag) {
        double s = 0;
        for (std::size_t i = from; i < from + count && i + lag < v.size(); ++i) s += double(v[i]) * v[i + lag];
        return s;
    };
    double a = at(bestLag - 1), b = at(bestLag), c = at(bestLag + 1);
    double shift = (a - c) / (2.0 * (a - 2 * b + c));
    return 44100.0 / (bestLag + (std::isfinite(shift) ? shift : 0.0));
}

XmModule OneNoteModule(InstrumentKind kind, int note)
{
    XmModule m;
    m.name = "test";
    m.channels = 2;
    m.instruments.push_back(InstrumentSynth::Make(kind));
    XmPattern p(64, 2);
    p.At(0, 0).note = static_cast<uint8_t>(note);
    p.At(0, 0).instrument = 1;
    m.patterns.push_back(p);
    m.order = {0};
    return m;
}

} // namespace

TEST(XmModule, PlayerReadsBackStructureCellsAndLength)
{
    XmModule m;
    m.name = "round trip";
    m.channels = 4;
    m.bpm = 100;
    m.speed = 5;
    m.instruments.push_back(InstrumentSynth::Make(InstrumentKind::Flute));
    m.instruments.push_back(InstrumentSynth::Make(InstrumentKind::Kick));
    XmPattern a(32, 4), b(48, 4);
    a.At(0, 0) = {49, 1, 0x10 + 40, 0, 0};
    a.At(5, 3) = {XmModule::kKeyOff, 0, 0, 0, 0};
    a.At(31, 2) = {60, 2, 0x50, 0x08, 0xC0};
    b.At(47, 1) = {1, 1, 0, 0, 0};
    m.patterns = {a, b};
    m.order = {0, 1, 0};

    ModulePtr mod = Open(m.Write());
    ASSERT_TRUE(mod);
    openmpt_module* p = mod.get();
    const char* title = openmpt_module_get_metadata(p, "title");
    EXPECT_STREQ(title, "round trip");
    openmpt_free_string(title);
    EXPECT_EQ(openmpt_module_get_num_channels(p), 4);
    EXPECT_EQ(openmpt_module_get_num_patterns(p), 2);
    EXPECT_EQ(openmpt_module_get_num_orders(p), 3);
    EXPECT_EQ(openmpt_module_get_num_instruments(p), 2);
    EXPECT_EQ(openmpt_module_get_order_pattern(p, 1), 1);
    EXPECT_EQ(openmpt_module_get_pattern_num_rows(p, 1), 48);
    const char* name = openmpt_module_get_instrument_name(p, 1);
    EXPECT_STREQ(name, "kick");
    openmpt_free_string(name);
    // libopenmpt numbers notes from C-0 = 1 + 12, i.e. XM note + 12.
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 0, 0, OPENMPT_MODULE_COMMAND_NOTE), 49 + 12);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 0, 0, OPENMPT_MODULE_COMMAND_INSTRUMENT), 1);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 0, 0, OPENMPT_MODULE_COMMAND_VOLUME), 40);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 31, 2, OPENMPT_MODULE_COMMAND_NOTE), 60 + 12);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 31, 2, OPENMPT_MODULE_COMMAND_INSTRUMENT), 2);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 31, 2, OPENMPT_MODULE_COMMAND_PARAMETER), 0xC0);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 0, 1, 0, OPENMPT_MODULE_COMMAND_NOTE), 0);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(p, 1, 47, 1, OPENMPT_MODULE_COMMAND_NOTE), 13);
    // Rows x speed x 2.5 / bpm seconds: (32 + 48 + 32) x 5 x 0.025.
    EXPECT_NEAR(m.LengthSeconds(), 14.0, 1e-9);
    EXPECT_NEAR(openmpt_module_get_duration_seconds(p), m.LengthSeconds(), 0.05);
}

TEST(XmModule, GlobalVolumeLowersTheWholeSongWithoutTouchingOtherCommands)
{
    XmModule m = OneNoteModule(InstrumentKind::Flute, 49);
    m.patterns[0].At(0, 0).effect = 0x08;
    m.patterns[0].At(0, 0).param = 0xC0;
    ModulePtr full = Open(m.Write());
    m.globalVolume = 32;
    ModulePtr half = Open(m.Write());
    ASSERT_TRUE(full && half);
    // The command goes to the first free effect column; the pan stays.
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(half.get(), 0, 0, 0, OPENMPT_MODULE_COMMAND_PARAMETER), 0xC0);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(half.get(), 0, 0, 1, OPENMPT_MODULE_COMMAND_PARAMETER), 32);
    auto rms = [](const std::vector<float>& v) {
        double sum = 0;
        for (float x : v) sum += double(x) * x;
        return std::sqrt(sum / v.size());
    };
    double ratio = rms(RenderMono(half.get(), 0.5)) / rms(RenderMono(full.get(), 0.5));
    EXPECT_NEAR(20.0 * std::log10(ratio), -6.0, 0.5);
}

TEST(XmModule, CellsOutsideAPatternAreIgnored)
{
    XmPattern p(4, 2);
    p.At(4, 0).note = 10;
    p.At(0, 2).note = 11;
    p.At(-1, 0).note = 12;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c) EXPECT_EQ(p.At(r, c).note, 0);
    EXPECT_EQ(static_cast<const XmPattern&>(p).At(9, 9).note, 0);
}

TEST(InstrumentSynth, TonalInstrumentsAreInTuneAndLoopWithoutASeam)
{
    const InstrumentKind tonal[] = {InstrumentKind::WarmPad, InstrumentKind::DarkPad, InstrumentKind::Strings,
                                    InstrumentKind::Bass,    InstrumentKind::Harp,    InstrumentKind::Bouzouki,
                                    InstrumentKind::Flute,   InstrumentKind::Reed,    InstrumentKind::Horn,
                                    InstrumentKind::Celesta, InstrumentKind::Marimba};
    for (InstrumentKind kind : tonal) {
        XmModule m = OneNoteModule(kind, 49); // C-4
        SCOPED_TRACE(m.instruments[0].name);
        ModulePtr mod = Open(m.Write());
        ASSERT_TRUE(mod);
        std::vector<float> v = RenderMono(mod.get(), 0.6);
        ASSERT_GT(v.size(), 20000u);
        // Middle C within 3 cents (0.2 %).
        EXPECT_NEAR(Fundamental(v, 8000, 8000), 261.6256, 261.6256 * 0.002);

        // Across the loop point the wave steps no further than it does
        // anywhere inside the loop.
        const XmInstrument& ins = m.instruments[0];
        ASSERT_GT(ins.loopLength, 0);
        int maxStep = 0;
        for (int i = ins.loopStart + 1; i < ins.loopStart + ins.loopLength; ++i)
            maxStep = std::max(maxStep, std::abs(ins.data[i] - ins.data[i - 1]));
        int seam = std::abs(ins.data[ins.loopStart] - ins.data[ins.loopStart + ins.loopLength - 1]);
        EXPECT_LE(seam, maxStep);
    }
}

TEST(InstrumentSynth, DrumsAreShortOneShotsThatFadeOut)
{
    const InstrumentKind drums[] = {InstrumentKind::Kick,    InstrumentKind::Snare,      InstrumentKind::ClosedHat,
                                    InstrumentKind::OpenHat, InstrumentKind::Shaker,     InstrumentKind::Tambourine,
                                    InstrumentKind::Dum,     InstrumentKind::Tek};
    for (InstrumentKind kind : drums) {
        XmInstrument ins = InstrumentSynth::Make(kind);
        SCOPED_TRACE(ins.name);
        EXPECT_EQ(ins.loopLength, 0);
        EXPECT_LT(ins.data.size(), 22050u / 2);
        int peak = 0;
        for (int16_t s : ins.data) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 20000);
        EXPECT_LT(std::abs(int(ins.data.back())), 200);
    }
}

namespace {

// Scale degrees of each bar of a plan's chord text, halves expanded.
std::vector<std::vector<int>> BarsOf(const char* text)
{
    std::vector<std::vector<int>> bars;
    std::istringstream in(text);
    std::string entry;
    while (in >> entry) {
        std::vector<int> bar;
        std::istringstream parts(entry);
        std::string part;
        while (std::getline(parts, part, '/')) bar.push_back(std::atoi(part.c_str()));
        bars.push_back(bar);
    }
    return bars;
}

int PitchClass(const SongPlan& plan, int degree)
{
    return (plan.root + plan.scale[((degree % 7) + 7) % 7]) % 12;
}

} // namespace

TEST(SongComposer, SongsStayInKeyAndTheTuneRestsOnChordTones)
{
    std::vector<SongPlan> plans = GameSongs::Plans();
    for (const SongPlan& plan : plans) {
        SCOPED_TRACE(plan.title);
        XmModule m = SongComposer::Compose(plan);
        std::set<int> key;
        for (int d = 0; d < 7; ++d) key.insert(PitchClass(plan, d));
        int rowsPerBar = plan.beatsPerBar * 4;
        int melodyNotes = 0, downbeats = 0, downbeatsOnChord = 0;
        for (std::size_t s = 0; s < plan.sections.size(); ++s) {
            const XmPattern& p = m.patterns[s];
            auto bars = BarsOf(plan.sections[s].chords);
            ASSERT_EQ(p.Rows(), static_cast<int>(bars.size()) * rowsPerBar);
            for (int r = 0; r < p.Rows(); ++r) {
                for (int c = 0; c < p.Channels(); ++c) {
                    int note = p.At(r, c).note;
                    // Drums play on C-4 whatever the key; everything tonal
                    // is diatonic.
                    if (note == 0 || note == XmModule::kKeyOff || c >= 8) continue;
                    EXPECT_TRUE(key.count((note + 11) % 12)) << "row " << r << " channel " << c;
                }
                int note = p.At(r, 0).note;
                if (note == 0 || note == XmModule::kKeyOff) continue;
                ++melodyNotes;
                if (r % rowsPerBar != 0) continue;
                ++downbeats;
                int degree = bars[r / rowsPerBar][0];
                int pc = (note + 11) % 12;
                if (pc == PitchClass(plan, degree) || pc == PitchClass(plan, degree + 2) || pc == PitchClass(plan, degree + 4))
                    ++downbeatsOnChord;
            }
        }
        EXPECT_GT(melodyNotes, 40);
        // Every note on a downbeat is a tone of its chord.
        EXPECT_GT(downbeats, 10);
        EXPECT_EQ(downbeatsOnChord, downbeats);
    }
}

TEST(GameSongs, LevellingBringsLoudSongsDownToTheTarget)
{
    SongPlan plan = GameSongs::Plans()[4];
    XmModule m = SongComposer::Compose(plan);
    double before = GameSongs::Loudness(m);
    ASSERT_GT(before, GameSongs::kTargetLoudness + 1.0); // the driving song starts out loud
    GameSongs::Level(m);
    EXPECT_LT(m.globalVolume, 64);
    EXPECT_NEAR(GameSongs::Loudness(m), GameSongs::kTargetLoudness, 0.5);
    // A quiet song is never pushed up (global volume cannot exceed 64).
    XmModule quiet = OneNoteModule(InstrumentKind::Harp, 49);
    GameSongs::Level(quiet);
    EXPECT_EQ(quiet.globalVolume, 64);
    XmModule broken;
    EXPECT_EQ(GameSongs::Loudness(broken), -120.0);
}

TEST(SongComposer, EverySongIsLongEnoughAndHasItsOwnCharacter)
{
    std::vector<SongPlan> plans = GameSongs::Plans();
    ASSERT_EQ(plans.size(), 6u);
    std::set<std::pair<int, int>> tempoAndKey;
    std::set<int> leads;
    for (const SongPlan& plan : plans) {
        XmModule m = SongComposer::Compose(plan);
        EXPECT_GE(m.LengthSeconds(), GameSongs::kMinimumSeconds) << plan.title;
        EXPECT_EQ(m.restart, 0);
        // The module title field holds 20 characters.
        EXPECT_LE(std::string(plan.title).size(), 20u) << plan.title;
        tempoAndKey.insert({plan.bpm, plan.root});
        leads.insert(static_cast<int>(plan.melody));
    }
    EXPECT_EQ(tempoAndKey.size(), plans.size());
    EXPECT_GE(leads.size(), 5u);
    // The menu theme is the calmest, the map theme walks at a middle pace.
    EXPECT_LT(plans[0].bpm, plans[3].bpm);
    for (std::size_t i = 1; i < plans.size(); ++i) EXPECT_LE(plans[0].bpm, plans[i].bpm);
}

TEST(SongComposer, EverySongRunsTwoToThreeMinutesThroughThreeThemesAndVariesWhatReturns)
{
    for (const SongPlan& plan : GameSongs::Plans()) {
        SCOPED_TRACE(plan.title);
        XmModule m = SongComposer::Compose(plan);
        double seconds = m.LengthSeconds();
        EXPECT_GE(seconds, 120.0);
        EXPECT_LE(seconds, 180.0);
        // A section is a theme with its own tune; every time a theme comes
        // back in the order, its tune is not a copy of an earlier pass.
        std::map<int, std::vector<std::vector<int>>> passes;
        for (int index : m.order) {
            int theme = plan.sections[index].theme;
            if (theme == 0) continue;
            const XmPattern& p = m.patterns[index];
            std::vector<int> tune;
            for (int r = 0; r < p.Rows(); ++r) tune.push_back(p.At(r, 0).note);
            for (const std::vector<int>& earlier : passes[theme]) EXPECT_NE(tune, earlier) << "theme " << theme;
            passes[theme].push_back(tune);
        }
        int returns = 0;
        for (const auto& [theme, list] : passes) returns += static_cast<int>(list.size()) - 1;
        std::printf("song %-16s %6.1f s  %zu themes  %zu sections in the order  %d varied returns\n", plan.title, seconds,
                    passes.size(), m.order.size(), returns);
        EXPECT_GE(passes.size(), 3u);
        EXPECT_GE(returns, 3);
    }
}

TEST(SongComposer, PhrasesCloseOnTheTonicAndHeldNotesAreReleased)
{
    int closedSections = 0;
    for (const SongPlan& plan : GameSongs::Plans()) {
        SCOPED_TRACE(plan.title);
        XmModule m = SongComposer::Compose(plan);
        bool sustained = plan.melody == InstrumentKind::Flute || plan.melody == InstrumentKind::Reed ||
                         plan.melody == InstrumentKind::Horn;
        for (std::size_t s = 0; s < plan.sections.size(); ++s) {
            const XmPattern& p = m.patterns[s];
            int lastNote = 0;
            bool open = false;
            for (int r = 0; r < p.Rows(); ++r) {
                int note = p.At(r, 0).note;
                if (note == XmModule::kKeyOff) open = false;
                if (note == 0 || note == XmModule::kKeyOff) continue;
                lastNote = note;
                open = true;
            }
            // A flute, reed or horn note left on would sound through the
            // next section (the intro has no tune to cut it).
            if (sustained) {
                EXPECT_FALSE(open) << "section " << s;
            }
            if (plan.sections[s].theme > 0 && plan.sections[s].cadence) {
                ++closedSections;
                EXPECT_EQ((lastNote + 11) % 12, plan.root % 12) << "section " << s;
            }
        }
    }
    EXPECT_GE(closedSections, 6);
}

TEST(GameSongs, EverySongLoopsSampleExactly)
{
    // Rendered as shipped, once and twice through: after the notes sounding
    // at the loop point have died away (well under a second), the second
    // pass repeats the first sample for sample. A held note left on across
    // the loop rings for seconds and breaks this.
    for (const SongPlan& plan : GameSongs::Plans()) {
        SCOPED_TRACE(plan.title);
        XmModule m = SongComposer::Compose(plan);
        GameSongs::Level(m);
        ModulePtr once = Open(m.Write());
        ModulePtr twice = Open(m.Write());
        ASSERT_TRUE(once && twice);
        openmpt_module_set_repeat_count(twice.get(), 1);
        std::vector<float> first = RenderMono(once.get(), m.LengthSeconds() + 10);
        std::vector<float> both = RenderMono(twice.get(), 2 * m.LengthSeconds() + 10);
        // The player adds the same short tail after the last pass of both.
        ASSERT_GT(both.size(), first.size());
        const std::size_t pass = both.size() - first.size();
        ASSERT_GT(pass, std::size_t(44100 * GameSongs::kMinimumSeconds));
        std::size_t lastDifference = 0;
        for (std::size_t i = 0; i < pass; ++i)
            if (std::fabs(both[i] - both[pass + i]) > 1e-6f) lastDifference = i;
        EXPECT_LT(lastDifference, 44100u) << "the passes still differ " << lastDifference / 44100.0 << " s in";
        // Nor does the level jump at the seam: the second before the loop
        // point and the second after it are within 6 dB of each other.
        auto rms = [&](std::size_t from) {
            double sum = 0;
            for (std::size_t i = from; i < from + 44100; ++i) sum += double(both[i]) * both[i];
            return 10.0 * std::log10(sum / 44100 + 1e-12);
        };
        EXPECT_LT(std::fabs(rms(pass - 44100) - rms(pass)), 6.0);
    }
}

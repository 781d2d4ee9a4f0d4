#include "tools/assetgen/audio/GameSongs.h"

#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/audio/OggEncoder.h"
#include "tools/assetgen/audio/SoundList.h"

#include "framework/audio/music/ModuleMusicStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Zorvin::AssetGen {

namespace {

constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor = {0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> kMixolydian = {0, 2, 4, 5, 7, 9, 10};
constexpr std::array<int, 7> kPhrygianDominant = {0, 1, 4, 5, 7, 8, 10};

using K = InstrumentKind;

// The chords of a song's material: the opening (played with no tune), the
// two halves of each of the three themes, and whether theme B's second half
// comes to rest on the tonic.
struct Material {
    const char* intro;
    const char* a1;
    const char* a2;
    const char* b1;
    const char* b2;
    const char* c1;
    const char* c2;
    bool bCloses;
    int calm, full; // drum intensity of the quiet and the busy parts
};

// The sections of every song, in this order of indexes:
//  0 opening, 1-2 A, 3-4 B, 5-6 A ornamented, 7-8 C (quieter), 9-10 C
//  ornamented, 11 the opening again as an interlude, with drums, 12-13 B
//  ornamented, 14-15 A answered.
// A song's order picks from these; whatever it picks, a theme that
// returns comes back varied.
std::vector<SectionPlan> Sections(const Material& m)
{
    return {
        {m.intro, 0, false, m.calm, false, 0},
        {m.a1, 1, false, m.calm, false, 0},
        {m.a2, 1, true, m.full, false, 0},
        {m.b1, 2, false, m.full, true, 0},
        {m.b2, 2, m.bCloses, m.full, true, 0},
        {m.a1, 1, false, m.full, false, 1},
        {m.a2, 1, true, m.full, false, 1},
        {m.c1, 3, false, m.calm, false, 0},
        {m.c2, 3, true, m.calm, false, 0},
        {m.c1, 3, false, m.full, true, 1},
        {m.c2, 3, true, m.full, true, 1},
        {m.intro, 0, false, m.full, true, 0},
        {m.b1, 2, false, m.full, true, 1},
        {m.b2, 2, m.bCloses, m.full, true, 1},
        {m.a1, 1, false, m.full, false, 2},
        {m.a2, 1, true, m.full, false, 2},
    };
}

const std::vector<int> kWholeForm = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

} // namespace

std::vector<SongPlan> GameSongs::Plans()
{
    std::vector<SongPlan> plans;
    // 0: title and main menu. D major, slow, flute over a warm pad and harp.
    // Slow enough that the whole form would pass three minutes: the
    // interlude and B's return are left out.
    plans.push_back({"Harbour Dawn", 11, 80, 4, 62, kMajor, K::Flute, K::WarmPad, K::Harp, K::Bass, K::Celesta,
                     ChordStyle::Pad, ArpStyle::Harp, BassStyle::Calm, DrumStyle::Shaker, true, 62, 81,
                     Sections({"0 5 3 4", "0 5 3 4", "0 5 1/4 0", "3 4 2 5", "3 4 1/4 4", "5 2 3 0", "5 2 1/4 0",
                               false, 1, 1}),
                     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15}});
    // 1: a level. A minor market tune: bouzouki, strings, marimba, groove.
    plans.push_back({"Market Steps", 23, 116, 4, 57, kMinor, K::Bouzouki, K::Strings, K::Marimba, K::Bass,
                     K::Celesta, ChordStyle::Pad, ArpStyle::Broken, BassStyle::Pulse, DrumStyle::Groove, false, 64, 84,
                     Sections({"0 5 2 6", "0 5 2 6", "0 5 3/4 0", "3 6 2 5", "3 6 4 4", "5 3 0 4", "5 3 1/4 0",
                               false, 1, 2}),
                     kWholeForm});
    // 2: a level. E phrygian dominant: reed over a drone and frame drums.
    plans.push_back({"Desert Oracle", 37, 96, 4, 64, kPhrygianDominant, K::Reed, K::DarkPad, K::Harp, K::Bass,
                     K::Celesta, ChordStyle::Pad, ArpStyle::Broken, BassStyle::Drone, DrumStyle::Frame, true, 64, 83,
                     Sections({"0 1 0 6", "0 1 0 6", "3 6 1 0", "3 3 6 6", "1 1 0 0", "5 4 3 1", "5 4 1 0",
                               true, 1, 2}),
                     kWholeForm});
    // 3: the map. G mixolydian march: horn, strings, harp, walking bass.
    plans.push_back({"The Long Road", 41, 104, 4, 55, kMixolydian, K::Horn, K::Strings, K::Harp, K::Bass,
                     K::Celesta, ChordStyle::Pad, ArpStyle::Harp, BassStyle::Walk, DrumStyle::March, false, 62, 79,
                     Sections({"0 6 3 0", "0 6 3 0", "0 6 3/4 0", "5 3 0 4", "5 3 6 4", "3 0 6 3", "3 6 4 0",
                               false, 1, 2}),
                     kWholeForm});
    // 4: a level. C minor, fast: whistle lead, pulsing strings, drive. A
    // breakdown of its own (no tune, the bells alone) before C.
    std::vector<SectionPlan> storm = Sections({"0 0 5 6", "0 6 5 6", "0 6 5 4/0", "3 0 5 4", "3 5 6 6", "2 5 3 6",
                                               "2 5 4/6 0", false, 1, 2});
    storm.push_back({"5 6 0 0 5 6 4 4", 0, false, 1, true, 0});
    plans.push_back({"Storm Run", 53, 132, 4, 60, kMinor, K::Flute, K::Strings, K::Bouzouki, K::Bass, K::Celesta,
                     ChordStyle::Pad, ArpStyle::Pulse, BassStyle::Pulse, DrumStyle::Drive, false, 72, 91, storm,
                     {0, 1, 2, 3, 4, 5, 6, 16, 7, 8, 9, 10, 11, 12, 13, 14, 15}});
    // 5: a level. F major waltz: marimba tune, harp on the off-beats.
    plans.push_back({"Sea Wind Waltz", 67, 138, 3, 65, kMajor, K::Marimba, K::Harp, K::Harp, K::Bass, K::Celesta,
                     ChordStyle::Stabs, ArpStyle::None, BassStyle::Waltz, DrumStyle::Waltz, false, 65, 84,
                     Sections({"0 3 4 0 0 3 4 4", "0 3 4 0 0 5 1 4", "0 3 4 0 1 4 0 0", "3 4 2 5 1 4 0 0",
                               "3 4 2 5 1 4 4 4", "5 2 3 0 5 2 1 4", "5 2 3 0 1 4 0 0", false, 1, 2}),
                     kWholeForm});
    return plans;
}

double GameSongs::Loudness(const XmModule& module)
{
    std::vector<unsigned char> bytes = module.Write();
    auto stream = ModuleMusicStream::FromMemory(bytes.data(), bytes.size());
    if (!stream) return -120.0;
    stream->SetLooping(false);
    // Half the game's rate: loudness hardly changes and it renders twice
    // as fast.
    const int rate = 22050;
    std::vector<float> buffer(2 * 4096);
    double sum = 0;
    long count = 0;
    int got;
    while ((got = stream->Read(buffer.data(), 4096, rate)) > 0) {
        for (int i = 0; i < got * 2; ++i) sum += double(buffer[i]) * buffer[i];
        count += got * 2;
    }
    return count > 0 && sum > 0 ? 10.0 * std::log10(sum / count) : -120.0;
}

void GameSongs::Level(XmModule& module)
{
    double excess = Loudness(module) - kTargetLoudness;
    if (excess <= 0) return;
    module.globalVolume = std::clamp(static_cast<int>(std::lround(64.0 * std::pow(10.0, -excess / 20.0))), 1, 64);
}

namespace {

bool WriteMusic(const AssetContext& ctx)
{
    std::vector<SongPlan> plans = GameSongs::Plans();
    for (std::size_t i = 0; i < kMusicFileCount && i < plans.size(); ++i) {
        XmModule module = SongComposer::Compose(plans[i]);
        double seconds = module.LengthSeconds();
        if (seconds < GameSongs::kMinimumSeconds || seconds > GameSongs::kMaximumSeconds) {
            std::fprintf(stderr, "assetgen: %s is %.1f s long\n", kMusicFiles[i], seconds);
            return false;
        }
        GameSongs::Level(module);
        std::vector<unsigned char> bytes = module.Write();
        if (!WriteAudioAsset(ctx.outDir + "/" + kMusicFiles[i], bytes)) return false;
        if (ctx.verbose)
            std::printf("assetgen: %-22s %5.1f s  %zu patterns  %zu instruments  global volume %2d  %7zu bytes\n",
                        kMusicFiles[i], seconds, module.patterns.size(), module.instruments.size(), module.globalVolume,
                        bytes.size());
    }
    return plans.size() == kMusicFileCount;
}

const AssetStep kMusicStep("music", WriteMusic);

} // namespace

} // namespace Zorvin::AssetGen

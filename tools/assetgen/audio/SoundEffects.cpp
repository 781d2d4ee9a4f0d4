#include "tools/assetgen/audio/SoundEffects.h"

#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/audio/OggEncoder.h"
#include "tools/assetgen/audio/SoundList.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Zorvin::AssetGen {

namespace {

double Hz(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Tubular chime: nearly harmonic, long ringing fundamental.
const std::vector<Partial> kChime = {
    {1.0, 1.0, 5.0}, {2.0, 0.45, 8.0}, {3.0, 0.22, 12.0}, {4.16, 0.12, 18.0}, {5.43, 0.07, 24.0}};
// The same chime, damped sooner: a short effect must ring out before its
// end instead of being cut off while it still sounds.
const std::vector<Partial> kShortChime = {
    {1.0, 1.0, 11.0}, {2.0, 0.45, 15.0}, {3.0, 0.22, 20.0}, {4.16, 0.12, 26.0}, {5.43, 0.07, 32.0}};
// Small bright bell for sparkles.
const std::vector<Partial> kBell = {{1.0, 1.0, 14.0}, {2.76, 0.35, 22.0}, {5.40, 0.15, 35.0}};
// A stone tile knocked on a wooden table: inharmonic, quickly damped modes.
const std::vector<Partial> kStone = {
    {1.0, 0.55, 38.0}, {2.31, 0.4, 55.0}, {3.93, 0.28, 72.0}, {5.72, 0.16, 95.0}, {8.1, 0.08, 130.0}};
// Steel: sparse high modes, as in a lock's bolt and spring.
const std::vector<Partial> kMetal = {
    {1.0, 0.8, 45.0}, {1.47, 0.5, 55.0}, {2.09, 0.45, 70.0}, {2.56, 0.3, 80.0}, {3.21, 0.22, 95.0}};

void Knock(AudioBuffer& b, double at, double pitch, double amp)
{
    b.AddStrike(at, pitch, amp, kStone, 0.0008);
    b.AddGlide(at, 0.12, 150.0, 85.0, amp * 0.55, 0.002, 32.0); // the table's thump
    b.AddNoiseBurst(at, 0.03, 2400.0, amp * 0.45, 160.0);
}

void Click(AudioBuffer& b)
{
    b.AddNoiseBurst(0.0, 0.05, 3000.0, 0.5, 330.0);
    b.AddStrike(0.0, 1750.0, 0.6, {{1.0, 1.0, 170.0}, {2.3, 0.5, 240.0}}, 0.0005);
}

void Put(AudioBuffer& b)
{
    Knock(b, 0.0, 430.0, 1.0);
}

// A knock followed by a rising arpeggio of chimes; more notes and a higher
// start for a bigger multiplier, so the player hears the combo growing.
void PutChime(AudioBuffer& b, int multiplier)
{
    Knock(b, 0.0, 430.0, 0.8);
    static const int steps[] = {0, 5, 9, 12, 16};
    int base = 84 + (multiplier - 2) * 2; // C6, D6, E6
    for (int i = 0; i < multiplier; ++i)
        b.AddStrike(0.05 + 0.075 * i, Hz(base + steps[i]), 0.5 - 0.04 * i, kShortChime);
}

void Flip(AudioBuffer& b)
{
    b.AddNoiseBand(0.0, 0.30, 500.0, 3800.0, 0.9, 1.0, 0.45);
    b.AddNoiseBand(0.04, 0.26, 1400.0, 5200.0, 0.6, 0.5, 0.5);
}

void Bonus(AudioBuffer& b)
{
    b.AddStrike(0.0, Hz(84), 0.45, kShortChime);
    b.AddStrike(0.0, Hz(91), 0.3, kShortChime);
    static const int pentatonic[] = {0, 2, 4, 7, 9};
    for (int i = 0; i < 16; ++i) {
        int note = 91 + (i * 12) / 16 + pentatonic[std::rand() % 5];
        double at = 0.04 + i * 0.035 + (std::rand() % 20) * 0.001;
        b.AddStrike(at, Hz(note), 0.18 + (std::rand() % 10) * 0.01, kBell);
    }
    b.AddNoiseBurst(0.02, 0.7, 6500.0, 0.08, 5.0);
}

void BonusAppear(AudioBuffer& b)
{
    // The sweeps fade out on their own before they end.
    b.AddGlide(0.0, 0.6, 700.0, 2200.0, 0.5, 0.06, 11.0);
    b.AddGlide(0.0, 0.6, 1050.0, 3300.0, 0.2, 0.06, 12.0);
    for (int i = 0; i < 6; ++i)
        b.AddStrike(0.12 + i * 0.055, Hz(96 + (std::rand() % 7)), 0.12, kBell);
}

void UseKey(AudioBuffer& b)
{
    b.AddNoiseBand(0.0, 0.14, 2600.0, 4200.0, 0.5, 0.35, 0.6); // key slides in
    b.AddStrike(0.16, 2100.0, 0.5, kMetal, 0.0005);             // wards catch
    b.AddStrike(0.30, 760.0, 0.7, kMetal, 0.0008);              // the bolt turns
    b.AddGlide(0.30, 0.15, 130.0, 90.0, 0.5, 0.002, 28.0);
    b.AddNoiseBurst(0.30, 0.04, 2000.0, 0.4, 140.0);
    b.AddStrike(0.38, 2900.0, 0.25, kMetal, 0.0005);            // spring settles
}

void LevelStart(AudioBuffer& b)
{
    b.AddBrass(0.00, 0.12, Hz(72), 0.5);
    b.AddBrass(0.15, 0.12, Hz(76), 0.5);
    b.AddBrass(0.30, 0.12, Hz(79), 0.5);
    b.AddBrass(0.45, 0.55, Hz(84), 0.55, 0.03, 0.25);
    b.AddBrass(0.45, 0.55, Hz(60), 0.35, 0.05, 0.25);
    b.AddBrass(0.45, 0.55, Hz(67), 0.3, 0.05, 0.25);
    b.AddBrass(0.45, 0.55, Hz(76), 0.3, 0.05, 0.25);
}

void LevelComplete(AudioBuffer& b)
{
    const struct { double at, dur; int note; } line[] = {
        {0.00, 0.10, 67}, {0.13, 0.10, 72}, {0.26, 0.10, 76}, {0.39, 0.22, 79}, {0.66, 0.10, 76}, {0.79, 0.95, 84}};
    for (auto& n : line) b.AddBrass(n.at, n.dur, Hz(n.note), 0.5, 0.025, 0.3);
    for (int note : {48, 60, 64, 67, 72}) b.AddBrass(0.79, 0.95, Hz(note), 0.22, 0.06, 0.35);
    b.AddStrike(0.79, Hz(96), 0.2, kChime);
    b.AddStrike(0.85, Hz(100), 0.15, kChime);
    b.AddStrike(0.91, Hz(103), 0.12, kChime);
}

// The classic sad trombone: four falling notes, the last one held with a
// slow wobble.
void LevelFailed(AudioBuffer& b)
{
    b.AddBrass(0.00, 0.32, Hz(67), 0.5, 0.05, 0.08);
    b.AddBrass(0.38, 0.32, Hz(66), 0.5, 0.05, 0.08);
    b.AddBrass(0.76, 0.32, Hz(65), 0.5, 0.05, 0.08);
    b.AddBrass(1.14, 0.60, Hz(64), 0.5, 0.05, 0.2);
    b.AddBrass(1.14, 0.60, Hz(52), 0.25, 0.08, 0.2);
    // Slow tremolo on the last note: a falling "wah" sound.
    for (std::size_t i = std::size_t(1.3 * b.Rate()); i < b.Length(); ++i) {
        double t = double(i) / b.Rate() - 1.3;
        b.Data()[i] *= static_cast<float>(0.75 + 0.25 * std::cos(6.283185307 * 4.0 * t));
    }
}

// Paper unrolling: a soft hiss under a dense run of tiny crackles, thinning
// out as the roll opens.
void Scroll(AudioBuffer& b)
{
    b.AddNoiseBand(0.0, 0.68, 700.0, 1800.0, 1.2, 0.1, 0.25);
    for (int i = 0; i < 80; ++i) {
        double at = (std::rand() % 640) * 0.001;
        double density = 1.0 - at / 0.75;
        double cutoff = 1200.0 + std::rand() % 3000;
        b.AddNoiseBurst(at, 0.01, cutoff, density * (0.2 + (std::rand() % 60) * 0.01), 600.0 + std::rand() % 400);
    }
    b.LowPass(6500.0);
}

// A hunting horn call: a fourth up, the upper note held.
void Stage(AudioBuffer& b)
{
    b.AddBrass(0.00, 0.34, Hz(55), 0.55, 0.08, 0.1);
    b.AddBrass(0.40, 0.95, Hz(60), 0.6, 0.08, 0.25);
    b.AddBrass(0.40, 0.95, Hz(48), 0.3, 0.12, 0.25);
}

void Continue(AudioBuffer& b)
{
    b.AddStrike(0.0, Hz(88), 0.5, kShortChime);
    b.AddStrike(0.09, Hz(95), 0.4, kShortChime);
}

struct Recipe {
    const char* stem;
    void (*make)(AudioBuffer&);
    double loudness; // target RMS of the loudest 50 ms
};

// Interface sounds sit lower than the big moments (fanfares, horn), so a
// click never covers the music and a level's end is never lost under it.
const Recipe kRecipes[] = {
    {"bonus", Bonus, 0.17},
    {"bonus_appear", BonusAppear, 0.12},
    {"click", Click, 0.12},
    {"continue", Continue, 0.13},
    {"flip", Flip, 0.13},
    {"level_complete", LevelComplete, 0.2},
    {"level_failed", LevelFailed, 0.18},
    {"level_start", LevelStart, 0.18},
    {"put", Put, 0.16},
    {"put_x2", [](AudioBuffer& b) { PutChime(b, 2); }, 0.17},
    {"put_x3", [](AudioBuffer& b) { PutChime(b, 3); }, 0.17},
    {"put_x4", [](AudioBuffer& b) { PutChime(b, 4); }, 0.17},
    {"scroll", Scroll, 0.12},
    {"stage", Stage, 0.18},
    {"use_key", UseKey, 0.15},
};

} // namespace

std::unique_ptr<AudioBuffer> SoundEffects::Synthesise(const std::string& stem)
{
    for (const SoundFileEntry& entry : kSoundFiles) {
        if (stem != entry.stem) continue;
        for (std::size_t r = 0; r < sizeof(kRecipes) / sizeof(kRecipes[0]); ++r) {
            if (stem != kRecipes[r].stem) continue;
            std::srand(1000 + static_cast<unsigned>(r));
            auto buffer = std::make_unique<AudioBuffer>(kRate, entry.lengthMs / 1000.0);
            kRecipes[r].make(*buffer);
            buffer->FadeEdges(0.001, 0.012);
            buffer->Normalise(kRecipes[r].loudness, kPeakCap);
            return buffer;
        }
    }
    return nullptr;
}

namespace {

bool WriteSounds(const AssetContext& ctx)
{
    int serial = 0x4B5600;
    for (const SoundFileEntry& entry : kSoundFiles) {
        auto buffer = SoundEffects::Synthesise(entry.stem);
        if (!buffer) {
            std::fprintf(stderr, "assetgen: no recipe for sound %s\n", entry.stem);
            return false;
        }
        auto bytes = OggEncoder::Encode(*buffer, 0.4f, ++serial);
        if (bytes.empty()) {
            std::fprintf(stderr, "assetgen: cannot encode sound %s\n", entry.stem);
            return false;
        }
        std::string path = ctx.outDir + "/" + kSoundFolder + "/" + entry.stem + ".ogg";
        if (!WriteAudioAsset(path, bytes)) return false;
        if (ctx.verbose)
            std::printf("assetgen: %-22s %5d ms  peak %5.1f dBFS  %6zu bytes\n", (std::string(kSoundFolder) + "/" + entry.stem + ".ogg").c_str(),
                        entry.lengthMs, 20.0 * std::log10(buffer->Peak()), bytes.size());
    }
    return true;
}

const AssetStep kSoundsStep("sounds", WriteSounds);

} // namespace

} // namespace Zorvin::AssetGen

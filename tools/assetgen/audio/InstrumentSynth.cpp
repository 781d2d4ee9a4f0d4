#include "tools/assetgen/audio/InstrumentSynth.h"

#include "tools/assetgen/audio/AudioBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Zorvin::AssetGen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// An additive tone. Every partial has a whole number of cycles in the loop,
// so the loop joins without a seam; during the attack each partial's
// amplitude moves from its attack value to its steady value.
struct ToneSpec {
    int period = 64;         // samples per cycle of the fundamental
    int cycles = 2;          // fundamental cycles in the loop
    int attackSamples = 2000;
    std::vector<double> ratios;  // partial frequency / fundamental
    std::vector<double> steady;  // amplitude in the loop
    std::vector<double> attack;  // amplitude at the very start
    int chorus = 1;          // copies, each detuned by one cycle per loop
    double breath = 0;       // noise during the attack (flute, reed)
    double breathCutoff = 3000;
};

std::vector<int16_t> ToPcm(const std::vector<float>& v, double peakTarget = 0.95)
{
    double peak = 0;
    for (float s : v) peak = std::max(peak, double(std::fabs(s)));
    double g = peak > 0 ? peakTarget * 32767.0 / peak : 0;
    std::vector<int16_t> out(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(std::clamp(v[i] * g, -32767.0, 32767.0)));
    return out;
}

XmInstrument MakeTone(const char* name, const ToneSpec& spec)
{
    // The attack may be brighter than the body but not much louder: the
    // sample is scaled to its peak, and a loud attack would leave the
    // ringing part too quiet to carry a tune.
    double steadyPower = 0, attackPower = 0;
    for (std::size_t p = 0; p < spec.ratios.size(); ++p) {
        double st = p < spec.steady.size() ? spec.steady[p] : 0;
        double at = p < spec.attack.size() ? spec.attack[p] : st;
        steadyPower += st * st;
        attackPower += at * at;
    }
    double attackScale = attackPower > 2.0 * steadyPower && attackPower > 0 ? std::sqrt(2.0 * steadyPower / attackPower) : 1.0;
    int loop = spec.period * spec.cycles;
    int total = spec.attackSamples + loop;
    std::vector<float> v(total, 0.0f);
    // One sine table the length of the loop: every partial reads it at a
    // whole-number stride, which is exact and fast.
    std::vector<float> table(loop);
    for (int i = 0; i < loop; ++i) table[i] = static_cast<float>(std::sin(kTwoPi * i / loop));
    for (std::size_t p = 0; p < spec.ratios.size(); ++p) {
        double steady = p < spec.steady.size() ? spec.steady[p] : 0;
        double attack = p < spec.attack.size() ? spec.attack[p] * attackScale : steady;
        for (int c = 0; c < spec.chorus; ++c) {
            // Copies at k, k+1, k-1, k+2 ... cycles per loop of the
            // fundamental: a true detune that beats slowly. An odd number
            // of copies keeps the average pitch exact.
            int detune = (c + 1) / 2 * ((c % 2) ? 1 : -1);
            long stride = std::lround(spec.ratios[p] * (spec.cycles + detune));
            if (stride <= 0 || stride * 2 >= loop) continue;
            long offset = std::rand() % loop;
            double gain = 1.0 / std::sqrt(double(spec.chorus));
            for (int i = 0; i < total; ++i) {
                double amp = steady;
                if (i < spec.attackSamples) {
                    double x = 1.0 - double(i) / spec.attackSamples;
                    amp = steady + (attack - steady) * x * x;
                }
                v[i] += static_cast<float>(gain * amp * table[(stride * i + offset) % loop]);
            }
        }
    }
    if (spec.breath > 0) {
        AudioBuffer noise(44100, std::size_t(spec.attackSamples));
        noise.AddNoiseBand(0.0, double(spec.attackSamples) / 44100, spec.breathCutoff, spec.breathCutoff, 1.0, spec.breath, 0.15);
        for (int i = 0; i < spec.attackSamples; ++i) v[i] += noise.Data()[i];
    }
    XmInstrument ins;
    ins.name = name;
    ins.data = ToPcm(v);
    ins.loopStart = spec.attackSamples;
    ins.loopLength = loop;
    XmModule::TuneForPeriod(ins, spec.period);
    return ins;
}

// Harmonic series 1..n with amplitude 1/n^slope, softened above `soft`.
ToneSpec Harmonic(int n, double slope, double soft)
{
    ToneSpec s;
    for (int k = 1; k <= n; ++k) {
        s.ratios.push_back(k);
        s.steady.push_back(std::pow(k, -slope) * std::exp(-(k - 1) / soft));
    }
    return s;
}

XmInstrument MakeDrum(const char* name, double seconds, void (*draw)(AudioBuffer&))
{
    AudioBuffer b(22050, seconds);
    draw(b);
    b.FadeEdges(0.0005, 0.01);
    XmInstrument ins;
    ins.name = name;
    ins.data = ToPcm(b.Samples());
    XmModule::TuneForRate(ins, 22050);
    return ins;
}

XmEnvelope Sustained(int attackTicks, int releaseTicks)
{
    return {{{0, 0}, {attackTicks, 64}, {attackTicks + releaseTicks, 0}}, 1};
}

} // namespace

XmInstrument InstrumentSynth::Make(InstrumentKind kind)
{
    std::srand(500 + static_cast<unsigned>(kind));
    XmInstrument ins;
    switch (kind) {
    case InstrumentKind::WarmPad:
    case InstrumentKind::DarkPad:
    case InstrumentKind::Strings: {
        // Saw-like harmonics in three detuned copies: the slow beating is
        // what makes a pad sound wide and alive.
        bool dark = kind == InstrumentKind::DarkPad;
        bool strings = kind == InstrumentKind::Strings;
        ToneSpec s = Harmonic(strings ? 22 : 16, strings ? 0.9 : 1.1, dark ? 3.0 : (strings ? 9.0 : 5.0));
        s.period = 64;
        s.cycles = 160;
        s.attackSamples = 0;
        s.chorus = 3;
        ins = MakeTone(dark ? "dark pad" : (strings ? "strings" : "warm pad"), s);
        ins.envelope = Sustained(strings ? 14 : 24, 40);
        ins.fadeout = 400;
        ins.volume = dark ? 56 : 64;
        break;
    }
    case InstrumentKind::Bass: {
        ToneSpec s = Harmonic(10, 1.4, 3.0);
        s.period = 256;
        s.cycles = 1;
        s.attackSamples = 1200;
        s.attack = {1.0, 0.8, 0.55, 0.45, 0.35, 0.3, 0.25, 0.2, 0.15, 0.12};
        ins = MakeTone("bass", s);
        ins.envelope = {{{0, 64}, {12, 52}, {60, 40}, {64, 0}}, 2};
        ins.fadeout = 1500;
        ins.volume = 64;
        break;
    }
    case InstrumentKind::Harp:
    case InstrumentKind::Bouzouki: {
        // Bright when plucked, mellow as it rings.
        bool bouzouki = kind == InstrumentKind::Bouzouki;
        ToneSpec s = Harmonic(24, 2.2, 4.0);
        for (int k = 1; k <= 24; ++k) s.attack.push_back(std::pow(k, bouzouki ? -0.6 : -0.9));
        if (bouzouki)
            for (int k = 1; k <= 24; ++k) s.steady[k - 1] *= (k % 2 ? 1.0 : 1.6); // paired-course shimmer
        s.period = 64;
        // The bouzouki's paired strings: copies a few cents either side,
        // symmetric so the pitch stays centred.
        s.cycles = bouzouki ? 160 : 2;
        s.chorus = bouzouki ? 3 : 1;
        s.attackSamples = 3000;
        ins = MakeTone(bouzouki ? "bouzouki" : "harp", s);
        if (bouzouki)
            ins.envelope = {{{0, 64}, {8, 54}, {30, 38}, {90, 16}, {180, 0}}, -1};
        else
            ins.envelope = {{{0, 64}, {6, 44}, {24, 22}, {70, 8}, {140, 0}}, -1};
        ins.fadeout = 1200;
        ins.volume = 64;
        ins.panning = bouzouki ? 120 : 150;
        break;
    }
    case InstrumentKind::Flute: {
        ToneSpec s;
        s.ratios = {1, 2, 3, 4, 5};
        s.steady = {1.0, 0.32, 0.12, 0.05, 0.02};
        s.attack = {0.2, 0.3, 0.15, 0.06, 0.02};
        s.period = 64;
        s.cycles = 4;
        s.attackSamples = 2500;
        s.breath = 0.25;
        s.breathCutoff = 2500;
        ins = MakeTone("flute", s);
        ins.envelope = Sustained(4, 16);
        ins.fadeout = 900;
        ins.vibratoDepth = 3;
        ins.vibratoRate = 10;
        ins.vibratoSweep = 40;
        ins.volume = 64;
        break;
    }
    case InstrumentKind::Reed: {
        // Double-reed colour: strong odd and low even harmonics, nasal.
        ToneSpec s;
        s.ratios = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        s.steady = {0.6, 0.9, 0.75, 0.5, 0.35, 0.22, 0.15, 0.1, 0.06};
        s.attack = {0.3, 0.4, 0.5, 0.5, 0.4, 0.3, 0.2, 0.15, 0.1};
        s.period = 64;
        s.cycles = 4;
        s.attackSamples = 1500;
        s.breath = 0.12;
        s.breathCutoff = 3500;
        ins = MakeTone("reed", s);
        ins.envelope = Sustained(3, 14);
        ins.fadeout = 900;
        ins.vibratoDepth = 4;
        ins.vibratoRate = 12;
        ins.vibratoSweep = 30;
        ins.volume = 64;
        break;
    }
    case InstrumentKind::Horn: {
        // Opens up as it is blown: dull attack, brassy body.
        ToneSpec s = Harmonic(14, 0.8, 3.5);
        for (int k = 1; k <= 14; ++k) s.attack.push_back(s.steady[k - 1] * std::exp(-(k - 1) / 1.5));
        s.period = 64;
        s.cycles = 4;
        s.attackSamples = 4000;
        ins = MakeTone("horn", s);
        ins.envelope = Sustained(5, 16);
        ins.fadeout = 800;
        ins.vibratoDepth = 2;
        ins.vibratoRate = 9;
        ins.vibratoSweep = 60;
        ins.volume = 64;
        break;
    }
    case InstrumentKind::Celesta: {
        ToneSpec s;
        s.ratios = {1, 2, 3, 4.2, 5.4, 6.8};
        s.steady = {1.0, 0.12, 0.0, 0.0, 0.0, 0.0};
        s.attack = {1.0, 0.5, 0.3, 0.25, 0.18, 0.12};
        s.period = 64;
        s.cycles = 32;
        s.attackSamples = 2500;
        ins = MakeTone("celesta", s);
        ins.envelope = {{{0, 64}, {4, 48}, {30, 20}, {120, 6}, {220, 0}}, -1};
        ins.fadeout = 1000;
        ins.volume = 64;
        ins.panning = 100;
        break;
    }
    case InstrumentKind::Marimba: {
        // Bars tuned to 1 : 4 : 10; the upper modes die at once.
        ToneSpec s;
        s.ratios = {1, 4, 10};
        s.steady = {1.0, 0.0, 0.0};
        s.attack = {1.0, 0.55, 0.2};
        s.period = 64;
        s.cycles = 8;
        s.attackSamples = 1600;
        ins = MakeTone("marimba", s);
        ins.envelope = {{{0, 64}, {4, 46}, {20, 20}, {60, 0}}, -1};
        ins.fadeout = 2000;
        ins.volume = 64;
        ins.panning = 160;
        break;
    }
    case InstrumentKind::Kick:
        ins = MakeDrum("kick", 0.38, [](AudioBuffer& b) {
            b.AddGlide(0.0, 0.38, 150.0, 45.0, 1.0, 0.001, 7.0);
            b.AddNoiseBurst(0.0, 0.01, 1500.0, 0.35, 300.0);
        });
        ins.volume = 64;
        break;
    case InstrumentKind::Snare:
        ins = MakeDrum("snare", 0.26, [](AudioBuffer& b) {
            b.AddGlide(0.0, 0.12, 210.0, 170.0, 0.7, 0.001, 28.0);
            b.AddNoiseBurst(0.0, 0.26, 1200.0, 1.0, 14.0);
        });
        ins.volume = 64;
        break;
    case InstrumentKind::ClosedHat:
        ins = MakeDrum("closed hat", 0.07, [](AudioBuffer& b) { b.AddNoiseBurst(0.0, 0.07, 3300.0, 1.0, 70.0); });
        ins.volume = 56;
        ins.panning = 170;
        break;
    case InstrumentKind::OpenHat:
        ins = MakeDrum("open hat", 0.3, [](AudioBuffer& b) { b.AddNoiseBurst(0.0, 0.3, 3000.0, 1.0, 11.0); });
        ins.volume = 48;
        ins.panning = 170;
        break;
    case InstrumentKind::Shaker:
        ins = MakeDrum("shaker", 0.11, [](AudioBuffer& b) { b.AddNoiseBand(0.0, 0.11, 3200.0, 3000.0, 0.9, 1.0, 0.35); });
        ins.volume = 56;
        ins.panning = 90;
        break;
    case InstrumentKind::Tambourine:
        ins = MakeDrum("tambourine", 0.2, [](AudioBuffer& b) {
            const std::vector<Partial> jingle = {{1.0, 1.0, 30.0}, {1.37, 0.8, 35.0}, {1.81, 0.6, 40.0}};
            for (int i = 0; i < 4; ++i) b.AddStrike(i * 0.006, 2600.0 + i * 230, 0.25, jingle, 0.0005);
            b.AddNoiseBurst(0.0, 0.2, 3200.0, 0.6, 22.0);
        });
        ins.volume = 56;
        ins.panning = 96;
        break;
    case InstrumentKind::Dum:
        ins = MakeDrum("frame drum", 0.4, [](AudioBuffer& b) {
            b.AddGlide(0.0, 0.4, 110.0, 80.0, 1.0, 0.001, 9.0);
            b.AddStrike(0.0, 180.0, 0.3, {{1.0, 1.0, 18.0}, {1.59, 0.5, 25.0}, {2.14, 0.3, 30.0}}, 0.001);
            b.AddNoiseBurst(0.0, 0.03, 800.0, 0.25, 120.0);
        });
        ins.volume = 64;
        break;
    case InstrumentKind::Tek:
        ins = MakeDrum("frame drum rim", 0.12, [](AudioBuffer& b) {
            b.AddStrike(0.0, 650.0, 0.6, {{1.0, 1.0, 45.0}, {1.5, 0.6, 55.0}, {2.3, 0.4, 70.0}}, 0.0005);
            b.AddNoiseBurst(0.0, 0.05, 2500.0, 0.6, 90.0);
        });
        ins.volume = 64;
        ins.panning = 150;
        break;
    }
    return ins;
}

} // namespace Zorvin::AssetGen

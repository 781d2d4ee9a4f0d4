#include "tools/assetgen/audio/AudioBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Zorvin::AssetGen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// White noise in -1..1 from the C library generator.
double Noise()
{
    return (std::rand() % 65536) / 32768.0 - 1.0;
}

// Chamberlin state-variable filter; stable while the cutoff stays well
// below a sixth of the sample rate, which every caller keeps to.
struct StateVariableFilter {
    double low = 0, band = 0, high = 0;
    void Step(double in, double cutoff, double rate, double damping)
    {
        double f = 2.0 * std::sin(3.141592653589793 * std::min(cutoff, rate / 6.5) / rate);
        low += f * band;
        high = in - low - damping * band;
        band += f * high;
    }
};

} // namespace

AudioBuffer::AudioBuffer(int rate, double seconds)
    : rate(rate), samples(static_cast<std::size_t>(std::lround(seconds * rate)), 0.0f)
{
}

void AudioBuffer::AddGlide(double start, double dur, double freq0, double freq1, double amp, double attack, double decay)
{
    long first = std::lround(start * rate);
    long count = std::lround(dur * rate);
    double phase = 0;
    for (long i = 0; i < count; ++i) {
        long at = first + i;
        if (at < 0) continue;
        if (at >= static_cast<long>(samples.size())) break;
        double t = double(i) / rate;
        double freq = freq0 * std::pow(freq1 / freq0, t / dur);
        phase += kTwoPi * freq / rate;
        double env = (attack > 0 && t < attack ? t / attack : 1.0) * std::exp(-decay * t);
        samples[at] += static_cast<float>(amp * env * std::sin(phase));
    }
}

void AudioBuffer::AddStrike(double start, double freq, double amp, const std::vector<Partial>& partials, double attack)
{
    long first = std::lround(start * rate);
    for (const Partial& p : partials) {
        double f = freq * p.ratio;
        if (f >= rate / 2.0) continue; // above Nyquist it would only alias
        // Stop once the partial has decayed below -80 dB.
        double life = p.decay > 0 ? 9.2 / p.decay : 10.0;
        long count = std::lround(life * rate);
        double w = kTwoPi * f / rate;
        for (long i = 0; i < count; ++i) {
            long at = first + i;
            if (at < 0) continue;
            if (at >= static_cast<long>(samples.size())) break;
            double t = double(i) / rate;
            double env = (t < attack ? t / attack : 1.0) * std::exp(-p.decay * t);
            samples[at] += static_cast<float>(amp * p.amp * env * std::sin(w * i));
        }
    }
}

void AudioBuffer::AddNoiseBand(double start, double dur, double centre0, double centre1, double q, double amp, double peakAt)
{
    long first = std::lround(start * rate);
    long count = std::lround(dur * rate);
    StateVariableFilter f;
    peakAt = std::clamp(peakAt, 0.01, 0.99);
    for (long i = 0; i < count; ++i) {
        double x = double(i) / count;
        double centre = centre0 * std::pow(centre1 / centre0, x);
        f.Step(Noise(), centre, rate, q);
        long at = first + i;
        if (at < 0 || at >= static_cast<long>(samples.size())) continue;
        // Sine arch rising to peakAt, then falling to zero at the end.
        double env = x < peakAt ? std::sin(1.5707963 * x / peakAt) : std::cos(1.5707963 * (x - peakAt) / (1.0 - peakAt));
        samples[at] += static_cast<float>(amp * env * env * f.band);
    }
}

void AudioBuffer::AddNoiseBurst(double start, double dur, double cutoff, double amp, double decay)
{
    long first = std::lround(start * rate);
    long count = std::lround(dur * rate);
    StateVariableFilter f;
    for (long i = 0; i < count; ++i) {
        f.Step(Noise(), cutoff, rate, 1.2);
        long at = first + i;
        if (at < 0 || at >= static_cast<long>(samples.size())) continue;
        double t = double(i) / rate;
        samples[at] += static_cast<float>(amp * std::exp(-decay * t) * f.high);
    }
}

void AudioBuffer::AddBrass(double start, double dur, double freq, double amp, double attack, double release)
{
    long first = std::lround(start * rate);
    // The release rings on until the tone is below -65 dB (e^-7.5 of its
    // held level), so a note never stops while it can still be heard.
    long count = std::lround((dur + 1.5 * release) * rate);
    double phase = 0;
    int harmonics = std::max(1, std::min(24, int(rate / 2.2 / freq)));
    for (long i = 0; i < count; ++i) {
        long at = first + i;
        if (at >= static_cast<long>(samples.size())) break;
        double t = double(i) / rate;
        double env;
        if (t < attack) env = t / attack;
        else if (t < dur) env = 0.85 + 0.15 * std::exp(-(t - attack) * 6.0);
        else env = 0.85 * std::exp(-(t - dur) * 5.0 / release);
        if (t < attack) env = std::sin(1.5707963 * env);
        double vibrato = t > 0.25 ? 0.004 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, (t - 0.25) * 4) : 0.0;
        phase += kTwoPi * freq * (1.0 + vibrato) / rate;
        if (at < 0) continue;
        // Brightness: partial n is weighted by a roll-off that opens with
        // the envelope, so soft parts sound mellow and loud ones brassy.
        double bright = 1.2 + 4.5 * env;
        double v = 0;
        for (int n = 1; n <= harmonics; ++n)
            v += std::sin(phase * n) / n * std::exp(-double(n - 1) / bright);
        samples[at] += static_cast<float>(amp * env * v * 0.6);
    }
}

void AudioBuffer::LowPass(double cutoff)
{
    double a = 1.0 - std::exp(-kTwoPi * cutoff / rate);
    double first = 0, second = 0;
    for (float& s : samples) {
        first += a * (s - first);
        second += a * (first - second);
        s = static_cast<float>(second);
    }
}

void AudioBuffer::MixInto(AudioBuffer& other, double start, double gain) const
{
    long first = std::lround(start * other.rate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        long at = first + static_cast<long>(i);
        if (at < 0) continue;
        if (at >= static_cast<long>(other.samples.size())) break;
        other.samples[at] += static_cast<float>(samples[i] * gain);
    }
}

void AudioBuffer::FadeEdges(double inSeconds, double outSeconds)
{
    std::size_t in = std::min(samples.size(), static_cast<std::size_t>(inSeconds * rate));
    std::size_t out = std::min(samples.size(), static_cast<std::size_t>(outSeconds * rate));
    for (std::size_t i = 0; i < in; ++i) samples[i] *= static_cast<float>(double(i) / in);
    for (std::size_t i = 0; i < out; ++i) samples[samples.size() - 1 - i] *= static_cast<float>(double(i) / out);
}

double AudioBuffer::Normalise(double targetLoudness, double peakCap)
{
    double peak = Peak();
    double loud = Loudness();
    if (peak <= 0 || loud <= 0) return 1.0;
    double gain = std::min(targetLoudness / loud, peakCap / peak);
    for (float& s : samples) s = static_cast<float>(s * gain);
    return gain;
}

double AudioBuffer::Peak() const
{
    double peak = 0;
    for (float s : samples) peak = std::max(peak, double(std::fabs(s)));
    return peak;
}

double AudioBuffer::Loudness() const
{
    return WindowLoudness(samples.data(), samples.size(), rate);
}

double WindowLoudness(const float* data, std::size_t count, int rate)
{
    std::size_t window = std::max<std::size_t>(1, static_cast<std::size_t>(rate) / 20);
    double sum = 0, best = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += double(data[i]) * data[i];
        if (i >= window) sum -= double(data[i - window]) * data[i - window];
        std::size_t n = std::min(window, i + 1);
        if (i + 1 >= window || i + 1 == count) best = std::max(best, sum / n);
    }
    return std::sqrt(std::max(0.0, best));
}

} // namespace Zorvin::AssetGen

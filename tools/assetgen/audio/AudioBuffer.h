#pragma once

// A mono buffer of float samples (full scale +-1.0) that the sound and music
// steps draw their synthesised sounds into. Every Add... call mixes a voice
// into the buffer; whatever falls past the end is cut off, so an effect has
// exactly the length it was created with. Noise comes from the C library
// generator, so callers seed it (srand) for byte-identical output.
// Owned by whoever synthesises; nothing keeps it after encoding.

#include <cstddef>
#include <vector>

namespace Zorvin::AssetGen {

// Exponentially decaying sine partials at fixed ratios of a base frequency:
// bells, chimes, metal and wood knocks are all made of these.
struct Partial {
    double ratio;  // frequency = base x ratio
    double amp;    // relative amplitude
    double decay;  // decay rate in 1/s (amplitude x e^(-decay t))
};

class AudioBuffer {
public:
    AudioBuffer(int rate, std::size_t length) : rate(rate), samples(length, 0.0f) {}
    AudioBuffer(int rate, double seconds);

    int Rate() const { return rate; }
    std::size_t Length() const { return samples.size(); }
    float* Data() { return samples.data(); }
    const float* Data() const { return samples.data(); }
    const std::vector<float>& Samples() const { return samples; }

    // A sine that glides exponentially from freq0 to freq1 over dur seconds,
    // with a linear attack and an exponential decay (1/s).
    void AddGlide(double start, double dur, double freq0, double freq1, double amp, double attack, double decay);
    // A set of decaying partials struck at once (bell, knock, chime).
    void AddStrike(double start, double freq, double amp, const std::vector<Partial>& partials, double attack = 0.002);
    // Noise through a band-pass whose centre moves exponentially from
    // centre0 to centre1, shaped by a sine-arch envelope with the peak at
    // peakAt (0..1 of dur). q below 1 is a narrow band, about 1.4 a wide one.
    void AddNoiseBand(double start, double dur, double centre0, double centre1, double q, double amp, double peakAt);
    // Noise through a high-pass, decaying exponentially: hats, clicks, sparks.
    void AddNoiseBurst(double start, double dur, double cutoff, double amp, double decay);
    // A brass-like tone: band-limited saw whose brightness follows its
    // envelope (a soft attack opens the filter, as when a player blows),
    // with a gentle delayed vibrato. The note rings out after dur for one
    // and a half times `release`, down to below -65 dB.
    void AddBrass(double start, double dur, double freq, double amp, double attack = 0.04, double release = 0.12);

    // Two one-pole low-passes in a row (12 dB per octave): takes the fizz
    // off noisy sounds.
    void LowPass(double cutoff);
    // Sum of this buffer into another at a gain and an offset in seconds.
    void MixInto(AudioBuffer& other, double start, double gain) const;
    // A short linear fade at both ends so that no effect starts or stops
    // with a click.
    void FadeEdges(double inSeconds, double outSeconds);
    // Scales the buffer so that its loudness reaches targetLoudness (the
    // loudest 50 ms RMS window) but its peak stays at or below peakCap.
    // Returns the gain used.
    double Normalise(double targetLoudness, double peakCap);

    double Peak() const;
    // RMS of the loudest 50 ms window: how loud the effect sounds, unlike the
    // peak which a single transient sets.
    double Loudness() const;

private:
    int rate;
    std::vector<float> samples;
};

// Loudest 50 ms RMS window of a run of samples.
double WindowLoudness(const float* data, std::size_t count, int rate);

} // namespace Zorvin::AssetGen

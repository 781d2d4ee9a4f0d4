#pragma once

// Builds a FastTracker 2 extended module (XM) in memory: instruments with
// one 16-bit sample each, volume envelopes, patterns of note cells and the
// order list. The music step fills one of these per song; the game's music
// player opens the bytes whatever the file's extension, recognising the
// format by content.

#include <cstdint>
#include <string>
#include <vector>

namespace Zorvin::AssetGen {

struct XmEnvelope {
    struct Point {
        int tick;  // time in ticks from the note start
        int value; // 0..64
    };
    std::vector<Point> points; // at most 12; none means no envelope
    int sustain = -1;          // point index held until key-off, or -1
};

struct XmInstrument {
    std::string name;
    std::vector<int16_t> data; // the sample, full resolution
    int loopStart = 0;         // in samples; loopLength 0 = one-shot
    int loopLength = 0;
    int volume = 64;           // 0..64; the composer scales its notes by it
    int panning = 128;         // 0 left .. 255 right
    int relativeNote = 0;      // semitones, so note C-4 sounds at its pitch
    int finetune = 0;          // 1/128 semitone, -128..127
    XmEnvelope envelope;
    int fadeout = 0;           // volume lost per tick after key-off (0..4095)
    int vibratoDepth = 0;      // automatic vibrato, 0 = none
    int vibratoRate = 0;
    int vibratoSweep = 0;
};

struct XmCell {
    uint8_t note = 0;       // 1 = C-0 .. 96, 97 = key off, 0 = none
    uint8_t instrument = 0; // 1-based, 0 = keep
    uint8_t volume = 0;     // volume column: 0x10 + 0..64, 0 = none
    uint8_t effect = 0;
    uint8_t param = 0;
};

class XmPattern {
public:
    XmPattern(int rows, int channels) : rows(rows), channels(channels), cells(std::size_t(rows) * channels) {}
    int Rows() const { return rows; }
    int Channels() const { return channels; }
    // Out-of-range positions return a scratch cell, so a composer writing a
    // note past the end of a pattern loses only that note.
    XmCell& At(int row, int channel);
    const XmCell& At(int row, int channel) const;

private:
    int rows;
    int channels;
    std::vector<XmCell> cells;
    XmCell scratch;
};

class XmModule {
public:
    static constexpr uint8_t kKeyOff = 97;

    std::string name;
    int channels = 8;  // even, 2..32
    int speed = 6;     // ticks per row
    int bpm = 125;     // tick rate: bpm x 2 / 5 ticks per second
    int restart = 0;   // order position the song loops back to
    // Global volume 0..64. XM has no header field for it, so below 64 the
    // writer sets it with a global-volume command at the top of every
    // pattern (in the first channel whose effect column is free there), so
    // it holds wherever playback starts or loops.
    int globalVolume = 64;
    std::vector<int> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;

    // Seconds one pass through the order list takes (no speed or tempo
    // changes inside patterns, which this writer never emits).
    double LengthSeconds() const;
    std::vector<unsigned char> Write() const;

    // relativeNote and finetune for a sample whose waveform repeats every
    // period samples, so that note C-4 plays middle C (261.63 Hz).
    static void TuneForPeriod(XmInstrument& instrument, double period);
    // The same for a sample recorded at a sample rate, to be played at its
    // own speed on note C-4 (drums).
    static void TuneForRate(XmInstrument& instrument, double rate);
};

} // namespace Zorvin::AssetGen

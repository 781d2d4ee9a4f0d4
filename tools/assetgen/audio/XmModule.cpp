#include "tools/assetgen/audio/XmModule.h"

#include <algorithm>
#include <cmath>

namespace Zorvin::AssetGen {

namespace {

class ByteWriter {
public:
    std::vector<unsigned char> bytes;
    void U8(int v) { bytes.push_back(static_cast<unsigned char>(v & 0xFF)); }
    void U16(int v) { U8(v); U8(v >> 8); }
    void U32(uint32_t v) { U16(int(v & 0xFFFF)); U16(int(v >> 16)); }
    void Text(const std::string& s, std::size_t width)
    {
        for (std::size_t i = 0; i < width; ++i) U8(i < s.size() ? s[i] : 0);
    }
    void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    void PutU16At(std::size_t at, int v)
    {
        bytes[at] = static_cast<unsigned char>(v & 0xFF);
        bytes[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
    }
};

// Splits a fractional semitone offset into the relative note and finetune
// fields of an XM sample.
void SetTuning(XmInstrument& ins, double semitones)
{
    int rel = static_cast<int>(std::floor(semitones + 0.5));
    int fine = static_cast<int>(std::lround((semitones - rel) * 128.0));
    ins.relativeNote = std::clamp(rel, -96, 95);
    ins.finetune = std::clamp(fine, -128, 127);
}

} // namespace

XmCell& XmPattern::At(int row, int channel)
{
    if (row < 0 || row >= rows || channel < 0 || channel >= channels) {
        scratch = XmCell();
        return scratch;
    }
    return cells[std::size_t(row) * channels + channel];
}

const XmCell& XmPattern::At(int row, int channel) const
{
    static const XmCell empty;
    if (row < 0 || row >= rows || channel < 0 || channel >= channels) return empty;
    return cells[std::size_t(row) * channels + channel];
}

double XmModule::LengthSeconds() const
{
    double tick = 2.5 / bpm;
    double total = 0;
    for (int p : order)
        if (p >= 0 && p < static_cast<int>(patterns.size())) total += patterns[p].Rows() * speed * tick;
    return total;
}

void XmModule::TuneForPeriod(XmInstrument& instrument, double period)
{
    // C-4 plays the sample at 8363 Hz; its pitch is then 8363 / period.
    SetTuning(instrument, 12.0 * std::log2(261.6255653 * period / 8363.0));
}

void XmModule::TuneForRate(XmInstrument& instrument, double rate)
{
    SetTuning(instrument, 12.0 * std::log2(rate / 8363.0));
}

std::vector<unsigned char> XmModule::Write() const
{
    ByteWriter w;
    w.Text("Extended Module: ", 17);
    w.Text(name, 20);
    w.U8(0x1A);
    w.Text("Korvelt assetgen", 20);
    w.U16(0x0104);
    w.U32(276); // header size from this field on
    w.U16(static_cast<int>(order.size()));
    w.U16(restart);
    w.U16(channels);
    w.U16(static_cast<int>(patterns.size()));
    w.U16(static_cast<int>(instruments.size()));
    w.U16(1); // linear frequency table
    w.U16(speed);
    w.U16(bpm);
    for (int i = 0; i < 256; ++i) w.U8(i < static_cast<int>(order.size()) ? order[i] : 0);

    for (const XmPattern& p : patterns) {
        w.U32(9);
        w.U8(0);
        w.U16(p.Rows());
        std::size_t sizeAt = w.bytes.size();
        w.U16(0);
        std::size_t start = w.bytes.size();
        int volumeChannel = -1;
        for (int c = 0; c < channels && globalVolume < 64 && volumeChannel < 0; ++c)
            if (p.At(0, c).effect == 0 && p.At(0, c).param == 0) volumeChannel = c;
        for (int r = 0; r < p.Rows(); ++r) {
            for (int c = 0; c < channels; ++c) {
                XmCell cell = p.At(r, c);
                if (r == 0 && c == volumeChannel) {
                    cell.effect = 0x10; // Gxx: set global volume
                    cell.param = static_cast<uint8_t>(std::clamp(globalVolume, 0, 64));
                }
                // Packed cell: a flag byte says which fields follow.
                int flags = 0x80 | (cell.note ? 1 : 0) | (cell.instrument ? 2 : 0) | (cell.volume ? 4 : 0) |
                            (cell.effect ? 8 : 0) | (cell.param ? 16 : 0);
                w.U8(flags);
                if (cell.note) w.U8(cell.note);
                if (cell.instrument) w.U8(cell.instrument);
                if (cell.volume) w.U8(cell.volume);
                if (cell.effect) w.U8(cell.effect);
                if (cell.param) w.U8(cell.param);
            }
        }
        w.PutU16At(sizeAt, static_cast<int>(w.bytes.size() - start));
    }

    for (const XmInstrument& ins : instruments) {
        w.U32(263);
        w.Text(ins.name, 22);
        w.U8(0);
        w.U16(1); // one sample
        w.U32(40);
        w.Zeros(96); // every note uses sample 0
        const auto& env = ins.envelope.points;
        for (std::size_t i = 0; i < 12; ++i) {
            w.U16(i < env.size() ? env[i].tick : 0);
            w.U16(i < env.size() ? env[i].value : 0);
        }
        w.Zeros(48); // no panning envelope
        w.U8(static_cast<int>(std::min<std::size_t>(env.size(), 12)));
        w.U8(0);
        w.U8(std::max(0, ins.envelope.sustain));
        w.U8(0);
        w.U8(0); // volume loop start, end
        w.U8(0);
        w.U8(0);
        w.U8(0); // panning sustain, loop
        w.U8(env.empty() ? 0 : (1 | (ins.envelope.sustain >= 0 ? 2 : 0)));
        w.U8(0);
        w.U8(0); // vibrato: sine
        w.U8(ins.vibratoSweep);
        w.U8(ins.vibratoDepth);
        w.U8(ins.vibratoRate);
        w.U16(ins.fadeout);
        w.Zeros(22);

        // Sample header; lengths are in bytes.
        uint32_t length = static_cast<uint32_t>(ins.data.size());
        int loopLength = std::clamp(ins.loopLength, 0, int(length));
        int loopStart = std::clamp(ins.loopStart, 0, int(length) - loopLength);
        w.U32(length * 2);
        w.U32(static_cast<uint32_t>(loopStart) * 2);
        w.U32(static_cast<uint32_t>(loopLength) * 2);
        w.U8(ins.volume);
        w.U8(ins.finetune);
        w.U8((loopLength > 0 ? 1 : 0) | 0x10);
        w.U8(ins.panning);
        w.U8(ins.relativeNote);
        w.U8(0);
        w.Text(ins.name, 22);
        // Sample data is stored as differences between neighbours.
        int16_t previous = 0;
        for (int16_t s : ins.data) {
            w.U16(static_cast<uint16_t>(s - previous));
            previous = s;
        }
    }
    return w.bytes;
}

} // namespace Zorvin::AssetGen

// Sections:
//   - music helpers (motifs, themes, chords, drum patterns)
//   - the composer's instruments and notes
//   - melody
//   - accompaniment
//   - drums
//   - releasing held notes
//   - composing a song

#include "tools/assetgen/audio/SongComposer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace Zorvin::AssetGen {

namespace {

enum Channel { kMelody, kEcho, kBass, kChord0, kChord1, kChord2, kArp, kCounter, kKick, kSnare, kHat, kPerc, kChannels };

// Stereo seat of each channel (FT2 panning, 0x80 centre); -1 keeps the
// instrument's own.
const int kChannelPan[kChannels] = {-1, 0xB8, -1, 0x58, 0x80, 0xA8, 0xA0, 0x60, -1, -1, -1, -1};

int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Positions count scale steps from the tonic of octave 0 of the key, so
// melodic steps and chord tones are plain integer arithmetic.
class Key {
public:
    Key(int root, const std::array<int, 7>& scale) : root(root), scale(scale) {}
    int Midi(int pos) const
    {
        int oct = FloorDiv(pos, 7);
        return root + 12 * oct + scale[pos - oct * 7];
    }
    static bool IsChordTone(int pos, int degree)
    {
        int d = ((pos - degree) % 7 + 7) % 7;
        return d == 0 || d == 2 || d == 4;
    }
    // The chord tone nearest to pos; on a tie the one in direction dir.
    static int NearestChordTone(int pos, int degree, int dir)
    {
        for (int dist = 0; dist < 7; ++dist) {
            int first = pos + (dir >= 0 ? dist : -dist), second = pos - (dir >= 0 ? dist : -dist);
            if (IsChordTone(first, degree)) return first;
            if (IsChordTone(second, degree)) return second;
        }
        return pos;
    }
    // The lowest position whose note is at or above midi.
    int PosAtOrAbove(int midi) const
    {
        int pos = FloorDiv(midi - root, 12) * 7 - 7;
        while (Midi(pos) < midi) ++pos;
        return pos;
    }

private:
    int root;
    std::array<int, 7> scale;
};

struct Note {
    int row;
    int length;
    int midi;
    int volume;
};

struct Motif {
    std::vector<std::pair<int, int>> rhythm; // start row in the bar, length
    std::vector<int> steps;                  // scale steps from the previous note
};

struct Theme {
    Motif first, second, cadence;
    int startOffset; // scale steps above the middle of the range to begin
};

// Bar rhythms in rows (four rows per beat).
const std::vector<std::vector<std::pair<int, int>>> kRhythms4 = {
    {{0, 4}, {4, 2}, {6, 2}, {8, 6}, {14, 2}},
    {{0, 6}, {6, 2}, {8, 4}, {12, 4}},
    {{0, 2}, {2, 2}, {4, 4}, {8, 4}, {12, 2}, {14, 2}},
    {{0, 4}, {4, 4}, {8, 8}},
    {{0, 3}, {3, 3}, {6, 4}, {10, 2}, {12, 4}},
    {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 4}, {12, 4}},
    {{2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 4}},
};
const std::vector<std::vector<std::pair<int, int>>> kCadences4 = {
    {{0, 4}, {4, 12}}, {{0, 2}, {2, 2}, {4, 12}}, {{0, 6}, {6, 2}, {8, 8}}};
const std::vector<std::vector<std::pair<int, int>>> kRhythms3 = {
    {{0, 4}, {4, 4}, {8, 4}}, {{0, 6}, {6, 2}, {8, 4}}, {{0, 4}, {4, 2}, {6, 2}, {8, 4}},
    {{0, 8}, {8, 4}}, {{0, 2}, {2, 2}, {4, 4}, {8, 4}}};
const std::vector<std::vector<std::pair<int, int>>> kCadences3 = {{{0, 12}}, {{0, 4}, {4, 8}}, {{0, 2}, {2, 2}, {4, 8}}};

// A motif's contour rises then falls (or the reverse), mostly by steps,
// with the odd leap or repeated note.
Motif MakeMotif(const std::vector<std::pair<int, int>>& rhythm, bool archUp)
{
    Motif m;
    m.rhythm = rhythm;
    int n = static_cast<int>(rhythm.size());
    for (int i = 0; i < n; ++i) {
        if (i == 0) {
            m.steps.push_back(0);
            continue;
        }
        int dir = (i <= n / 2) == archUp ? 1 : -1;
        int r = std::rand() % 10;
        int step = r < 5 ? dir : r < 7 ? 2 * dir : r == 7 ? -dir : r == 8 ? 0 : 3 * dir;
        m.steps.push_back(step);
    }
    return m;
}

Theme MakeTheme(int beatsPerBar)
{
    const auto& rhythms = beatsPerBar == 3 ? kRhythms3 : kRhythms4;
    const auto& cadences = beatsPerBar == 3 ? kCadences3 : kCadences4;
    Theme t;
    int a = std::rand() % static_cast<int>(rhythms.size());
    int b = (a + 1 + std::rand() % (static_cast<int>(rhythms.size()) - 1)) % static_cast<int>(rhythms.size());
    t.first = MakeMotif(rhythms[a], true);
    t.second = MakeMotif(rhythms[b], std::rand() % 2 == 0);
    t.cadence = MakeMotif(cadences[std::rand() % cadences.size()], false);
    t.startOffset = std::rand() % 3;
    return t;
}

struct Bar {
    std::vector<int> chords; // one or two scale degrees
};

std::vector<Bar> ParseChords(const char* text)
{
    std::vector<Bar> bars;
    std::istringstream in(text);
    std::string entry;
    while (in >> entry) {
        Bar bar;
        std::istringstream parts(entry);
        std::string part;
        while (std::getline(parts, part, '/'))
            if (!part.empty()) bar.chords.push_back(std::atoi(part.c_str()) % 7);
        if (bar.chords.empty()) bar.chords.push_back(0);
        bars.push_back(bar);
    }
    if (bars.empty()) bars.push_back({{0}});
    return bars;
}

bool Sustains(InstrumentKind k)
{
    switch (k) {
    case InstrumentKind::WarmPad:
    case InstrumentKind::DarkPad:
    case InstrumentKind::Strings:
    case InstrumentKind::Bass:
    case InstrumentKind::Flute:
    case InstrumentKind::Reed:
    case InstrumentKind::Horn:
        return true;
    default:
        return false;
    }
}

// Drum bar patterns per channel: upper case is an accent, lower case a soft
// hit; k kick, s snare, h closed hat, o open hat, r shaker, t tambourine,
// d frame drum, e its rim.
struct DrumBar {
    const char* kick;
    const char* snare;
    const char* hat;
    const char* perc;
};

DrumBar DrumPattern(DrumStyle style, int intensity)
{
    bool full = intensity >= 2;
    switch (style) {
    case DrumStyle::Shaker:
        return full ? DrumBar{"k.......k.......", "", "....t.......t...", "R.r.R.r.R.r.R.r."} : DrumBar{"", "", "", "R.r.r.r.R.r.r.r."};
    case DrumStyle::Groove:
        return full ? DrumBar{"K.....k.K.......", "....S.......S..s", "H.h.H.h.H.h.H.hh", "..t...t...t...t."}
                    : DrumBar{"K.......K.......", "....s.......s...", "h.h.h.h.h.h.h.h.", ""};
    case DrumStyle::Frame:
        return full ? DrumBar{"D.......D..d....", "..E...E.e...E.ee", "t...t...t...t...", "R.r.R.r.R.r.R.r."}
                    : DrumBar{"D.......D.......", "..e...e.....e...", "", "r.r.r.r.r.r.r.r."};
    case DrumStyle::March:
        return full ? DrumBar{"K.......K.......", "S..sS.s.S..sS.ss", "..t...t...t...t.", "r.r.r.r.r.r.r.r."}
                    : DrumBar{"K.......K.......", "S...s.s.S...s.s.", "", ""};
    case DrumStyle::Drive:
        return full ? DrumBar{"K...K...K...K.k.", "....S.......S...", "hhHhhhHhhhHhhhHh", "..O...O...O...O."}
                    : DrumBar{"K...K...K...K...", "....S.......S...", "h.h.h.h.h.h.h.h.", ""};
    case DrumStyle::Waltz:
        return full ? DrumBar{"K...........", "", "....t...t...", "R.r.r.r.R.r."} : DrumBar{"K...........", "", "", "R...r...r..."};
    }
    return {"", "", "", ""};
}

const char* kFill4 = "....S...S.S.SSSS";

class Composer {
public:
    explicit Composer(const SongPlan& plan) : plan(plan), key(plan.root, plan.scale) {}

    XmModule Compose();

private:
    int Instrument(InstrumentKind kind);
    void Put(XmPattern& p, int row, int channel, int midi, InstrumentKind kind, int volume);
    void PutOff(XmPattern& p, int row, int channel);
    void PutNotes(XmPattern& p, int channel, const std::vector<Note>& notes, InstrumentKind kind, int rows);
    std::vector<Note> Melody(const SectionPlan& section, const std::vector<Bar>& bars, const Theme& theme);
    void Ornament(std::vector<Note>& notes, const std::vector<int>& positions, int low, int high);
    void Accompany(XmPattern& p, const SectionPlan& section, const std::vector<Bar>& bars);
    void Drums(XmPattern& p, const SectionPlan& section, int bars);
    void ReleaseAcrossPatterns();
    int RowsPerBar() const { return plan.beatsPerBar * 4; }
    int ChordAt(const std::vector<Bar>& bars, int bar, int rowInBar) const
    {
        const Bar& b = bars[bar];
        if (b.chords.size() < 2) return b.chords[0];
        return rowInBar < RowsPerBar() / 2 ? b.chords[0] : b.chords[1];
    }

    const SongPlan& plan;
    Key key;
    XmModule module;
    std::map<InstrumentKind, int> instrumentIndex;
    std::vector<int> voicing = {57, 60, 64};
    int counterPos = 0;
};

int Composer::Instrument(InstrumentKind kind)
{
    auto it = instrumentIndex.find(kind);
    if (it != instrumentIndex.end()) return it->second;
    module.instruments.push_back(InstrumentSynth::Make(kind));
    int index = static_cast<int>(module.instruments.size());
    instrumentIndex[kind] = index;
    return index;
}

void Composer::Put(XmPattern& p, int row, int channel, int midi, InstrumentKind kind, int volume)
{
    XmCell& c = p.At(row, channel);
    c.note = static_cast<uint8_t>(std::clamp(midi - 11, 1, 96)); // MIDI 60 is C-4
    int index = Instrument(kind);
    c.instrument = static_cast<uint8_t>(index);
    // The volume column replaces the sample's own volume, so the
    // instrument's level is applied here.
    volume = volume * module.instruments[index - 1].volume / 64;
    c.volume = static_cast<uint8_t>(0x10 + std::clamp(volume, 0, 64));
    if (kChannelPan[channel] >= 0) {
        c.effect = 0x08;
        c.param = static_cast<uint8_t>(kChannelPan[channel]);
    }
}

void Composer::PutOff(XmPattern& p, int row, int channel)
{
    XmCell& c = p.At(row, channel);
    if (row < p.Rows() && c.note == 0) c.note = XmModule::kKeyOff;
}

void Composer::PutNotes(XmPattern& p, int channel, const std::vector<Note>& notes, InstrumentKind kind, int rows)
{
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const Note& n = notes[i];
        if (n.row >= rows) break;
        Put(p, n.row, channel, n.midi, kind, n.volume);
    }
    // A sustained instrument is released where its note ends, unless the
    // next note takes over on that very row.
    if (!Sustains(kind)) return;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        int end = notes[i].row + notes[i].length;
        bool legato = i + 1 < notes.size() && notes[i + 1].row <= end;
        if (!legato && end < rows) PutOff(p, end, channel);
    }
}

std::vector<Note> Composer::Melody(const SectionPlan& section, const std::vector<Bar>& bars, const Theme& theme)
{
    std::vector<Note> notes;
    int low = key.PosAtOrAbove(plan.melodyLow);
    int high = key.PosAtOrAbove(plan.melodyHigh + 1) - 1;
    int pos = (low + high) / 2 + theme.startOffset + (section.variant >= 2 ? 2 : 0);
    std::vector<int> positions; // scale position of every note, for the ornaments
    int barCount = static_cast<int>(bars.size());
    for (int bar = 0; bar < barCount; ++bar) {
        int phraseBar = bar % 4;
        bool lastPhrase = bar / 4 == (barCount - 1) / 4;
        const bool answered = section.variant >= 2;
        const Motif* motif = answered ? &theme.second : &theme.first;
        if (phraseBar == 1) motif = answered ? &theme.first : &theme.second;
        if (phraseBar == 3) motif = &theme.cadence;
        // The second phrase of an eight-bar section answers the first: its
        // third bar turns the second motif upside down.
        bool invert = bar >= 4 && phraseBar == 2;
        if (invert) motif = &theme.second;
        int dirHint = 1;
        int n = static_cast<int>(motif->rhythm.size());
        for (int i = 0; i < n; ++i) {
            auto [start, length] = motif->rhythm[i];
            int chord = ChordAt(bars, bar, start);
            int step = invert ? -motif->steps[i] : motif->steps[i];
            if (i == 0) {
                pos = Key::NearestChordTone(pos, chord, dirHint);
            } else {
                pos += step;
                if (step != 0) dirHint = step > 0 ? 1 : -1;
            }
            // Keep to the range by turning back, not by jumping an octave.
            if (pos > high) pos = high - (pos - high);
            if (pos < low) pos = low + (low - pos);
            pos = std::clamp(pos, low, high);
            bool strong = start % (plan.beatsPerBar == 4 ? 8 : 12) == 0 || length >= 6;
            if (phraseBar == 3 && i == n - 1) {
                // Cadence: the phrase comes to rest on the tonic, or stays
                // open on a tone of the chord under it.
                bool full = section.cadence && lastPhrase;
                if (full) {
                    int tonic = FloorDiv(pos + 3, 7) * 7;
                    if (tonic > high) tonic -= 7;
                    if (tonic < low) tonic += 7;
                    pos = tonic;
                } else {
                    pos = std::clamp(Key::NearestChordTone(pos, chord, dirHint), low, high);
                }
            } else if (strong) {
                pos = Key::NearestChordTone(pos, chord, dirHint);
            } else if (length >= 4 && !Key::IsChordTone(pos, chord)) {
                // A long passing tone a semitone from a chord tone grates.
                int nearest = Key::NearestChordTone(pos, chord, dirHint);
                if (std::abs(key.Midi(nearest) - key.Midi(pos)) <= 1) pos = nearest;
            }
            int volume = (start == 0 ? 58 : strong ? 54 : 48) + std::rand() % 5;
            notes.push_back({bar * RowsPerBar() + start, length - (length > 2 ? 1 : 0), key.Midi(pos), volume});
            positions.push_back(pos);
        }
    }
    if (section.variant >= 1) Ornament(notes, positions, low, high);
    return notes;
}

// A varied return of a tune: every held note but a phrase's last gives its
// second half to a passing note a step towards the next note (or a
// neighbour note when the tune stays put). The notes on the beat stay, so
// the harmony is the same.
void Composer::Ornament(std::vector<Note>& notes, const std::vector<int>& positions, int low, int high)
{
    const int rpb = RowsPerBar();
    std::vector<Note> out;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        Note n = notes[i];
        int span = i + 1 < notes.size() ? notes[i + 1].row - n.row : n.length + 1;
        bool phraseEnd = (n.row / rpb) % 4 == 3 && (i + 1 == notes.size() || notes[i + 1].row / rpb != n.row / rpb);
        int half = span / 2;
        // The passing note stays inside the bar, off its downbeat.
        bool inBar = (n.row + half) / rpb == n.row / rpb && (n.row + half) % rpb != 0;
        if (span < 4 || n.length < 3 || phraseEnd || !inBar) {
            out.push_back(n);
            continue;
        }
        int next = i + 1 < positions.size() ? positions[i + 1] : positions[i];
        int step = next > positions[i] ? 1 : next < positions[i] ? -1 : (positions[i] < high ? 1 : -1);
        int pos = std::clamp(positions[i] + step, low, high);
        out.push_back({n.row, half - (half > 2 ? 1 : 0), n.midi, n.volume});
        out.push_back({n.row + half, std::max(1, n.length - half), key.Midi(pos), n.volume - 6});
    }
    notes = std::move(out);
}

void Composer::Accompany(XmPattern& p, const SectionPlan& section, const std::vector<Bar>& bars)
{
    int rpb = RowsPerBar();
    int barCount = static_cast<int>(bars.size());
    std::vector<Note> bass, arp, counter;
    int lastChord = -1;
    for (int bar = 0; bar < barCount; ++bar) {
        for (std::size_t half = 0; half < bars[bar].chords.size(); ++half) {
            int chord = bars[bar].chords[half];
            int row = bar * rpb + static_cast<int>(half) * rpb / static_cast<int>(bars[bar].chords.size());
            int span = rpb / static_cast<int>(bars[bar].chords.size());
            // Close-position voicing nearest the previous one, so the
            // chords move smoothly instead of jumping about.
            std::vector<int> tones;
            for (int pos = key.PosAtOrAbove(52); key.Midi(pos) <= 76; ++pos)
                if (Key::IsChordTone(pos, chord)) tones.push_back(key.Midi(pos));
            int previous = voicing[0] + voicing[1] + voicing[2];
            std::size_t best = 0;
            for (std::size_t i = 0; i + 2 < tones.size(); ++i)
                if (std::abs(tones[i] + tones[i + 1] + tones[i + 2] - previous) <
                    std::abs(tones[best] + tones[best + 1] + tones[best + 2] - previous))
                    best = i;
            if (tones.size() >= 3) voicing = {tones[best], tones[best + 1], tones[best + 2]};
            // A plucked tune dies away quickly, so held chords leave it more
            // room than they leave a sustained one; short stabs between its
            // notes need no such room.
            int chordVolume = Sustains(plan.melody) || plan.chordStyle == ChordStyle::Stabs ? 32 : 24;
            if (plan.chordStyle == ChordStyle::Pad) {
                if (chord != lastChord || row == 0)
                    for (int v = 0; v < 3; ++v) Put(p, row, kChord0 + v, voicing[v], plan.chords, chordVolume);
            } else {
                // Stabs on the off-beats (2 and 3 of a waltz bar, the "and"s
                // of a 4/4 bar).
                for (int r = 4; r < span; r += plan.beatsPerBar == 3 ? 4 : 8)
                    for (int v = 0; v < 3; ++v) Put(p, row + r, kChord0 + v, voicing[v], plan.chords, chordVolume);
            }
            lastChord = chord;

            // Bass: the chord root around E1-D2.
            int rootPos = key.PosAtOrAbove(31);
            while (((rootPos - chord) % 7 + 7) % 7 != 0) ++rootPos;
            int root = key.Midi(rootPos);
            int tonicPos = key.PosAtOrAbove(31);
            while ((tonicPos % 7 + 7) % 7 != 0) ++tonicPos;
            int tonic = key.Midi(tonicPos);
            int fifth = key.Midi(rootPos + 4);
            int nextChord = bar + 1 < barCount ? bars[bar + 1].chords[0] : bars[0].chords[0];
            switch (plan.bassStyle) {
            case BassStyle::Calm:
                bass.push_back({row, span - 4, root, 56});
                bass.push_back({row + span - 4, 3, fifth - (fifth - root > 7 ? 12 : 0), 46});
                break;
            case BassStyle::Pulse:
                for (int r = 0; r < span; r += 2)
                    bass.push_back({row + r, 1, (r % 8 == 6) ? root + 12 : root, r % 4 == 0 ? 56 : 44});
                break;
            case BassStyle::Walk: {
                int third = key.Midi(rootPos + 2);
                int nextRoot = rootPos + (((nextChord - chord) % 7 + 7) % 7);
                if (nextRoot - rootPos > 3) nextRoot -= 7;
                int approach = key.Midi(nextRoot + (nextRoot > rootPos ? -1 : 1));
                std::vector<int> line = {root, third, fifth, approach};
                int beats = span / 4;
                for (int b = 0; b < beats; ++b)
                    bass.push_back({row + b * 4, 3, beats >= 4 ? line[b] : line[b * 2], b == 0 ? 56 : 48});
                break;
            }
            case BassStyle::Drone:
                bass.push_back({row, span - 1, tonic, 54});
                if (span >= 8) bass.push_back({row + span / 2, span / 2 - 1, root, 44});
                break;
            case BassStyle::Waltz:
                bass.push_back({row, 7, bar % 2 ? fifth - 12 * (fifth - root > 7) : root, 56});
                break;
            }

            // Arpeggio: chord tones from around G3 up.
            std::vector<int> arpTones;
            for (int pos = key.PosAtOrAbove(55); arpTones.size() < 5; ++pos)
                if (Key::IsChordTone(pos, chord)) arpTones.push_back(key.Midi(pos));
            static const int harp4[] = {0, 1, 2, 3, 4, 3, 2, 1};
            static const int harp3[] = {0, 1, 2, 3, 2, 1};
            static const int pulse[] = {0, 2, 1, 2};
            static const int broken[] = {0, 2, 1, 3, 0, 2, 1, 4};
            switch (plan.arpStyle) {
            case ArpStyle::None:
                break;
            case ArpStyle::Harp:
                for (int r = 0, i = 0; r < span; r += 2, ++i)
                    arp.push_back({row + r, 2, arpTones[plan.beatsPerBar == 3 ? harp3[i % 6] : harp4[i % 8]], r % 4 ? 26 : 32});
                break;
            case ArpStyle::Pulse:
                for (int r = 0, i = 0; r < span; ++r, ++i)
                    arp.push_back({row + r, 1, arpTones[pulse[i % 4]], r % 4 ? 22 : 30});
                break;
            case ArpStyle::Broken:
                for (int r = 0, i = 0; r < span; r += 2, ++i)
                    arp.push_back({row + r, 2, arpTones[broken[i % 8]], r % 4 ? 24 : 30});
                break;
            }

            if (section.counter) {
                // A bell line high above the tune: one chord tone per half
                // bar, moving to the nearest one each time.
                if (counterPos == 0) counterPos = key.PosAtOrAbove(79);
                for (int r = 0; r < span; r += rpb / 2) {
                    counterPos = Key::NearestChordTone(counterPos + (std::rand() % 3 - 1), chord, -1);
                    counterPos = std::clamp(counterPos, key.PosAtOrAbove(74), key.PosAtOrAbove(88));
                    counter.push_back({row + r, 4, key.Midi(counterPos), 30 + std::rand() % 4});
                }
            }
        }
    }
    PutNotes(p, kBass, bass, plan.bass, p.Rows());
    if (plan.arpStyle != ArpStyle::None) PutNotes(p, kArp, arp, plan.arp, p.Rows());
    if (section.counter) PutNotes(p, kCounter, counter, plan.counter, p.Rows());
}

void Composer::Drums(XmPattern& p, const SectionPlan& section, int bars)
{
    if (section.intensity <= 0) return;
    DrumBar bar = DrumPattern(plan.drumStyle, section.intensity);
    const char* lanes[4] = {bar.kick, bar.snare, bar.hat, bar.perc};
    const int channels[4] = {kKick, kSnare, kHat, kPerc};
    bool fills = section.intensity >= 2 && plan.beatsPerBar == 4 &&
                 (plan.drumStyle == DrumStyle::Groove || plan.drumStyle == DrumStyle::March || plan.drumStyle == DrumStyle::Drive);
    for (int b = 0; b < bars; ++b) {
        for (int lane = 0; lane < 4; ++lane) {
            const char* text = lanes[lane];
            if (lane == 1 && fills && b == bars - 1) text = kFill4;
            int len = static_cast<int>(std::char_traits<char>::length(text));
            for (int r = 0; r < RowsPerBar() && r < len; ++r) {
                char c = text[r];
                InstrumentKind kind;
                switch (c | 0x20) {
                case 'k': kind = InstrumentKind::Kick; break;
                case 's': kind = InstrumentKind::Snare; break;
                case 'h': kind = InstrumentKind::ClosedHat; break;
                case 'o': kind = InstrumentKind::OpenHat; break;
                case 'r': kind = InstrumentKind::Shaker; break;
                case 't': kind = InstrumentKind::Tambourine; break;
                case 'd': kind = InstrumentKind::Dum; break;
                case 'e': kind = InstrumentKind::Tek; break;
                default: continue;
                }
                bool accent = c >= 'A' && c <= 'Z';
                int volume = (accent ? 60 : 40) - std::rand() % 6;
                Put(p, b * RowsPerBar() + r, channels[lane], 60, kind, volume);
            }
        }
    }
}

// A held note still sounding at the end of a pattern would ring on through
// whatever follows until its channel plays again - across the loop, for
// seconds. The pattern that follows in the order (the restart one after the
// last) releases it on its first row, so each note keeps its full length;
// at the loop, every channel still sounding is released.
void Composer::ReleaseAcrossPatterns()
{
    std::set<int> sustaining;
    for (const auto& [kind, index] : instrumentIndex)
        if (Sustains(kind)) sustaining.insert(index);
    const std::size_t n = module.order.size();
    for (std::size_t i = 0; i < n; ++i) {
        const XmPattern& p = module.patterns[module.order[i]];
        XmPattern& next = module.patterns[module.order[i + 1 < n ? i + 1 : module.restart]];
        for (int c = 0; c < p.Channels(); ++c) {
            int sounding = 0; // instrument of the note left on
            for (int r = 0; r < p.Rows(); ++r) {
                const XmCell& cell = p.At(r, c);
                if (cell.note == XmModule::kKeyOff) sounding = 0;
                else if (cell.note != 0) sounding = cell.instrument;
            }
            // At the loop every note left on is released, a fading bell
            // too: a long ring, however quiet, would make the second pass
            // differ from the first.
            bool wraps = i + 1 == n;
            XmCell& first = next.At(0, c);
            if (sounding != 0 && (wraps || sustaining.count(sounding)) && first.note == 0)
                first.note = XmModule::kKeyOff;
        }
    }
}

XmModule Composer::Compose()
{
    std::srand(plan.seed);
    module.name = plan.title;
    module.channels = kChannels;
    module.bpm = plan.bpm;
    module.speed = 6;
    Theme themes[3] = {MakeTheme(plan.beatsPerBar), MakeTheme(plan.beatsPerBar), MakeTheme(plan.beatsPerBar)};
    for (const SectionPlan& section : plan.sections) {
        std::vector<Bar> bars = ParseChords(section.chords);
        XmPattern pattern(static_cast<int>(bars.size()) * RowsPerBar(), kChannels);
        if (section.theme > 0) {
            const Theme& theme = themes[(section.theme - 1) % 3];
            std::vector<Note> tune = Melody(section, bars, theme);
            PutNotes(pattern, kMelody, tune, plan.melody, pattern.Rows());
            if (plan.echo) {
                // A dotted-eighth echo, quieter, on its own seat in the
                // stereo field.
                std::vector<Note> echo;
                for (const Note& n : tune) echo.push_back({n.row + 3, n.length, n.midi, n.volume * 2 / 5});
                PutNotes(pattern, kEcho, echo, plan.melody, pattern.Rows());
            }
        }
        Accompany(pattern, section, bars);
        Drums(pattern, section, static_cast<int>(bars.size()));
        module.patterns.push_back(std::move(pattern));
    }
    for (int s : plan.order)
        if (s >= 0 && s < static_cast<int>(module.patterns.size())) module.order.push_back(s);
    ReleaseAcrossPatterns();
    return std::move(module);
}

} // namespace

XmModule SongComposer::Compose(const SongPlan& plan)
{
    return Composer(plan).Compose();
}

} // namespace Zorvin::AssetGen

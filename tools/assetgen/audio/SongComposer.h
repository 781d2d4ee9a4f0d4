#pragma once

// Turns a song plan into a tracker module. A plan fixes the key, mode,
// tempo, metre, instruments and accompaniment styles, and a list of
// sections, each a chord progression with a melody theme and an intensity;
// the order list strings the sections into the song. A section that comes
// back is a varied copy (its variant), so the song never repeats verbatim. The composer writes
// the melody from short motifs (rhythm plus contour) that it repeats and
// sequences over the chords, snapping strong beats to chord tones and
// closing each phrase on a cadence, so the tune has a shape a listener can
// follow; bass, chords, arpeggios and drums follow the chords and styles.

#include "tools/assetgen/audio/InstrumentSynth.h"
#include "tools/assetgen/audio/XmModule.h"

#include <array>
#include <string>
#include <vector>

namespace Zorvin::AssetGen {

enum class BassStyle { Calm, Pulse, Walk, Drone, Waltz };
enum class ArpStyle { None, Harp, Pulse, Broken };
enum class ChordStyle { Pad, Stabs };
enum class DrumStyle { Shaker, Groove, Frame, March, Drive, Waltz };

struct SectionPlan {
    // One entry per bar, separated by spaces; an entry is a scale degree
    // (0 = tonic) or two joined by "/" for a bar split in halves.
    const char* chords;
    int theme;      // 0 no melody, 1 theme A, 2 theme B, 3 theme C
    bool cadence;   // end on the tonic (true) or leave the phrase open
    int intensity;  // 0 no drums, 1 light, 2 full
    bool counter;   // bell counter-line over the melody
    // How a returning section is varied, so no repeat is a copy: 0 as
    // first heard, 1 the tune ornamented with passing notes between its
    // held ones, 2 the tune answered (its motifs swapped, starting higher)
    // and ornamented.
    int variant = 0;
};

struct SongPlan {
    const char* title;
    unsigned seed;
    int bpm;
    int beatsPerBar; // 3 or 4; four rows per beat
    int root;        // MIDI note of the tonic
    std::array<int, 7> scale;
    InstrumentKind melody, chords, arp, bass, counter;
    ChordStyle chordStyle;
    ArpStyle arpStyle;
    BassStyle bassStyle;
    DrumStyle drumStyle;
    bool echo;       // a quiet delayed copy of the melody
    int melodyLow, melodyHigh; // MIDI range of the tune
    std::vector<SectionPlan> sections;
    std::vector<int> order;    // indexes into sections
};

class SongComposer {
public:
    static XmModule Compose(const SongPlan& plan);
};

} // namespace Zorvin::AssetGen

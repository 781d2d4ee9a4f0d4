#pragma once

// Synthesises the instruments of the music modules: tuned, looped tones
// made of harmonics (pads, bass, plucked strings, flute, reed, horn, bells,
// marimba) and one-shot drums. A tonal sample is a short bright attack
// followed by a loop of whole waveform cycles, so it loops without a seam
// and stays small; the tracker's volume envelope shapes how it decays.

#include "tools/assetgen/audio/XmModule.h"

namespace Zorvin::AssetGen {

enum class InstrumentKind {
    WarmPad,
    DarkPad,
    Strings,
    Bass,
    Harp,
    Bouzouki,
    Flute,
    Reed,
    Horn,
    Celesta,
    Marimba,
    Kick,
    Snare,
    ClosedHat,
    OpenHat,
    Shaker,
    Tambourine,
    Dum,
    Tek,
};

class InstrumentSynth {
public:
    // The instrument, tuned so that note C-4 plays middle C (drums play at
    // their own speed on C-4). Seeds the C library generator itself.
    static XmInstrument Make(InstrumentKind kind);
};

} // namespace Zorvin::AssetGen

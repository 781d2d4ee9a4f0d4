#pragma once

// DemoFile: a recorded session of the program, as DemoSession writes it
// with "-record" and reads it back with "-play". It holds what
// the run needs to start the same way (program name and version, the
// random seed, the windowed flag), every event that came from outside in
// the order it was taken (input, settings and file results, the end of
// loading), each stamped with the number of logic updates run before it,
// named markers, and the end of the run: its last update count and a hash
// of the final screen.
//
// On disk the header is plain bytes and the events are a bit stream: each
// event starts with the updates since the one before in 4 bits (a longer
// gap is a run of "time continuation" events worth 15 each) and a 5-bit
// code, followed by its fields. Loading checks everything against the file's
// length, so a damaged or hostile file is refused as a whole rather than
// half played. The demo session owns one while it records or plays.

#include "framework/app/InputMessage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Zorvin {

// One thing that came from outside the program.
struct DemoEvent {
    enum Code {
        Mouse = 0,        // a queued mouse move or button (message)
        Activation = 1,   // the window became active or inactive (flag)
        Minimise = 2,     // minimised or restored (flag)
        Character = 3,    // a typed character (message)
        KeyDown = 4,      // (message; param2 1 for a system key)
        KeyUp = 5,
        Close = 6,        // the window was asked to close
        MouseEnters = 7,  // the pointer entered or left the window
        MouseLeaves = 8,
        WindowMove = 9,   // the window was moved (message)
        SettingRead = 11, // flag = found; kind and bytes of the value
        SettingWrite = 12,
        SettingErase = 13,
        FileExists = 14,  // flag = the result; name = the file's name
        FileRead = 15,    // flag = read; bytes = its contents
        FileWrite = 16,   // flag = written; bytes = what was written
        FileDelete = 17,
        FileRename = 18,  // name = the new file name
        Clipboard = 19,   // bytes = the text pasted
        LoadingDone = 20, // the loading thread had finished
        Wheel = 21,       // (message)
        FileKeepCopy = 22, // flag = made; name = the file; bytes = the copy's name
        TimeContinuation = 31,
    };

    int update = 0; // logic updates run before the event
    Code code = Mouse;
    InputMessage message;
    bool flag = false;
    int kind = 0;
    std::string name;
    std::string bytes;

    bool IsInput() const { return code <= WindowMove || code == Wheel; }
};

struct DemoMarker {
    int update = 0;
    std::string name;
};

class DemoFile {
public:
    // The largest demo file read at all, and the largest value one event
    // may carry (a whole saved game fits many times).
    static constexpr size_t MaxFileBytes = 256u << 20;
    static constexpr size_t MaxEventBytes = 16u << 20;

    std::string programName;
    std::string programVersion;
    uint32_t seed = 0;
    bool windowed = true;
    int finalUpdate = 0;
    uint64_t finalScreenHash = 0;
    std::vector<DemoMarker> markers;
    std::vector<DemoEvent> events;

    std::string Encode() const;
    // Fills this from the bytes; false (and this is left empty) for
    // anything that is not a whole demo of this format.
    bool Decode(const std::string& bytes);

    // Reads `path` for `program`. On failure `error` is the player's text:
    // "Demo file not found: <path>", "This demo file appears to be for
    // '<other>'." or "Invalid demo file.".
    bool Load(const std::string& path, const std::string& program, std::string& error);
    bool Save(const std::string& path) const;
};

} // namespace Zorvin

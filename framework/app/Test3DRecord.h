#pragma once

// Test3DRecord: the outcome of the display's acceleration test, kept in the
// application's settings under the subkey "Test3D" so the test runs once
// per machine and driver. The record names the video-memory thresholds the
// test ran with and the display adapter it ran on; when any of them
// changes, or the record is of another version, the test runs again. The
// presenter that runs the test owns its record while it decides.

#include <array>
#include <cstdint>
#include <string>

namespace Zorvin {

class SettingsAccess;

class Test3DRecord {
public:
    static constexpr int CurrentVersion = 2;
    using Guid = std::array<uint8_t, 16>;

    // Reads every value; false (and the record left as it was) when a value
    // is missing, of another kind or of the wrong size.
    bool Read(SettingsAccess& settings);
    bool Write(SettingsAccess& settings) const;
    // Whether this record answers a test with these thresholds on this
    // adapter.
    bool Applies(int minVidMemory, int recVidMemory, const Guid& displayGuid) const;
    bool Supported() const { return failureReason.empty(); }

    // A stable 16-byte identifier of an adapter from its description.
    static Guid MakeDisplayGuid(const std::string& description);

    int version = 0;
    int minVidMemory = 0;
    int recVidMemory = 0;
    Guid displayGuid{};
    // Empty when acceleration may be offered.
    std::string failureReason;
};

} // namespace Zorvin

#include "framework/app/Test3DRecord.h"

#include "framework/app/SettingsStore.h"
#include "framework/app/SettingsAccess.h"

#include <vector>

namespace Zorvin {

bool Test3DRecord::Read(SettingsAccess& settings)
{
    Test3DRecord read;
    int kind = 0;
    std::vector<uint8_t> guid;
    if (!settings.ReadSettingInteger("Test3D\\Version", read.version) ||
        !settings.ReadSettingInteger("Test3D\\MinVidMemory", read.minVidMemory) ||
        !settings.ReadSettingInteger("Test3D\\RecVidMemory", read.recVidMemory) ||
        !settings.ReadSettingRaw("Test3D\\DisplayGUID", kind, guid) || kind != SettingsStore::KindBinary ||
        guid.size() != read.displayGuid.size() ||
        !settings.ReadSettingString("Test3D\\FailureReason", read.failureReason))
        return false;
    std::copy(guid.begin(), guid.end(), read.displayGuid.begin());
    *this = read;
    return true;
}

bool Test3DRecord::Write(SettingsAccess& settings) const
{
    bool ok = settings.WriteSettingInteger("Test3D\\Version", version);
    ok = settings.WriteSettingInteger("Test3D\\MinVidMemory", minVidMemory) && ok;
    ok = settings.WriteSettingInteger("Test3D\\RecVidMemory", recVidMemory) && ok;
    ok = settings.WriteSettingRaw("Test3D\\DisplayGUID", SettingsStore::KindBinary,
                             std::vector<uint8_t>(displayGuid.begin(), displayGuid.end())) &&
         ok;
    ok = settings.WriteSettingString("Test3D\\FailureReason", failureReason) && ok;
    return ok;
}

bool Test3DRecord::Applies(int minVid, int recVid, const Guid& guid) const
{
    return version == CurrentVersion && minVidMemory == minVid && recVidMemory == recVid && displayGuid == guid;
}

Test3DRecord::Guid Test3DRecord::MakeDisplayGuid(const std::string& description)
{
    // Two FNV-1a hashes with different seeds fill the 16 bytes.
    Guid guid{};
    uint64_t seeds[2] = {14695981039346656037ull, 0x9E3779B97F4A7C15ull};
    for (int half = 0; half < 2; ++half) {
        uint64_t h = seeds[half];
        for (unsigned char c : description) {
            h ^= c;
            h *= 1099511628211ull;
        }
        for (int i = 0; i < 8; ++i)
            guid[half * 8 + i] = static_cast<uint8_t>(h >> (8 * i));
    }
    return guid;
}

} // namespace Zorvin

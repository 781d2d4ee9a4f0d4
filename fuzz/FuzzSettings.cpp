// Feeds arbitrary text to the settings file reader. Whatever it accepts must
// be written back in a form that reads to the same contents, so a damaged
// file is repaired by the next save instead of growing worse.

#include "framework/app/SettingsStore.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    SettingsStore::Contents first = SettingsStore::Parse(text);
    std::string written = SettingsStore::Format(first);
    SettingsStore::Contents second = SettingsStore::Parse(written);
    for (const auto& [section, values] : first) {
        if (values.empty())
            continue;
        auto s = second.find(section);
        if (s == second.end() || s->second.size() != values.size())
            std::abort();
        for (const auto& [name, v] : values) {
            auto w = s->second.find(name);
            if (w == s->second.end() || w->second.bytes != v.bytes)
                std::abort();
        }
    }
    return 0;
}

#pragma once

// SettingsAccess: reading and writing the application's settings by name.
// The application base implements the three raw operations (where a demo
// records or plays back every result); the typed reads and writes are
// built on them here, so whoever keeps a record in the settings (the
// acceleration test, the options dialog) needs nothing else of the
// application.

#include <cstdint>
#include <string>
#include <vector>

namespace Zorvin {

class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;

    // Bytes of any kind (SettingsStore::Kind); all fail when the application
    // has no settings key.
    virtual bool WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes) = 0;
    virtual bool ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes) = 0;
    virtual bool EraseSetting(const std::string& name) = 0;

    bool WriteSettingString(const std::string& name, const std::string& text);
    bool WriteSettingInteger(const std::string& name, int value);
    bool WriteSettingBoolean(const std::string& name, bool value);
    // False, with the value untouched, when the setting is missing or of
    // another kind.
    bool ReadSettingInteger(const std::string& name, int& value);
    bool ReadSettingBoolean(const std::string& name, bool& value);
    bool ReadSettingString(const std::string& name, std::string& text);
};

} // namespace Zorvin

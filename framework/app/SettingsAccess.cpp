#include "framework/app/SettingsAccess.h"

#include "framework/app/SettingsStore.h"

namespace Zorvin {

bool SettingsAccess::WriteSettingString(const std::string& name, const std::string& text)
{
    return WriteSettingRaw(name, SettingsStore::KindString, std::vector<uint8_t>(text.begin(), text.end()));
}

bool SettingsAccess::WriteSettingInteger(const std::string& name, int value)
{
    uint32_t n = static_cast<uint32_t>(value);
    return WriteSettingRaw(name, SettingsStore::KindDword,
                           {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                            static_cast<uint8_t>(n >> 24)});
}

bool SettingsAccess::WriteSettingBoolean(const std::string& name, bool value)
{
    return WriteSettingInteger(name, value ? 1 : 0);
}

bool SettingsAccess::ReadSettingInteger(const std::string& name, int& value)
{
    int kind = 0;
    std::vector<uint8_t> bytes;
    if (!ReadSettingRaw(name, kind, bytes) || kind != SettingsStore::KindDword || bytes.size() != 4)
        return false;
    value = static_cast<int>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24));
    return true;
}

bool SettingsAccess::ReadSettingBoolean(const std::string& name, bool& value)
{
    int n = 0;
    if (!ReadSettingInteger(name, n))
        return false;
    value = n != 0;
    return true;
}

bool SettingsAccess::ReadSettingString(const std::string& name, std::string& text)
{
    int kind = 0;
    std::vector<uint8_t> bytes;
    if (!ReadSettingRaw(name, kind, bytes) || kind != SettingsStore::KindString)
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace Zorvin

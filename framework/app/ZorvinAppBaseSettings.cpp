// The application base's settings (kept in the settings store between
// runs) and its command line.

#include "framework/app/ZorvinAppBase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace Zorvin {

namespace {

// Volumes are stored in whole percent. The tiny bias keeps a value such as
// 0.29, which is 28.999... in binary, from losing a percent on every save.
int VolumeToPercent(double volume) { return static_cast<int>(volume * 100 + 1e-7); }

// Numbers of the files base + "<n>.dmo" in the current folder, ascending.
std::vector<int> FindNumberedDemos(const std::string& base)
{
    std::vector<int> numbers;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() <= base.size() + 4 || name.compare(0, base.size(), base) != 0 ||
            name.compare(name.size() - 4, 4, ".dmo") != 0)
            continue;
        std::string digits = name.substr(base.size(), name.size() - base.size() - 4);
        if (digits.empty() || digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        numbers.push_back(std::atoi(digits.c_str()));
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// A switch's number, clamped into int so that no sum or difference with it
// can overflow ("-playnum=-2147483648"); text that is no number gives 0.
int SwitchNumber(const std::string& value)
{
    long long n = std::strtoll(value.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(n, -1000000000, 1000000000));
}

} // namespace

SettingsStore* ZorvinAppBase::GetSettings()
{
    std::string key = registryKey;
    if (!settings || settingsKeyInUse != key) {
        std::string path;
        if (!key.empty())
            path = settingsPathOverride.empty() ? SettingsStore::DefaultPath(key) : settingsPathOverride;
        settings = std::make_unique<SettingsStore>(path);
        settingsKeyInUse = key;
    }
    return settings.get();
}

void ZorvinAppBase::LoadSettings()
{
    readFromRegistry = true;
    auto key = stringTable.find("RegistryKey");
    if (key != stringTable.end())
        registryKey = key->second;
    if (registryKey.empty())
        return;

    int value = 0;
    bool flag = false;
    if (ReadSettingInteger("MusicVolume", value))
        musicVolume = value / 100.0;
    if (ReadSettingInteger("SfxVolume", value))
        sfxVolume = value / 100.0;
    if (ReadSettingInteger("Muted", value)) {
        // Only the player's own mutes are stored; a damaged negative count
        // would make later unmutes misbehave.
        muteCount = std::max(value, 0) + autoMuteCount;
    }
    if (ReadSettingInteger("ScreenMode", value))
        display.SetWantsWindow(value == 0);
    int x = display.PreferredX();
    int y = display.PreferredY();
    if (ReadSettingInteger("PreferredX", value))
        x = value;
    if (ReadSettingInteger("PreferredY", value))
        y = value;
    display.SetPreferredPlace(x, y);
    if (ReadSettingBoolean("CustomCursors", flag))
        SetCustomCursorsEnabled(flag);
    if (ReadSettingBoolean("WaitForVSync", flag))
        frameClock.SetWaitForVSync(flag);
    if (ReadSettingInteger("InProgress", value))
        lastShutdownWasGraceful = value == 0;
    if (!isScreenSaver)
        WriteSettingInteger("InProgress", 1);
}

void ZorvinAppBase::SaveSettings()
{
    if (registryKey.empty())
        return;
    // One rewrite of the file for the whole table.
    SettingsStore* store = GetSettings();
    store->BeginBatch();
    WriteSettingInteger("MusicVolume", VolumeToPercent(musicVolume));
    WriteSettingInteger("SfxVolume", VolumeToPercent(sfxVolume));
    WriteSettingInteger("Muted", muteCount - autoMuteCount > 0 ? 1 : 0);
    WriteSettingInteger("ScreenMode", display.WantsWindow() ? 0 : 1);
    WriteSettingInteger("PreferredX", display.PreferredX());
    WriteSettingInteger("PreferredY", display.PreferredY());
    WriteSettingBoolean("CustomCursors", customCursorsEnabled);
    WriteSettingInteger("InProgress", 0);
    WriteSettingBoolean("WaitForVSync", frameClock.WaitsForVSync());
    store->EndBatch();
}

void ZorvinAppBase::ParseCommandLine()
{
    commandLineParsed = true;
    const std::string& text = commandLine;
    size_t pos = 0;
    if (!text.empty() && text[0] == '"') {
        size_t close = text.find('"', 1);
        if (close == std::string::npos)
            return;
        pos = close + 1;
    }
    size_t space = text.find(' ', pos);
    if (space == std::string::npos)
        return;
    SplitCommandLine(text.substr(space + 1));
}

void ZorvinAppBase::SplitCommandLine(const std::string& text)
{
    std::string name, value;
    bool inQuote = false;
    bool inValue = false;
    bool tokenStarted = false;
    auto endToken = [&] {
        HandleCommandLineParam(name, value);
        name.clear();
        value.clear();
        inValue = false;
        tokenStarted = false;
    };
    for (char c : text) {
        if (shutdown)
            return; // a bad switch already ended the program
        if (c == '"') {
            inQuote = !inQuote;
            tokenStarted = true;
            if (!inQuote)
                endToken();
            continue;
        }
        if (c == ' ' && !inQuote) {
            endToken();
            continue;
        }
        if (c == '=') {
            inValue = true;
            tokenStarted = true;
            continue;
        }
        (inValue ? value : name) += c;
        tokenStarted = true;
    }
    // Trailing blanks after the last switch are not a switch of their own.
    if (tokenStarted && !shutdown)
        endToken();
}

void ZorvinAppBase::HandleCommandLineParam(const std::string& name, const std::string& value)
{
    const std::string base = "zorvinapp";
    if (name == "-play") {
        DemoRequest().SetMode(DemoSession::Mode::Playing);
    } else if (name == "-record") {
        DemoRequest().SetMode(DemoSession::Mode::Recording);
    } else if (name == "-demofile") {
        DemoRequest().SetPath(value);
    } else if (name == "-recnum") {
        int n = SwitchNumber(value);
        if (n <= 0)
            n = 5;
        std::vector<int> numbers = FindNumberedDemos(base);
        if (static_cast<int>(numbers.size()) >= n) {
            std::error_code ec;
            std::filesystem::remove(base + std::to_string(numbers.front()) + ".dmo", ec);
        }
        int next = numbers.empty() ? 1 : numbers.back() + 1;
        DemoRequest().SetPath(base + std::to_string(next) + ".dmo");
        DemoRequest().SetMode(DemoSession::Mode::Recording);
    } else if (name == "-playnum") {
        int k = std::max(SwitchNumber(value) - 1, 0);
        std::vector<int> numbers = FindNumberedDemos(base);
        if (!numbers.empty()) {
            int index = std::max(static_cast<int>(numbers.size()) - 1 - k, 0);
            DemoRequest().SetPath(base + std::to_string(numbers[index]) + ".dmo");
        }
        DemoRequest().SetMode(DemoSession::Mode::Playing);
    } else if (name == "-screensaver") {
        isScreenSaver = true;
    } else if (name == "-crash") {
        // Reserved for the crash-report facility.
    } else {
        // A usage error, not a normal end: the exit code says so.
        ShowFatalError("Invalid Command Line Param: " + name);
        ExitNow(2);
    }
}

} // namespace Zorvin

#pragma once

// SettingsStore: the per-user settings of the program, kept as named values
// in one text file. Values are 32-bit integers ("DWORD"), strings or raw
// bytes; a value name "Sub\Name" puts the value "Name" into the subkey
// "Sub". Every change rewrites the whole file through a temporary file and
// a rename, so a crash or a full disk never leaves it half-written; a
// damaged file is read as far as it makes sense and never stops the game.
// A store made with an empty path is disabled: every read and write fails
// and nothing is touched. The application base owns its store.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace Zorvin {

class SettingsStore {
public:
    // The value kinds, numbered as the registry numbers them.
    enum Kind { KindString = 1, KindBinary = 3, KindDword = 4 };

    // Largest settings file that is read at all; anything longer is damaged.
    static constexpr size_t MaxFileSize = 1 << 20;

    explicit SettingsStore(std::string path = std::string());

    // $XDG_CONFIG_HOME (or ~/.config) + "/" + key + "/settings.ini", with
    // the key's backslashes turned into folder separators. Empty when the
    // key is empty or no home folder is known.
    static std::string DefaultPath(const std::string& registryKey);

    bool IsEnabled() const { return !path.empty(); }
    const std::string& GetPath() const { return path; }

    bool WriteString(const std::string& name, const std::string& text);
    bool WriteInteger(const std::string& name, int value);
    bool WriteBoolean(const std::string& name, bool value);
    bool WriteRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes);
    bool ReadRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes);
    // Succeed only for an existing DWORD value.
    bool ReadInteger(const std::string& name, int& value);
    bool ReadBoolean(const std::string& name, bool& value);
    bool ReadString(const std::string& name, std::string& text);
    bool Erase(const std::string& name);

    // Groups many writes into one rewrite of the file (saving all settings
    // at once). Reads inside a batch see the batched values. EndBatch
    // returns whether the file was written.
    void BeginBatch();
    bool EndBatch();

    struct Value {
        int kind = KindDword;
        std::vector<uint8_t> bytes;
    };
    // Subkey path ("" for the top) -> value name -> value.
    using Contents = std::map<std::string, std::map<std::string, Value>>;

    // The file format, exposed for tests and the fuzzer.
    static Contents Parse(const std::string& text);
    static std::string Format(const Contents& contents);

private:
    bool Load(Contents& contents) const;
    bool Save(const Contents& contents) const;
    static void SplitName(const std::string& name, std::string& subkey, std::string& valueName);

    // Loads the contents to change (the batch's copy inside a batch).
    bool Modify(Contents*& contents);
    bool Commit();

    std::string path;
    mutable std::recursive_mutex lock;
    mutable bool staleTemporariesRemoved = false;
    int batchDepth = 0;
    bool batchLoaded = false;
    bool batchDirty = false;
    Contents batchContents;
    Contents scratch;
};

} // namespace Zorvin

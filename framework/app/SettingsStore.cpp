// Sections:
//   - quoting and unquoting values
//   - the file's path and value names
//   - parsing and formatting the file
//   - loading, saving and batches of changes
//   - typed writes
//   - typed reads
//   - erasing a value

#include "framework/app/SettingsStore.h"

#include "framework/core/FileUtil.h"
#include "framework/core/HexDigit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace Zorvin {

namespace {

bool NeedsEscape(unsigned char c) { return c < 0x20 || c == 0x7F || c == '"' || c == '\\'; }

std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (NeedsEscape(c)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// Reads a quoted string starting at pos; on success pos is just past the
// closing quote.
bool Unquote(const std::string& line, size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    ++pos;
    out.clear();
    while (pos < line.size()) {
        char c = line[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= line.size())
            return false;
        char e = line[pos++];
        if (e == 'x') {
            if (pos + 2 > line.size())
                return false;
            int h = HexDigit(line[pos]), l = HexDigit(line[pos + 1]);
            if (h < 0 || l < 0)
                return false;
            out += static_cast<char>(h * 16 + l);
            pos += 2;
        } else {
            out += e;
        }
    }
    return false;
}

} // namespace

SettingsStore::SettingsStore(std::string filePath) : path(std::move(filePath)) {}

std::string SettingsStore::DefaultPath(const std::string& registryKey)
{
    std::string key = registryKey;
    while (!key.empty() && (key.back() == '\\' || key.back() == '/'))
        key.pop_back();
    if (key.empty())
        return std::string();
    for (char& c : key)
        if (c == '\\')
            c = '/';
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == 0)
            return std::string();
        base = std::string(home) + "/.config";
    }
    return base + "/" + key + "/settings.ini";
}

void SettingsStore::SplitName(const std::string& name, std::string& subkey, std::string& valueName)
{
    size_t slash = name.rfind('\\');
    if (slash == std::string::npos) {
        subkey.clear();
        valueName = name;
    } else {
        subkey = name.substr(0, slash);
        valueName = name.substr(slash + 1);
    }
}

SettingsStore::Contents SettingsStore::Parse(const std::string& text)
{
    Contents contents;
    std::string section;
    bool skipSection = false; // under a damaged header: its values are ignored
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            size_t pos = 1;
            std::string name;
            skipSection = !(Unquote(line, pos, name) && pos < line.size() && line[pos] == ']');
            if (!skipSection)
                section = name;
            continue;
        }
        if (skipSection)
            continue;
        size_t pos = 0;
        std::string name;
        if (!Unquote(line, pos, name) || pos >= line.size() || line[pos] != '=')
            continue;
        std::string rest = line.substr(pos + 1);
        Value v;
        if (rest.rfind("dword:", 0) == 0) {
            std::string digits = rest.substr(6);
            if (digits.size() != 8)
                continue;
            uint32_t n = 0;
            bool ok = true;
            for (char c : digits) {
                int d = HexDigit(c);
                if (d < 0) {
                    ok = false;
                    break;
                }
                n = n * 16 + static_cast<uint32_t>(d);
            }
            if (!ok)
                continue;
            v.kind = KindDword;
            for (int i = 0; i < 4; ++i)
                v.bytes.push_back(static_cast<uint8_t>(n >> (8 * i)));
        } else if (rest.rfind("hex(", 0) == 0 || rest.rfind("hex:", 0) == 0) {
            size_t p = 3;
            int kind = KindBinary;
            if (rest[3] == '(') {
                size_t close = rest.find(')', 4);
                if (close == std::string::npos || close - 4 > 8)
                    continue;
                kind = std::atoi(rest.substr(4, close - 4).c_str());
                p = close + 1;
            }
            if (p >= rest.size() || rest[p] != ':')
                continue;
            ++p;
            bool ok = true;
            while (p < rest.size()) {
                if (p + 2 > rest.size()) {
                    ok = false;
                    break;
                }
                int h = HexDigit(rest[p]), l = HexDigit(rest[p + 1]);
                if (h < 0 || l < 0) {
                    ok = false;
                    break;
                }
                v.bytes.push_back(static_cast<uint8_t>(h * 16 + l));
                p += 2;
                if (p < rest.size()) {
                    if (rest[p] != ',') {
                        ok = false;
                        break;
                    }
                    ++p;
                }
            }
            if (!ok)
                continue;
            v.kind = kind;
        } else {
            size_t q = 0;
            std::string s;
            if (!Unquote(rest, q, s) || q != rest.size())
                continue;
            v.kind = KindString;
            v.bytes.assign(s.begin(), s.end());
        }
        contents[section][name] = std::move(v);
    }
    return contents;
}

std::string SettingsStore::Format(const Contents& contents)
{
    std::string out = "; Settings of this program. Written by the program; edit with care.\n";
    for (const auto& [section, values] : contents) {
        if (values.empty())
            continue;
        if (!section.empty())
            out += "\n[" + Quote(section) + "]\n";
        for (const auto& [name, v] : values) {
            out += Quote(name) + "=";
            if (v.kind == KindDword && v.bytes.size() == 4) {
                uint32_t n = v.bytes[0] | (v.bytes[1] << 8) | (v.bytes[2] << 16) | (uint32_t(v.bytes[3]) << 24);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08X", n);
                out += buf;
            } else if (v.kind == KindString) {
                out += Quote(std::string(v.bytes.begin(), v.bytes.end()));
            } else {
                char buf[24];
                std::snprintf(buf, sizeof buf, v.kind == KindBinary ? "hex:" : "hex(%d):", v.kind);
                out += buf;
                for (size_t i = 0; i < v.bytes.size(); ++i) {
                    std::snprintf(buf, sizeof buf, i ? ",%02X" : "%02X", v.bytes[i]);
                    out += buf;
                }
            }
            out += "\n";
        }
    }
    return out;
}

bool SettingsStore::Load(Contents& contents) const
{
    contents.clear();
    std::string text;
    // A missing file is an empty store; one that exists but cannot be read
    // (no permission) must not be replaced by a rewrite. An oversized file
    // is damaged: its first part is used and the next write trims it.
    if (!FileUtil::ReadFile(path, text, MaxFileSize))
        return !FileUtil::Exists(path);
    contents = Parse(text);
    return true;
}

bool SettingsStore::Save(const Contents& contents) const
{
    // A file the reader would cut short is never written: it would hide
    // every value after the cut.
    std::string text = Format(contents);
    if (text.size() > MaxFileSize)
        return false;
    if (!staleTemporariesRemoved) {
        // Left by a run that died in the middle of a write.
        FileUtil::RemoveStaleTemporaries(path);
        staleTemporariesRemoved = true;
    }
    return FileUtil::WriteFileAtomic(path, text);
}

bool SettingsStore::WriteRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes)
{
    if (!IsEnabled())
        return false;
    std::string subkey, valueName;
    SplitName(name, subkey, valueName);
    std::lock_guard<std::recursive_mutex> guard(lock);
    Contents* contents = nullptr;
    if (!Modify(contents))
        return false;
    auto& values = (*contents)[subkey];
    auto old = values.find(valueName);
    std::optional<Value> previous;
    if (old != values.end())
        previous = old->second;
    Value& v = values[valueName];
    v.kind = kind;
    v.bytes = bytes;
    // A value that would make the file longer than the reader accepts is
    // refused here, so that a batch keeps its other changes.
    if (Format(*contents).size() > MaxFileSize) {
        if (previous)
            v = std::move(*previous);
        else
            values.erase(valueName);
        if (values.empty())
            contents->erase(subkey);
        if (batchDepth == 0)
            scratch.clear();
        return false;
    }
    return Commit();
}

bool SettingsStore::Modify(Contents*& contents)
{
    // A file that exists but cannot be read is not overwritten with only
    // the new values.
    if (batchDepth == 0) {
        contents = &scratch;
        return Load(scratch);
    }
    if (!batchLoaded) {
        if (!Load(batchContents))
            return false;
        batchLoaded = true;
    }
    contents = &batchContents;
    return true;
}

bool SettingsStore::Commit()
{
    if (batchDepth > 0) {
        batchDirty = true;
        return true;
    }
    bool ok = Save(scratch);
    scratch.clear();
    return ok;
}

void SettingsStore::BeginBatch()
{
    lock.lock();
    if (batchDepth++ == 0) {
        batchLoaded = false;
        batchDirty = false;
        batchContents.clear();
    }
}

bool SettingsStore::EndBatch()
{
    bool ok = true;
    if (batchDepth > 0 && --batchDepth == 0) {
        ok = batchDirty && Save(batchContents);
        batchContents.clear();
        batchLoaded = false;
        batchDirty = false;
    }
    lock.unlock();
    return ok;
}

bool SettingsStore::WriteString(const std::string& name, const std::string& text)
{
    return WriteRaw(name, KindString, std::vector<uint8_t>(text.begin(), text.end()));
}

bool SettingsStore::WriteInteger(const std::string& name, int value)
{
    uint32_t n = static_cast<uint32_t>(value);
    return WriteRaw(name, KindDword,
                    {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                     static_cast<uint8_t>(n >> 24)});
}

bool SettingsStore::WriteBoolean(const std::string& name, bool value) { return WriteInteger(name, value ? 1 : 0); }

bool SettingsStore::ReadRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes)
{
    if (!IsEnabled())
        return false;
    std::string subkey, valueName;
    SplitName(name, subkey, valueName);
    std::lock_guard<std::recursive_mutex> guard(lock);
    Contents loaded;
    if (batchDepth == 0 && !Load(loaded))
        return false;
    const Contents& contents = batchDepth > 0 && batchLoaded ? batchContents : loaded;
    if (batchDepth > 0 && !batchLoaded && !Load(loaded))
        return false;
    auto s = contents.find(subkey);
    if (s == contents.end())
        return false;
    auto v = s->second.find(valueName);
    if (v == s->second.end())
        return false;
    kind = v->second.kind;
    bytes = v->second.bytes;
    return true;
}

bool SettingsStore::ReadInteger(const std::string& name, int& value)
{
    int kind = 0;
    std::vector<uint8_t> bytes;
    if (!ReadRaw(name, kind, bytes) || kind != KindDword || bytes.size() != 4)
        return false;
    value = static_cast<int>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24));
    return true;
}

bool SettingsStore::ReadBoolean(const std::string& name, bool& value)
{
    int n = 0;
    if (!ReadInteger(name, n))
        return false;
    value = n != 0;
    return true;
}

bool SettingsStore::ReadString(const std::string& name, std::string& text)
{
    int kind = 0;
    std::vector<uint8_t> bytes;
    if (!ReadRaw(name, kind, bytes) || kind != KindString)
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

bool SettingsStore::Erase(const std::string& name)
{
    if (!IsEnabled())
        return false;
    std::string subkey, valueName;
    SplitName(name, subkey, valueName);
    std::lock_guard<std::recursive_mutex> guard(lock);
    Contents* contents = nullptr;
    if (!Modify(contents))
        return false;
    auto s = contents->find(subkey);
    if (s == contents->end() || s->second.erase(valueName) == 0)
        return false;
    return Commit();
}

} // namespace Zorvin

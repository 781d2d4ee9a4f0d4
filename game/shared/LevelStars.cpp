#include "game/shared/LevelStars.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "framework/core/FileUtil.h"

namespace Zorvin {

namespace {

const char* const kMagic = "korvelt-stars";
// Far more than 110 lines of at most 40 bytes: anything larger is not ours.
constexpr size_t kMaxFileSize = 64 * 1024;

// A whole decimal number from `least` to `most`, nothing else around it.
bool ParseInt(const std::string& text, long least, long most, int& out)
{
    if (text.empty() || text.size() > 10)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno != 0 || v < least || v > most)
        return false;
    out = static_cast<int>(v);
    return true;
}

// Splits a line at spaces and tabs.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

} // namespace

bool LevelStars::ParseLine(const std::string& line, Entry& entry)
{
    std::vector<std::string> w = Words(line);
    int mode = 0;
    if (w.size() != 4 || !ParseInt(w[0], 0, 2, mode) || PlayModeOf(mode) == PlayMode::Editor)
        return false;
    entry.mode = PlayModeOf(mode);
    return ParseInt(w[1], 1, kMaxLevel, entry.level) && ParseInt(w[2], 0, kMaxScore, entry.twoStars) &&
           ParseInt(w[3], 0, kMaxScore, entry.threeStars) && entry.twoStars <= entry.threeStars;
}

bool LevelStars::Parse(const std::string& text)
{
    table.clear();
    if (text.size() > kMaxFileSize)
        return false;
    std::map<std::pair<int, int>, Entry> read;
    std::istringstream in(text);
    std::string line;
    bool header = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> w = Words(line);
        if (w.empty() || w[0][0] == '#')
            continue;
        if (!header) {
            // The first line names the format and its version; a later
            // version may mean other columns, so it is not guessed at.
            if (w.size() != 2 || w[0] != kMagic || w[1] != std::to_string(kVersion))
                return false;
            header = true;
            continue;
        }
        Entry e;
        if (!ParseLine(line, e) || !read.emplace(std::make_pair(StoredMode(e.mode), e.level), e).second)
            return false;
    }
    if (!header)
        return false;
    table = std::move(read);
    return true;
}

bool LevelStars::Load(const std::string& path)
{
    std::string text;
    table.clear();
    return FileUtil::ReadFile(path, text, kMaxFileSize + 1) && Parse(text);
}

std::string LevelStars::Format(const std::vector<Entry>& entries)
{
    std::string out = std::string(kMagic) + " " + std::to_string(kVersion) + "\n";
    out += "# mode (0 drag, 2 click), level, points for two stars, points for three stars\n";
    for (const Entry& e : entries) {
        out += std::to_string(StoredMode(e.mode)) + " " + std::to_string(e.level) + " " + std::to_string(e.twoStars) +
               " " + std::to_string(e.threeStars) + "\n";
    }
    return out;
}

std::vector<LevelStars::Entry> LevelStars::Entries() const
{
    std::vector<Entry> entries;
    for (const auto& [key, e] : table)
        entries.push_back(e);
    return entries;
}

bool LevelStars::Has(PlayMode mode, int level) const { return table.count({StoredMode(mode), level}) != 0; }

int LevelStars::StarsFor(PlayMode mode, int level, int points) const
{
    auto it = table.find({StoredMode(mode), level});
    if (it == table.end())
        return 0;
    const Entry& e = it->second;
    return points >= e.threeStars ? 3 : points >= e.twoStars ? 2 : 1;
}

} // namespace Zorvin

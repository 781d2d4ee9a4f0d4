#include "game/app/profiles/StatisticsStore.h"

#include <cstring>

#include "game/app/profiles/ProfileBuffer.h"

namespace Zorvin {

namespace {

// Far more than the largest file the game can write (about 2 KB a player).
constexpr size_t kMaxFileSize = 4u << 20;

} // namespace

StatisticsStore::StatisticsStore(std::string dataFolder) : file(std::move(dataFolder), kFileName)
{
    file.SetDamageStartsAfresh();
}

std::string StatisticsStore::Encode() const
{
    ProfileBuffer b;
    std::string bytes(kMagic);
    b.WriteInt32(kVersion);
    b.WriteInt32(static_cast<int32_t>(players.size()));
    for (const auto& [name, statistics] : players) {
        b.WriteString(name);
        statistics.Write(b);
    }
    return bytes + b.Bytes();
}

bool StatisticsStore::Decode(const std::string& bytes)
{
    players.clear();
    size_t magicSize = std::strlen(kMagic);
    if (bytes.compare(0, magicSize, kMagic) != 0)
        return false;
    ProfileBuffer b(bytes.substr(magicSize));
    int32_t version = 0;
    int32_t count = 0;
    if (!b.ReadInt32(version) || version != kVersion || !b.ReadInt32(count) || count < 0 || count > kMaxPlayers)
        return false;
    for (int i = 0; i < count; ++i) {
        std::string name;
        PlayerStatistics statistics;
        if (!b.ReadString(name) || players.count(name) != 0 || !statistics.Read(b)) {
            players.clear();
            return false;
        }
        players.emplace(std::move(name), std::move(statistics));
    }
    if (!b.AtEnd()) {
        players.clear();
        return false;
    }
    return true;
}

void StatisticsStore::Load()
{
    players.clear();
    std::string bytes;
    if (!file.Read(bytes, kMaxFileSize) || Decode(bytes))
        return;
    // Damaged: a copy goes aside, then the empty statistics replace it, so
    // the next start does not set the same damage aside again.
    if (file.SetAsideDamaged())
        Save();
}

bool StatisticsStore::Save() { return file.Write(Encode()); }

const PlayerStatistics* StatisticsStore::Find(const std::string& playerName) const
{
    auto it = players.find(playerName);
    return it != players.end() ? &it->second : nullptr;
}

void StatisticsStore::PlayerRenamed(const std::string& oldName, const std::string& newName)
{
    if (oldName == newName)
        return;
    // Figures kept under the new name (of a player lost with a damaged
    // players file) are not the renamed player's.
    bool changed = players.erase(newName) != 0;
    auto it = players.find(oldName);
    if (it != players.end()) {
        PlayerStatistics moved = std::move(it->second);
        players.erase(it);
        players[newName] = std::move(moved);
        changed = true;
    }
    if (changed)
        Save();
}

void StatisticsStore::PlayerDeleted(const std::string& name)
{
    if (players.erase(name) != 0)
        Save();
}

} // namespace Zorvin

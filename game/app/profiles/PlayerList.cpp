#include "game/app/profiles/PlayerList.h"

#include "game/app/profiles/ProfileBuffer.h"
#include "game/app/profiles/SavedGameHooks.h"
#include "game/board/Deck.h"

namespace Zorvin {

namespace {

// Far more than the game ever writes; a bigger file is read only this far
// (its whole records are kept), so a hostile file cannot fill the memory.
constexpr size_t kMaxFileSize = 4u << 20;

void WriteRecord(ProfileBuffer& b, const PlayerProfile& p)
{
    b.WriteString(p.name);
    b.WriteInt32(p.levelMode0);
    b.WriteInt32(p.spareMode0);
    b.WriteInt32(p.shufflesLeft);
    b.WriteInt32(p.scoreMode0);
    b.WriteInt32(p.levelMode2);
    b.WriteInt32(p.spareMode2);
    b.WriteInt32(p.scoreMode2);
    b.WriteBool(p.deckHintShown);
    b.WriteBool(p.showHowToPlay);
    b.WriteInt32(p.placeCount);
    b.WriteBool(p.showInstructions);
    b.WriteBool(p.jokerHintShown);
}

// Brings v into [lo, hi]; true when it had to.
bool Clamp(int& v, int lo, int hi)
{
    int was = v;
    v = v < lo ? lo : v > hi ? hi : v;
    return v != was;
}

// Numbers the game never writes are brought to the nearest it could have:
// levels from 1 to one past the last (a finished campaign), counts and
// scores from 0. True when anything had to change.
bool ClampToRanges(PlayerProfile& p)
{
    constexpr int kNoLimit = 0x7FFFFFFF;
    bool changed = Clamp(p.levelMode0, 1, PlayerProfile::kLastLevelMode0 + 1);
    changed |= Clamp(p.levelMode2, 1, PlayerProfile::kLastLevelMode2 + 1);
    changed |= Clamp(p.scoreMode0, 0, kNoLimit);
    changed |= Clamp(p.scoreMode2, 0, kNoLimit);
    changed |= Clamp(p.shufflesLeft, 0, PlayerProfile::kMaxShufflesLeft);
    changed |= Clamp(p.placeCount, 0, Deck::kMaxPlaces);
    return changed;
}

// False when the record is cut off; p is then partly filled and dropped.
bool ReadRecord(ProfileBuffer& b, PlayerProfile& p)
{
    int32_t i[8];
    bool whole = b.ReadString(p.name) && b.ReadInt32(i[0]) && b.ReadInt32(i[1]) && b.ReadInt32(i[2])
        && b.ReadInt32(i[3]) && b.ReadInt32(i[4]) && b.ReadInt32(i[5]) && b.ReadInt32(i[6])
        && b.ReadBool(p.deckHintShown) && b.ReadBool(p.showHowToPlay) && b.ReadInt32(i[7])
        && b.ReadBool(p.showInstructions) && b.ReadBool(p.jokerHintShown);
    if (!whole)
        return false;
    p.levelMode0 = i[0];
    p.spareMode0 = i[1];
    p.shufflesLeft = i[2];
    p.scoreMode0 = i[3];
    p.levelMode2 = i[4];
    p.spareMode2 = i[5];
    p.scoreMode2 = i[6];
    p.placeCount = i[7];
    return true;
}

} // namespace

std::string PlayerList::Encode() const
{
    ProfileBuffer b;
    b.WriteInt32(FormatMark);
    b.WriteInt32(currentPlayer);
    for (const auto& p : profiles)
        WriteRecord(b, *p);
    return b.Bytes();
}

bool PlayerList::Decode(const std::string& bytes, bool* repaired)
{
    profiles.clear();
    currentPlayer = -1;
    bool damaged = false;
    if (repaired)
        *repaired = false;
    ProfileBuffer b(bytes);
    int32_t mark = 0;
    if (!b.ReadInt32(mark) || mark != FormatMark)
        return false;
    int32_t stored = -1;
    damaged |= !b.ReadInt32(stored);
    while (!b.AtEnd()) {
        // The game never writes more than nine: what follows is damage
        // (junk appended to the file), not players.
        if (Count() == MaxPlayers) {
            damaged = true;
            break;
        }
        auto p = std::make_unique<PlayerProfile>();
        if (!ReadRecord(b, *p)) {
            damaged = true; // a cut-off last record; the whole ones before it stay
            break;
        }
        damaged |= ClampToRanges(*p);
        profiles.push_back(std::move(p));
    }
    // The rest of the game reads the current profile whenever there is one,
    // so the index must name a real profile, or none when the list is empty.
    // -1 with players is written while the change-player dialog has just
    // deleted the current one; any other index outside the list is damage.
    damaged |= stored < -1 || stored >= Count();
    if (profiles.empty())
        currentPlayer = -1;
    else if (stored < 0)
        currentPlayer = 0;
    else
        currentPlayer = stored < Count() ? stored : Count() - 1;
    if (repaired)
        *repaired = damaged;
    return true;
}

void PlayerList::LoadPlayers()
{
    profiles.clear();
    currentPlayer = -1;
    std::string bytes;
    if (!file.Read(bytes, kMaxFileSize))
        return;
    bool repaired = false;
    if (Decode(bytes, &repaired) && !repaired)
        return;
    // Damaged, or not a players file at all: a copy of it goes aside before
    // the repaired list (or an empty one) is written over it.
    if (file.SetAsideDamaged())
        SavePlayers();
}

bool PlayerList::SavePlayers() { return file.Write(Encode()); }

bool PlayerList::RetryPendingWrite() { return !file.WritePending() || SavePlayers(); }

PlayerProfile* PlayerList::CurrentProfile()
{
    if (currentPlayer < 0 || currentPlayer >= Count())
        return nullptr;
    return profiles[static_cast<size_t>(currentPlayer)].get();
}

bool PlayerList::PlayerNameExists(const std::string& name) const
{
    for (const auto& p : profiles)
        if (p->name == name)
            return true;
    return false;
}

PlayerProfile& PlayerList::AddPlayer(const std::string& name)
{
    auto p = std::make_unique<PlayerProfile>();
    p->name = name;
    profiles.push_back(std::move(p));
    return *profiles.back();
}

bool PlayerList::RenamePlayer(int index, const std::string& newName)
{
    if (index < 0 || index >= Count() || PlayerNameExists(newName))
        return false;
    PlayerProfile& p = At(index);
    for (SavedGameHooks* follower : {savedGames, statistics})
        if (follower)
            follower->PlayerRenamed(p.name, newName);
    p.name = newName;
    return true;
}

bool PlayerList::DeletePlayer(int index)
{
    if (index < 0 || index >= Count())
        return false;
    for (SavedGameHooks* follower : {savedGames, statistics})
        if (follower)
            follower->PlayerDeleted(At(index).name);
    profiles.erase(profiles.begin() + index);
    if (currentPlayer >= index)
        --currentPlayer;
    return true;
}

} // namespace Zorvin

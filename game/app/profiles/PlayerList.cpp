#include "game/app/profiles/PlayerList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/app/profiles/ProfileBuffer.h"
#include "game/app/profiles/SavedGameHooks.h"

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

bool PlayerList::Decode(const std::string& bytes)
{
    profiles.clear();
    currentPlayer = -1;
    ProfileBuffer b(bytes);
    int32_t mark = 0;
    if (!b.ReadInt32(mark) || mark != FormatMark)
        return false;
    int32_t stored = -1;
    b.ReadInt32(stored);
    while (!b.AtEnd()) {
        auto p = std::make_unique<PlayerProfile>();
        if (!ReadRecord(b, *p))
            break; // a cut-off last record; the whole ones before it stay
        profiles.push_back(std::move(p));
    }
    // The rest of the game reads the current profile whenever there is one,
    // so the index must name a real profile, or none when the list is empty.
    if (profiles.empty())
        currentPlayer = -1;
    else if (stored < 0)
        currentPlayer = 0;
    else
        currentPlayer = stored < Count() ? stored : Count() - 1;
    return true;
}

void PlayerList::LoadPlayers()
{
    profiles.clear();
    currentPlayer = -1;
    std::string path = FilePath();
    if (!files->Exists(path))
        return;
    std::string bytes;
    if (!files->ReadFile(path, bytes, kMaxFileSize))
        return;
    if (Decode(bytes))
        return;
    // Not a players file (or one of a format we do not know): keep it for
    // whoever wants to look at it, and start with no players.
    std::string aside = path + ".bad";
    if (!files->Rename(path, aside))
        std::fprintf(stderr, "Korvelt: cannot move the damaged %s aside\n", path.c_str());
    else
        std::fprintf(stderr, "Korvelt: %s was damaged; kept as %s\n", path.c_str(), aside.c_str());
}

bool PlayerList::SavePlayers() const
{
    std::string path = FilePath();
    if (files->WriteFile(path, Encode()))
        return true;
    std::fprintf(stderr, "Korvelt: cannot write %s; the previous file stays\n", path.c_str());
    return false;
}

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
    if (savedGames)
        savedGames->PlayerRenamed(p.name, newName);
    p.name = newName;
    return true;
}

bool PlayerList::DeletePlayer(int index)
{
    if (index < 0 || index >= Count())
        return false;
    if (savedGames)
        savedGames->PlayerDeleted(At(index).name);
    profiles.erase(profiles.begin() + index);
    if (currentPlayer >= index)
        --currentPlayer;
    return true;
}

} // namespace Zorvin

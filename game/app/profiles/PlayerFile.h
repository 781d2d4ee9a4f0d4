#pragma once

// PlayerFile: one of a player's whole-file records ("players.dat",
// "highscores.dat") and the rules that keep it from being lost. A file that
// cannot be read is never written over in this run; a damaged one keeps a
// numbered copy of itself ("<name>.bad", ".bad2", ...) before anything
// replaces it, and is left alone if no copy can be made; a write that fails
// is remembered so the owner can try again. Every one of these reaches the
// player through FileNotices. PlayerList and HighScoreTable each own one and
// keep their formats to themselves.

#include <string>

#include "framework/core/FileAccess.h"
#include "game/app/profiles/FileNotices.h"

namespace Zorvin {

class PlayerFile {
public:
    PlayerFile(std::string dataFolder, std::string fileName);

    std::string Path() const { return folder + name; }
    // Where the file is read and written, and where the player is told (not
    // owned; the notices may be null).
    void SetFileAccess(FileAccess& access) { files = &access; }
    void SetNotices(FileNotices* sink) { notices = sink; }
    // The owner keeps nothing of a damaged file (it starts afresh): the
    // player is told so instead of that what survived was kept.
    void SetDamageStartsAfresh() { damageStartsAfresh = true; }

    // Removes what crashed writes left behind, then reads the whole file.
    // False when it is missing or cannot be read (then it is kept from
    // being written over, and the player told).
    bool Read(std::string& bytes, size_t maxSize);
    // The bytes just read were damaged: sets a copy aside and tells the
    // player. True when the repaired contents may now replace the file.
    bool SetAsideDamaged();
    // Replaces the file atomically; false when refused (the file is kept)
    // or when the write failed (told once, until a write succeeds again).
    bool Write(const std::string& bytes);
    bool WritePending() const { return writePending; }

private:
    void Notify(FileNotice notice);

    std::string folder;
    std::string name;
    FileAccess* files = &FileAccess::Disk();
    FileNotices* notices = nullptr;
    // The file could not be read or set aside: this run never replaces it.
    bool keepFile = false;
    bool writePending = false;
    bool damageStartsAfresh = false;
};

} // namespace Zorvin

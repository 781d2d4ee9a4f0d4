#pragma once

// FileNotices: what went wrong with a player's files, in words for the
// player. The players list, the high-score table and the saved games add a
// notice when a file cannot be read, turns out damaged and is set aside, or
// cannot be written; the application shows each one on screen at a moment
// the player sees it (once the main menu is up, or right after the failed
// write) and takes it out as it does. The texts live here, one home for
// all of them, and always name the folder involved.

#include <deque>
#include <string>

namespace Zorvin {

struct FileNotice {
    std::string header; // Windows-1251, like every text on screen
    std::string text;
    bool operator==(const FileNotice&) const = default;
};

class FileNotices {
public:
    // A notice already waiting is not added twice.
    void Add(FileNotice notice);
    bool Empty() const { return waiting.empty(); }
    // The oldest waiting notice, removed from the queue.
    FileNotice Take();

    // The texts. `folder` is the data folder as the file system spells it
    // (UTF-8), `file` a file name in it, `copy` the name of a copy set aside.
    static FileNotice Unreadable(const std::string& folder, const std::string& file);
    static FileNotice Damaged(const std::string& folder, const std::string& file, const std::string& copy);
    static FileNotice DamagedNotKept(const std::string& folder, const std::string& file);
    // A damaged file that nothing is kept of (the statistics start afresh).
    static FileNotice DamagedStartedAfresh(const std::string& folder, const std::string& file,
                                           const std::string& copy);
    static FileNotice WriteFailed(const std::string& folder);
    static FileNotice SavedGameDamaged(const std::string& folder, const std::string& copy);

private:
    std::deque<FileNotice> waiting;
};

} // namespace Zorvin

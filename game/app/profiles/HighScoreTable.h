#pragma once

// HighScoreTable: the two ten-row high-score tables, one per play mode
// (highScoresMode0 for drag mode, highScoresMode2 for click mode), best
// first, and their file "highscores.dat" in the data folder: ten rows, each
// the click-mode name, the drag-mode name, the click-mode score, the
// drag-mode score. The application owns one; the high-score window draws it
// and the end of a game enters scores into it.
//
// The tables always hold exactly ten rows, best first, with scores from 0
// and names no longer than a name field holds. A file that is anything but
// what SaveHighScores writes is damaged: its whole rows are kept (brought
// into range, completed from the default rows, put in order), a numbered
// copy of it is set aside ("highscores.dat.bad", ".bad2", ...) and the
// repaired tables replace it. A file that cannot be read, or whose copy
// cannot be made, is never written over in this run; a failed write is
// tried again later. The player hears of each through FileNotices.

#include "game/app/profiles/PlayerFile.h"
#include <string>
#include <vector>

namespace Zorvin {

struct HighScoreEntry {
    std::string name;
    int score = 0;
    bool operator==(const HighScoreEntry&) const = default;
};

class HighScoreTable {
public:
    static constexpr int Rows = 10;

    // Starts with the default rows in both tables.
    explicit HighScoreTable(std::string dataFolder = {});

    std::string FilePath() const { return file.Path(); }
    // Where the file is read and written (not owned); the disk by default.
    void SetFileAccess(FileAccess& access) { file.SetFileAccess(access); }

    // Both tables become the ten default rows, "Zeus" 100000 to "Ares" 1000.
    void SetDefaultHighScores();
    // Where the player is told about unreadable, damaged or unwritten files
    // (not owned; may be null).
    void SetNotices(FileNotices* sink) { file.SetNotices(sink); }
    // A missing or unreadable file leaves the tables as they are.
    void LoadHighScores();
    // Writes atomically; on failure the old file stays, the reason goes to
    // standard error and the player's notices, and false comes back.
    bool SaveHighScores();
    // Writes again after a failed write; true when nothing is left unwritten.
    bool RetryPendingWrite();
    bool WritePending() const { return file.WritePending(); }

    std::string Encode() const;
    // Reads whole rows from the bytes; missing rows come from the defaults.
    // `repaired` tells whether the bytes were anything but what Encode
    // writes.
    void Decode(const std::string& bytes, bool* repaired = nullptr);

    // The table of a board mode: drag mode (0) or otherwise click mode.
    std::vector<HighScoreEntry>& TableFor(int mode) { return mode == 0 ? highScoresMode0 : highScoresMode2; }
    const std::vector<HighScoreEntry>& TableFor(int mode) const
    {
        return mode == 0 ? highScoresMode0 : highScoresMode2;
    }

    // A score qualifies when it is not below the last row.
    bool Qualifies(int mode, int score) const;
    // Puts {name, score} above every row with the same or a lower score,
    // drops the last row, and returns the new row (0 = first), or -1 when
    // the score does not qualify.
    int Insert(int mode, const std::string& name, int score);

    std::vector<HighScoreEntry> highScoresMode0;
    std::vector<HighScoreEntry> highScoresMode2;

private:
    PlayerFile file;
};

} // namespace Zorvin

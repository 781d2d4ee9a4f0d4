#pragma once

// LevelTally: what the player did in the level in play, for the level's
// result: the game time it took (counted in the board's logic updates, so
// it stands still whenever the board does: in the level's intro, under the
// in-game menu and under any modal dialog), the highest combo multiplier a
// put was scored at, the bonuses taken, the puts that stayed, and the
// mode's running score when the level began (the level's own points are
// the score now less that). BoardRules owns one and starts it with every
// level; the application reads it when the level ends and resumes it when
// a saved game is continued.

namespace Zorvin {

class LevelTally {
public:
    // The board's logic updates in a second of game time.
    static constexpr int kUpdatesPerSecond = 100;

    // A level begins with the mode's running score at `score`.
    void Start(int score);
    // A level continues from a saved game with the counters kept for it.
    void Resume(int score, int seconds, int bestCombo, int bonuses, int moves);

    // One logic update of play.
    void Tick();
    // A put scored at `multiplier`.
    void NotePut(int multiplier);
    // The last put was taken back.
    void NoteUndo();
    void NoteBonus() { ++bonuses; }

    int Seconds() const { return updates / kUpdatesPerSecond; }
    int BestCombo() const { return bestCombo; }
    int Bonuses() const { return bonuses; }
    int Moves() const { return moves; }
    int StartScore() const { return startScore; }

private:
    int updates = 0;
    int bestCombo = 0;
    int bonuses = 0;
    int moves = 0;
    int startScore = 0;
};

} // namespace Zorvin

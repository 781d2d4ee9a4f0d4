#pragma once

// PlayerName: the rules for player names. A name is shown on screen and
// becomes part of saved-game file names, so the characters a player may
// type exclude the punctuation the game has always refused plus path
// separators and control characters; and whatever an old or damaged players
// file holds, SafeFileName turns a name into one file name inside saves/.
// Used by the name dialog, the change-player dialog and the saved games.

#include <string>

namespace Zorvin {

class PlayerName {
public:
    static constexpr int MaxLength = 12;

    // The typing filter: refuses # $ % & ( ) * + - . : @ ^, "/", "\" and
    // control characters (codes below 32 and 127).
    static bool AllowCharacter(char ch);
    // Every character passes the filter (a pasted or suggested text).
    static bool AllowText(const std::string& text);
    // Nothing to show: empty, or only spaces (plain or no-break). Such a
    // name would be an empty line in the player list and a greeting with no
    // name, so it is refused like an empty one.
    static bool IsBlank(const std::string& text);

    // A file name part that stays inside its folder and differs for
    // different names; the saved games' own rule (SafeFileName in
    // game/app/saves), so moving and deleting a player's games finds the
    // files the game wrote.
    static std::string SafeFileName(const std::string& name);

    // The saved game of a player: dataFolder + "saves/" + the safe name +
    // "1.sav" for click mode (2) or "2.sav" for drag mode (0).
    static std::string SaveFilePath(const std::string& dataFolder, const std::string& name, int mode);
};

} // namespace Zorvin

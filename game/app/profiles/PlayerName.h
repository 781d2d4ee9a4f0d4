#pragma once

// PlayerName: the rules for player names. A name is shown on screen and
// becomes part of saved-game file names, so the characters a player may
// type exclude the punctuation the game has always refused plus path
// separators and control characters (whatever an old or damaged players
// file holds, the saved games' SafeFileName still makes one file name of
// it). Used by the name dialog and the change-player dialog.

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
};

} // namespace Zorvin

#pragma once

// SafeFileName: turns a player's name into the part of a file name that the
// saved games use ("saves/" + name + "1.sav"). Names come from the players
// file, which a user can edit by hand, so a name is never trusted to be a
// plain file name: bytes that could leave the saves folder or confuse the
// file system are written as "%" and two hex digits. The profiles code and
// the saved games both use it, so a player's files are always found under
// the same name.

#include <string>

namespace Zorvin {

// The name in UTF-8, as file managers show it, with every unsafe byte
// escaped as "%XX" (upper-case hex): "/", "\\", ".", "%", NUL and the other
// control characters (below 0x20 and 0x7F). An ordinary name like "Anna" is
// its own file name. The result never holds a path separator or "..", and
// is at most kMaxSafeNameLength bytes: a longer one keeps the whole
// characters that fit and ends in "%~" and a 16-digit hash of the whole
// name, so different names always give different results.
std::string SafeFileName(const std::string& name);

// The name older versions gave the file: the same escapes over the raw
// Windows-1251 bytes, cut at kMaxSafeNameLength bytes. Only for finding
// saved games written before the names became UTF-8.
std::string LegacySafeFileName(const std::string& name);

constexpr size_t kMaxSafeNameLength = 200;

} // namespace Zorvin

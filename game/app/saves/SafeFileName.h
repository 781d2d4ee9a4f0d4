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

// The name with every unsafe byte escaped as "%XX" (upper-case hex):
// "/", "\\", ".", "%", NUL and the other control characters (below 0x20 and
// 0x7F). Every other byte, Windows-1251 letters included, stays as it is, so
// an ordinary name like "Anna" is its own file name. Different names give
// different results, and the result never holds a path separator or "..".
// It is cut at kMaxSafeNameLength bytes (never inside an escape), which keeps
// the whole file name within the limits of common file systems.
std::string SafeFileName(const std::string& name);

constexpr size_t kMaxSafeNameLength = 200;

} // namespace Zorvin

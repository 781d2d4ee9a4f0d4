#pragma once

// Text encoding at the edges of the game. Everything in memory, in fonts,
// in data files and on screen is Windows-1251 bytes; source files and the
// desktop speak UTF-8. These two functions are the only place where one
// turns into the other.

#include <string>
#include <string_view>

namespace Zorvin {

// UTF-8 to Windows-1251. Characters with no Windows-1251 byte are dropped,
// and so are malformed UTF-8 sequences.
std::string Utf8ToCp1251(std::string_view utf8);

// Windows-1251 to UTF-8. The one unassigned byte (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);

// Readable Russian literals in the source: W("Новая игра") is the text in
// Windows-1251, as the game stores and draws it.
inline std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

} // namespace Zorvin

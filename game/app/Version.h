#pragma once

// The game's version: shown in the window title and by --version, and read
// by the build for the Debian package and the AppStream release entry.

namespace Zorvin {

inline constexpr const char* KorveltVersion = "1.4";

} // namespace Zorvin

#pragma once

// The resource manifest "properties/resources.xml": which file holds each
// identifier the game binds, in which group, with which cel grid and
// animation. Built from the image catalogue, the sound table and the font
// descriptor name, so it always names exactly the files the other steps
// write.

#include <string>

namespace Zorvin::AssetGen {

// Path of the font descriptor inside the game folder.
inline constexpr const char* kFontDescriptor = "fonts/Default.txt";

// The manifest text.
std::string BuildManifest();

} // namespace Zorvin::AssetGen

#pragma once

// The logo script "properties/logos.xml": the studio logo shown before
// loading starts, the artwork above the loading bar, and the wordmark on the
// main menu. Every picture it names is one the images step writes.

#include <string>
#include <vector>

namespace Zorvin::AssetGen {

// The script's text.
std::string BuildLogoScript();
// The picture files the script names, relative to the game folder.
std::vector<std::string> LogoScriptPictures();

} // namespace Zorvin::AssetGen

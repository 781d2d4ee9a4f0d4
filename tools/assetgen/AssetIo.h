#pragma once

// File output of the asset generator: every file is written to a temporary
// name and renamed into place, so an interrupted build never leaves a
// half-written manifest or picture behind. Pictures go through the
// framework's MemoryImage and PNG writer.

#include "tools/assetgen/art/Canvas.h"

#include <string>

namespace Zorvin::AssetGen {

// Creates the parent folders and writes `bytes` to path atomically.
bool WriteFileAtomic(const std::string& path, const std::string& bytes);
// Writes the canvas as a 32-bit RGBA PNG.
bool WritePng(const Canvas& canvas, const std::string& path);

} // namespace Zorvin::AssetGen

#include "tools/assetgen/AssetIo.h"

#include "framework/core/FileUtil.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace Zorvin::AssetGen {

namespace {
void MakeParent(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
}
} // namespace

bool WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    return FileUtil::WriteFileAtomic(path, bytes);
}

bool WritePng(const Canvas& canvas, const std::string& path)
{
    MakeParent(path);
    MemoryImage image(canvas.W(), canvas.H());
    image.SetBits(canvas.Pixels().data(), canvas.W(), canvas.H());
    std::string error;
    if (!PngWriter::Write(image, path, &error)) {
        std::fprintf(stderr, "assetgen: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace Zorvin::AssetGen

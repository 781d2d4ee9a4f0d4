#include "tools/assetgen/AssetIo.h"

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
    MakeParent(path);
    std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out.good()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
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

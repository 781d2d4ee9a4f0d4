#include "framework/graphics/imagefile/ImageLib.h"

#include "framework/core/FileUtil.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Zorvin::ImageLib {

namespace {

// Position just after the last folder separator, either kind.
size_t FilePartStart(const std::string& name)
{
    size_t sep = name.find_last_of("\\/");
    return sep == std::string::npos ? 0 : sep + 1;
}

// Splits off the extension: the text after the last "." of the file part.
// Returns false when the file part has no ".".
bool SplitExtension(const std::string& name, std::string& stem, std::string& ext)
{
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < FilePartStart(name))
        return false;
    stem = name.substr(0, dot);
    ext = name.substr(dot + 1);
    return true;
}

std::unique_ptr<Image> LoadFile(const std::string& fileName)
{
    std::vector<uint8_t> data;
    if (!ReadFileBytes(fileName, data))
        return nullptr;
    return DecodeImage(data.data(), data.size());
}

// One name without alpha lookup: the file itself when it has an extension,
// else the stem with each supported extension in turn.
std::unique_ptr<Image> LoadAnyFormat(const std::string& fileName)
{
    std::string stem, ext;
    if (SplitExtension(fileName, stem, ext))
        return LoadFile(fileName);
    for (const char* e : {".tga", ".jpg", ".png", ".gif"}) {
        if (auto img = LoadFile(fileName + e))
            return img;
    }
    return nullptr;
}

} // namespace

bool SizeAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

std::unique_ptr<Image> MakeImage(int64_t width, int64_t height)
{
    if (!SizeAllowed(width, height))
        return nullptr;
    auto img = std::make_unique<Image>();
    img->width = static_cast<int>(width);
    img->height = static_cast<int>(height);
    img->bits.assign(static_cast<size_t>(width * height), 0);
    return img;
}

bool ReadFileBytes(const std::string& fileName, std::vector<uint8_t>& out)
{
    out.clear();
    if (fileName.empty())
        return false;
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    // One byte more than allowed tells a file that is too long.
    std::string data;
    if (!FileUtil::ReadFile(path, data, static_cast<size_t>(kMaxImageFileBytes) + 1)
        || data.size() > static_cast<size_t>(kMaxImageFileBytes))
        return false;
    out.assign(data.begin(), data.end());
    return true;
}

std::unique_ptr<Image> DecodeImage(const uint8_t* data, size_t size)
{
    static const uint8_t pngSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 8 && std::memcmp(data, pngSig, 8) == 0)
        return DecodePNG(data, size);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return DecodeJPEG(data, size);
    if (size >= 5 && std::memcmp(data, "GIF8", 4) == 0)
        return DecodeGIF(data, size);
    return DecodeTGA(data, size);
}

std::unique_ptr<Image> GetImage(const std::string& fileName, bool lookForAlpha, uint32_t alphaOnlyColor)
{
    std::unique_ptr<Image> img = LoadAnyFormat(fileName);
    if (!lookForAlpha)
        return img;

    // "_" before the file part first (folder/_tile), then before the whole
    // name (_folder/tile).
    size_t filePart = FilePartStart(fileName);
    std::string perFile = fileName.substr(0, filePart) + "_" + fileName.substr(filePart);
    std::unique_ptr<Image> alpha = LoadAnyFormat(perFile);
    if (!alpha && filePart != 0)
        alpha = LoadAnyFormat("_" + fileName);
    if (!alpha)
        return img;

    if (img) {
        if (img->width == alpha->width && img->height == alpha->height) {
            for (size_t i = 0; i < img->bits.size(); ++i)
                img->bits[i] = (img->bits[i] & 0x00FFFFFF) | ((alpha->bits[i] & 0xFF) << 24);
        }
        return img;
    }

    uint32_t rgb = alphaOnlyColor & 0x00FFFFFF;
    for (uint32_t& p : alpha->bits)
        p = ((p & 0xFF) << 24) | rgb;
    return alpha;
}

} // namespace Zorvin::ImageLib

#include "framework/audio/SoundSample.h"

#include "framework/core/FileUtil.h"

#include <string>

namespace Zorvin {

bool SoundSample::ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes)
{
    bytes.clear();
    // One byte more than allowed tells a file that is too long.
    std::string data;
    if (!FileUtil::ReadFile(path, data, maxBytes + 1) || data.size() > maxBytes)
        return false;
    bytes.assign(data.begin(), data.end());
    return true;
}

} // namespace Zorvin

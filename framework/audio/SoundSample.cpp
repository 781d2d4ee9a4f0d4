#include "framework/audio/SoundSample.h"

#include <cstdio>
#include <memory>

namespace Zorvin {

bool SoundSample::ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes)
{
    bytes.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return false;
    uint8_t chunk[65536];
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        if (n == 0)
            break;
        if (bytes.size() + n > maxBytes) {
            bytes.clear();
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return !std::ferror(file.get());
}

} // namespace Zorvin

#include "framework/audio/OggMemoryFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Zorvin {

OggMemoryFile::~OggMemoryFile()
{
    if (open)
        ov_clear(&file);
}

bool OggMemoryFile::Open(std::vector<uint8_t> bytes)
{
    if (open) {
        ov_clear(&file);
        open = false;
    }
    data = std::move(bytes);
    position = 0;
    ov_callbacks callbacks{&OggMemoryFile::Read, &OggMemoryFile::Seek, nullptr, &OggMemoryFile::Tell};
    if (ov_open_callbacks(this, &file, nullptr, 0, callbacks) != 0)
        return false; // ov_open_callbacks cleans up after itself on failure
    open = true;
    vorbis_info* info = ov_info(&file, -1);
    if (!info || info->channels < 1 || info->rate < 1 || info->rate > 1000000) {
        ov_clear(&file);
        open = false;
    }
    return open;
}

int OggMemoryFile::GetChannels()
{
    vorbis_info* info = open ? ov_info(&file, -1) : nullptr;
    return info ? info->channels : 0;
}

int OggMemoryFile::GetRate()
{
    vorbis_info* info = open ? ov_info(&file, -1) : nullptr;
    return info ? static_cast<int>(info->rate) : 0;
}

size_t OggMemoryFile::Read(void* dst, size_t size, size_t count, void* source)
{
    auto* self = static_cast<OggMemoryFile*>(source);
    if (size == 0 || self->position >= self->data.size())
        return 0;
    size_t items = std::min(count, (self->data.size() - self->position) / size);
    std::memcpy(dst, self->data.data() + self->position, items * size);
    self->position += items * size;
    return items;
}

int OggMemoryFile::Seek(void* source, ogg_int64_t offset, int whence)
{
    auto* self = static_cast<OggMemoryFile*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<ogg_int64_t>(self->position);
    else if (whence == SEEK_END)
        base = static_cast<ogg_int64_t>(self->data.size());
    else if (whence != SEEK_SET)
        return -1;
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(self->data.size()))
        return -1;
    self->position = static_cast<size_t>(target);
    return 0;
}

long OggMemoryFile::Tell(void* source)
{
    return static_cast<long>(static_cast<OggMemoryFile*>(source)->position);
}

} // namespace Zorvin

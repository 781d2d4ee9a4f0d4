#include "game/app/profiles/ProfileBuffer.h"

namespace Zorvin {

void ProfileBuffer::WriteInt32(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void ProfileBuffer::WriteBool(bool value) { data.push_back(value ? 1 : 0); }

void ProfileBuffer::WriteString(const std::string& value)
{
    size_t length = value.size() > 32767 ? 32767 : value.size();
    data.push_back(static_cast<char>(length & 0xFF));
    data.push_back(static_cast<char>((length >> 8) & 0xFF));
    data.append(value, 0, length);
}

bool ProfileBuffer::ReadInt32(int32_t& value)
{
    if (data.size() - pos < 4)
        return false;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(data[pos + i])) << (8 * i);
    value = static_cast<int32_t>(v);
    pos += 4;
    return true;
}

bool ProfileBuffer::ReadBool(bool& value)
{
    if (AtEnd())
        return false;
    value = data[pos++] != 0;
    return true;
}

bool ProfileBuffer::ReadString(std::string& value)
{
    if (data.size() - pos < 2)
        return false;
    auto lo = static_cast<unsigned char>(data[pos]);
    auto hi = static_cast<unsigned char>(data[pos + 1]);
    int length = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
    if (length <= 0) {
        value.clear();
        pos += 2;
        return true;
    }
    if (data.size() - pos - 2 < static_cast<size_t>(length))
        return false;
    value.assign(data, pos + 2, static_cast<size_t>(length));
    pos += 2 + static_cast<size_t>(length);
    return true;
}

} // namespace Zorvin

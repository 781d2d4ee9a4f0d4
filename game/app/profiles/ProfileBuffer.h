#pragma once

// ProfileBuffer: the byte layout of the players and high-score files. Items
// follow one another with no padding: int32 as 4 bytes little-endian, bool
// as one byte (any non-zero reads as true), a string as an int16
// little-endian length and then that many bytes (a length of 0 or less is
// the empty string). Every read is bounds-checked and reports failure
// instead of reading past the data, so a damaged file can never take the
// reader outside its bytes. Used by PlayerList and HighScoreTable.

#include <cstddef>
#include <cstdint>
#include <string>

namespace Zorvin {

class ProfileBuffer {
public:
    ProfileBuffer() = default;
    explicit ProfileBuffer(std::string bytes) : data(std::move(bytes)) {}

    void WriteInt32(int32_t value);
    void WriteBool(bool value);
    // Strings longer than an int16 can count are cut to 32767 bytes.
    void WriteString(const std::string& value);

    // Each returns false, leaving the position where it was, when the item
    // does not fit in the unread bytes.
    bool ReadInt32(int32_t& value);
    bool ReadBool(bool& value);
    bool ReadString(std::string& value);

    bool AtEnd() const { return pos >= data.size(); }
    size_t Position() const { return pos; }
    void Seek(size_t newPos) { pos = newPos < data.size() ? newPos : data.size(); }
    const std::string& Bytes() const { return data; }

private:
    std::string data;
    size_t pos = 0;
};

} // namespace Zorvin

// The demo file's format: a byte header, then the event bit stream.
//
//   BitWriter, BitReader   bits, least significant first, bounds-checked
//   WriteEvent, ReadEvent  one event's fields by code
//   Encode, Decode         the whole file
//   Load, Save

#include "framework/app/DemoFile.h"

#include "framework/core/FileUtil.h"

#include <sys/stat.h>

namespace Zorvin {

namespace {

constexpr char Magic[4] = {'Z', 'D', 'M', 'O'};
constexpr uint32_t FormatVersion = 1;
constexpr int GapBits = 4;
constexpr int CodeBits = 5;
constexpr int MaxGap = 15;

class BitWriter {
public:
    void Bits(uint64_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (bitCount % 8 == 0)
                bytes.push_back(0);
            if ((value >> i) & 1)
                bytes.back() = static_cast<char>(bytes.back() | (1 << (bitCount % 8)));
            ++bitCount;
        }
    }
    void Signed(int value, int count) { Bits(static_cast<uint64_t>(static_cast<int64_t>(value)), count); }
    void Text(const std::string& text)
    {
        Bits(text.size(), 32);
        for (char c : text)
            Bits(static_cast<uint8_t>(c), 8);
    }

    std::string bytes;
    uint64_t bitCount = 0;
};

class BitReader {
public:
    BitReader(const std::string& data, size_t first, uint64_t bits) : bytes(data), start(first), end(bits) {}

    uint64_t Bits(int count)
    {
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (position >= end) {
                ok = false;
                return 0;
            }
            uint8_t byte = static_cast<uint8_t>(bytes[start + position / 8]);
            if ((byte >> (position % 8)) & 1)
                value |= uint64_t(1) << i;
            ++position;
        }
        return value;
    }
    int Signed(int count)
    {
        uint64_t raw = Bits(count);
        uint64_t sign = uint64_t(1) << (count - 1);
        return static_cast<int>(static_cast<int64_t>(raw ^ sign) - static_cast<int64_t>(sign));
    }
    bool Text(std::string& text)
    {
        uint64_t size = Bits(32);
        if (!ok || size > DemoFile::MaxEventBytes || size * 8 > end - position) {
            ok = false;
            return false;
        }
        text.resize(size);
        for (char& c : text)
            c = static_cast<char>(Bits(8));
        return ok;
    }
    bool AtEnd() const { return position == end; }

    bool ok = true;

private:
    const std::string& bytes;
    size_t start;
    uint64_t end;
    uint64_t position = 0;
};

// The mouse messages a demo carries, by index.
constexpr MessageKind MouseKinds[] = {
    MessageKind::MouseMove,     MessageKind::LButtonDown, MessageKind::LButtonDblClk, MessageKind::LButtonUp,
    MessageKind::RButtonDown,   MessageKind::RButtonDblClk, MessageKind::RButtonUp,   MessageKind::MButtonDown,
    MessageKind::MButtonUp,
};
constexpr int MouseKindCount = sizeof MouseKinds / sizeof MouseKinds[0];

int MouseKindIndex(MessageKind kind)
{
    for (int i = 0; i < MouseKindCount; ++i)
        if (MouseKinds[i] == kind)
            return i;
    return -1;
}

// The key message of a key event: plain or with Alt held.
MessageKind KeyKind(DemoEvent::Code code, bool system)
{
    if (code == DemoEvent::KeyDown)
        return system ? MessageKind::SysKeyDown : MessageKind::KeyDown;
    return system ? MessageKind::SysKeyUp : MessageKind::KeyUp;
}

// The results of file and settings operations carry a name.
bool HasName(DemoEvent::Code code)
{
    return (code >= DemoEvent::SettingRead && code <= DemoEvent::FileRename) || code == DemoEvent::FileKeepCopy;
}

bool HasFlag(DemoEvent::Code code)
{
    return code == DemoEvent::Activation || code == DemoEvent::Minimise || HasName(code);
}

bool HasBytes(DemoEvent::Code code)
{
    return code == DemoEvent::SettingRead || code == DemoEvent::SettingWrite || code == DemoEvent::FileRead ||
           code == DemoEvent::FileWrite || code == DemoEvent::Clipboard || code == DemoEvent::FileKeepCopy;
}

void WriteEvent(BitWriter& w, const DemoEvent& e)
{
    const InputMessage& m = e.message;
    switch (e.code) {
    case DemoEvent::Mouse:
        // Positions of the logical screen, also a little outside it.
        w.Bits(static_cast<uint64_t>(MouseKindIndex(m.kind)), 4);
        w.Signed(m.param1, 14);
        w.Signed(m.param2, 14);
        break;
    case DemoEvent::Character:
        w.Bits(static_cast<uint8_t>(m.param1), 8);
        break;
    case DemoEvent::KeyDown:
    case DemoEvent::KeyUp:
        w.Bits(static_cast<uint8_t>(m.param1), 8);
        w.Bits(m.kind == MessageKind::SysKeyDown || m.kind == MessageKind::SysKeyUp, 1);
        break;
    case DemoEvent::WindowMove:
        w.Signed(m.param1, 16);
        w.Signed(m.param2, 16);
        break;
    case DemoEvent::Wheel:
        w.Signed(m.param1, 16);
        break;
    default:
        break;
    }
    if (HasFlag(e.code))
        w.Bits(e.flag, 1);
    if (HasName(e.code))
        w.Text(e.name);
    if (e.code == DemoEvent::SettingRead || e.code == DemoEvent::SettingWrite)
        w.Bits(static_cast<uint64_t>(e.kind) & 0xFF, 8);
    if (HasBytes(e.code))
        w.Text(e.bytes);
}

bool ReadEvent(BitReader& r, DemoEvent& e)
{
    InputMessage& m = e.message;
    switch (e.code) {
    case DemoEvent::Mouse: {
        uint64_t index = r.Bits(4);
        if (index >= static_cast<uint64_t>(MouseKindCount))
            return false;
        m.kind = MouseKinds[index];
        m.param1 = r.Signed(14);
        m.param2 = r.Signed(14);
        break;
    }
    case DemoEvent::Character:
        m.kind = MessageKind::Char;
        m.param1 = static_cast<int>(r.Bits(8));
        break;
    case DemoEvent::KeyDown:
    case DemoEvent::KeyUp:
        m.param1 = static_cast<int>(r.Bits(8));
        m.kind = KeyKind(e.code, r.Bits(1) != 0);
        break;
    case DemoEvent::WindowMove:
        m.kind = MessageKind::Move;
        m.param1 = r.Signed(16);
        m.param2 = r.Signed(16);
        break;
    case DemoEvent::Wheel:
        m.kind = MessageKind::MouseWheel;
        m.param1 = r.Signed(16);
        break;
    case DemoEvent::Activation:
        m.kind = MessageKind::Activate;
        break;
    case DemoEvent::Minimise:
        m.kind = MessageKind::Size;
        break;
    case DemoEvent::Close:
        m.kind = MessageKind::Close;
        break;
    case DemoEvent::MouseEnters:
    case DemoEvent::MouseLeaves:
    case DemoEvent::LoadingDone:
        break;
    default:
        if ((e.code < DemoEvent::SettingRead || e.code > DemoEvent::Clipboard) && e.code != DemoEvent::FileKeepCopy)
            return false;
        break;
    }
    if (HasFlag(e.code)) {
        e.flag = r.Bits(1) != 0;
        if (e.code == DemoEvent::Activation || e.code == DemoEvent::Minimise)
            m.param1 = e.flag ? 1 : 0;
    }
    if (HasName(e.code) && !r.Text(e.name))
        return false;
    if (e.code == DemoEvent::SettingRead || e.code == DemoEvent::SettingWrite)
        e.kind = static_cast<int>(r.Bits(8));
    if (HasBytes(e.code) && !r.Text(e.bytes))
        return false;
    return r.ok;
}

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(v >> (8 * i));
}

void PutU64(std::string& out, uint64_t v)
{
    PutU32(out, static_cast<uint32_t>(v));
    PutU32(out, static_cast<uint32_t>(v >> 32));
}

void PutText(std::string& out, const std::string& text)
{
    PutU32(out, static_cast<uint32_t>(text.size()));
    out += text;
}

// Reads the byte header fields, never past the end.
class ByteCursor {
public:
    explicit ByteCursor(const std::string& data) : bytes(data) {}
    uint64_t Get(int count)
    {
        if (bytes.size() - position < static_cast<size_t>(count)) {
            ok = false;
            position = bytes.size();
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < count; ++i)
            v |= uint64_t(static_cast<uint8_t>(bytes[position + i])) << (8 * i);
        position += count;
        return v;
    }
    uint32_t U32() { return static_cast<uint32_t>(Get(4)); }
    std::string Text(size_t limit)
    {
        uint32_t size = U32();
        if (!ok || size > limit || size > bytes.size() - position) {
            ok = false;
            return std::string();
        }
        std::string text = bytes.substr(position, size);
        position += size;
        return text;
    }

    const std::string& bytes;
    size_t position = 0;
    bool ok = true;
};

} // namespace

std::string DemoFile::Encode() const
{
    std::string out(Magic, sizeof Magic);
    PutU32(out, FormatVersion);
    PutText(out, programName);
    PutText(out, programVersion);
    PutU32(out, seed);
    out += static_cast<char>(windowed ? 1 : 0);
    PutU32(out, static_cast<uint32_t>(finalUpdate));
    PutU64(out, finalScreenHash);
    PutU32(out, static_cast<uint32_t>(markers.size()));
    for (const DemoMarker& marker : markers) {
        PutU32(out, static_cast<uint32_t>(marker.update));
        PutText(out, marker.name);
    }
    BitWriter w;
    int last = 0;
    for (const DemoEvent& e : events) {
        int gap = e.update - last;
        for (; gap > MaxGap; gap -= MaxGap) {
            w.Bits(MaxGap, GapBits);
            w.Bits(DemoEvent::TimeContinuation, CodeBits);
        }
        w.Bits(static_cast<uint64_t>(gap), GapBits);
        w.Bits(e.code, CodeBits);
        WriteEvent(w, e);
        last = e.update;
    }
    PutU64(out, w.bitCount);
    out += w.bytes;
    return out;
}

bool DemoFile::Decode(const std::string& bytes)
{
    *this = DemoFile();
    ByteCursor c(bytes);
    if (bytes.size() < sizeof Magic || bytes.compare(0, sizeof Magic, Magic, sizeof Magic) != 0)
        return false;
    c.position = sizeof Magic;
    DemoFile d;
    if (c.U32() != FormatVersion)
        return false;
    d.programName = c.Text(256);
    d.programVersion = c.Text(256);
    d.seed = c.U32();
    d.windowed = c.Get(1) != 0;
    d.finalUpdate = static_cast<int>(c.U32() & 0x7FFFFFFF);
    d.finalScreenHash = c.Get(8);
    uint32_t markerCount = c.U32();
    // Each marker takes at least eight bytes of the file.
    if (!c.ok || markerCount > (bytes.size() - c.position) / 8)
        return false;
    for (uint32_t i = 0; i < markerCount; ++i) {
        DemoMarker marker;
        marker.update = static_cast<int>(c.U32() & 0x7FFFFFFF);
        marker.name = c.Text(1024);
        d.markers.push_back(std::move(marker));
    }
    uint64_t bitCount = c.Get(8);
    if (!c.ok || bitCount > (bytes.size() - c.position) * 8 || (bitCount + 7) / 8 != bytes.size() - c.position)
        return false;
    BitReader r(bytes, c.position, bitCount);
    int update = 0;
    while (!r.AtEnd()) {
        int gap = static_cast<int>(r.Bits(GapBits));
        int code = static_cast<int>(r.Bits(CodeBits));
        if (!r.ok || update > d.finalUpdate)
            return false;
        update += gap;
        if (code == DemoEvent::TimeContinuation)
            continue;
        DemoEvent e;
        e.update = update;
        e.code = static_cast<DemoEvent::Code>(code);
        if (!ReadEvent(r, e))
            return false;
        d.events.push_back(std::move(e));
    }
    if (update > d.finalUpdate)
        return false;
    *this = std::move(d);
    return true;
}

bool DemoFile::Load(const std::string& path, const std::string& program, std::string& error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "Demo file not found: " + path;
        return false;
    }
    std::string bytes;
    if (!FileUtil::ReadFile(path, bytes, MaxFileBytes + 1) || bytes.size() > MaxFileBytes || !Decode(bytes)) {
        error = "Invalid demo file.";
        return false;
    }
    if (programName != program) {
        error = "This demo file appears to be for '" + programName + "'.";
        *this = DemoFile();
        return false;
    }
    return true;
}

bool DemoFile::Save(const std::string& path) const { return FileUtil::WriteFileAtomic(path, Encode(), false); }

} // namespace Zorvin

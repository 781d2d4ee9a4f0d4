// DemoSession: recording a run's outside results and playing them back.
//
// Sections:
//   - start and end
//   - recording
//   - playback
//   - the players' files and the settings (results recorded and played back)

#include "framework/app/DemoSession.h"

#include "framework/core/FileUtil.h"

#include <algorithm>
#include <cstdio>

namespace Zorvin {

namespace {

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* CodeName(int code)
{
    switch (code) {
    case DemoEvent::SettingRead: return "a settings read";
    case DemoEvent::SettingWrite: return "a settings write";
    case DemoEvent::SettingErase: return "a settings erase";
    case DemoEvent::FileExists: return "a file test";
    case DemoEvent::FileRead: return "a file read";
    case DemoEvent::FileWrite: return "a file write";
    case DemoEvent::FileDelete: return "a file delete";
    case DemoEvent::FileRename: return "a file rename";
    case DemoEvent::FileKeepCopy: return "a file copy set aside";
    case DemoEvent::Clipboard: return "a paste";
    case DemoEvent::LoadingDone: return "the end of loading";
    default: return "input";
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Start and end

DemoSession::DemoSession(FileAccess& files, SettingsAccess& settings, const int& updateCount)
    : files(files), settings(settings), updateCount(updateCount)
{
}

void DemoSession::BeginRecording(const std::string& programName, const std::string& programVersion, uint32_t seed,
                                 bool windowed)
{
    mode = Mode::Recording;
    playing = false;
    started = true;
    ownerThread = std::this_thread::get_id();
    demo.programName = programName;
    demo.programVersion = programVersion;
    demo.seed = seed;
    demo.windowed = windowed;
}

bool DemoSession::LoadRecording(const std::string& programName, std::string& error)
{
    if (!demo.Load(path, programName, error))
        return false;
    mode = Mode::Playing;
    playing = true;
    started = true;
    ownerThread = std::this_thread::get_id();
    report.eventsTotal = static_cast<int>(demo.events.size());
    return true;
}

void DemoSession::Finish(uint64_t screenHash)
{
    if (!IsOpen())
        return;
    closed = true;
    if (!playing) {
        demo.finalUpdate = updateCount;
        demo.finalScreenHash = screenHash;
        if (demo.Save(path))
            std::fprintf(stderr, "Demo recorded: %s (%zu events, %d updates)\n", path.c_str(), demo.events.size(),
                         updateCount);
        else
            std::fprintf(stderr, "Cannot write the demo file %s\n", path.c_str());
        return;
    }
    report.screenHash = screenHash;
    report.finished = !broken && next == demo.events.size() && updateCount == demo.finalUpdate;
    report.screenMatched = screenHash == demo.finalScreenHash;
    if (report.finished && !report.screenMatched)
        report.divergence = "the final screen differs from the recorded one";
    std::fprintf(stderr, "Demo played: %d of %d events, %d updates, %d writes matched, %d differed, screen %s%s%s\n",
                 report.eventsPlayed, report.eventsTotal, updateCount, report.writesMatched, report.writesDiffered,
                 report.screenMatched ? "matches" : "differs", report.divergence.empty() ? "" : "; ",
                 report.divergence.c_str());
    // A screen that differs only in its pictures (new art) is told by its
    // hash, so the maintainer can see which run's screen is which.
    if (!report.screenMatched)
        std::fprintf(stderr, "Demo screen hash: recorded %016llx, played %016llx\n",
                     static_cast<unsigned long long>(demo.finalScreenHash),
                     static_cast<unsigned long long>(screenHash));
}

// ---------------------------------------------------------------------------
// Recording

void DemoSession::Record(DemoEvent event)
{
    if (playing || !Active())
        return;
    event.update = updateCount;
    demo.events.push_back(std::move(event));
}

void DemoSession::RecordInput(const InputMessage& msg)
{
    DemoEvent e;
    e.message = msg;
    switch (msg.kind) {
    case MessageKind::MouseMove:
    case MessageKind::LButtonDown:
    case MessageKind::LButtonDblClk:
    case MessageKind::LButtonUp:
    case MessageKind::RButtonDown:
    case MessageKind::RButtonDblClk:
    case MessageKind::RButtonUp:
    case MessageKind::MButtonDown:
    case MessageKind::MButtonUp:
        e.code = DemoEvent::Mouse;
        e.message.param1 = std::clamp(msg.param1, -8192, 8191);
        e.message.param2 = std::clamp(msg.param2, -8192, 8191);
        break;
    case MessageKind::KeyDown:
    case MessageKind::SysKeyDown:
        e.code = DemoEvent::KeyDown;
        break;
    case MessageKind::KeyUp:
    case MessageKind::SysKeyUp:
        e.code = DemoEvent::KeyUp;
        break;
    case MessageKind::Char:
        e.code = DemoEvent::Character;
        break;
    case MessageKind::MouseWheel:
        e.code = DemoEvent::Wheel;
        break;
    case MessageKind::Move:
        e.code = DemoEvent::WindowMove;
        break;
    case MessageKind::Size:
        e.code = DemoEvent::Minimise;
        e.flag = msg.param1 == 1;
        break;
    case MessageKind::Activate:
        e.code = DemoEvent::Activation;
        e.flag = msg.param1 != 0;
        break;
    case MessageKind::Close:
        e.code = DemoEvent::Close;
        break;
    default:
        return; // the timer and window housekeeping are not the player's
    }
    if (msg.window != MessageWindow::Main && e.code != DemoEvent::Close)
        return;
    Record(std::move(e));
}

void DemoSession::AddMarker(const std::string& name)
{
    if (!playing && Active())
        demo.markers.push_back({updateCount, name});
}

std::string DemoSession::Clipboard(const std::string& pasted)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::Clipboard, std::string());
        return e != nullptr ? e->bytes : std::string();
    }
    RecordResult(DemoEvent::Clipboard, std::string(), true, pasted);
    return pasted;
}

bool DemoSession::RecordResult(DemoEvent::Code code, const std::string& name, bool ok, std::string bytes, int kind)
{
    DemoEvent e;
    e.code = code;
    e.name = name;
    e.flag = ok;
    e.kind = kind;
    e.bytes = std::move(bytes);
    Record(std::move(e));
    return ok;
}

// ---------------------------------------------------------------------------
// Playback

const DemoEvent* DemoSession::NextDue() const
{
    if (next >= demo.events.size() || demo.events[next].update > updateCount)
        return nullptr;
    return &demo.events[next];
}

void DemoSession::Consume()
{
    ++next;
    ++report.eventsPlayed;
}

bool DemoSession::OnlyResultsLeft() const
{
    return std::none_of(demo.events.begin() + static_cast<std::ptrdiff_t>(next), demo.events.end(),
                        [](const DemoEvent& e) { return e.IsInput() || e.code == DemoEvent::LoadingDone; });
}

void DemoSession::Diverged(const std::string& why)
{
    if (broken)
        return;
    broken = true;
    char where[64];
    std::snprintf(where, sizeof where, " at update %d", updateCount);
    report.divergence = why + where;
    std::fprintf(stderr, "Demo playback stopped: %s\n", report.divergence.c_str());
}

void DemoSession::NeverAskedFor(const DemoEvent& due)
{
    Diverged(std::string("the recording has ") + CodeName(due.code) + " (" + due.name +
             ") that the run never asked for");
}

const DemoEvent* DemoSession::Take(DemoEvent::Code code, const std::string& name)
{
    if (broken)
        return nullptr;
    if (next >= demo.events.size()) {
        Diverged(std::string("the run asked for ") + CodeName(code) + " after the recording ended");
        return nullptr;
    }
    const DemoEvent& e = demo.events[next];
    if (e.code != code || e.name != name || e.update != updateCount) {
        Diverged(std::string("the run asked for ") + CodeName(code) + " (" + name + ") where the recording has " +
                 CodeName(e.code) + " (" + e.name + ") of update " + std::to_string(e.update));
        return nullptr;
    }
    Consume();
    return &e;
}

const DemoEvent* DemoSession::PlayResult(DemoEvent::Code code, const std::string& name)
{
    return Active() ? Take(code, name) : nullptr;
}

void DemoSession::CompareWrite(const DemoEvent& recorded, const std::string& what, int kind, const std::string& bytes)
{
    if (recorded.kind == kind && recorded.bytes == bytes) {
        ++report.writesMatched;
        return;
    }
    ++report.writesDiffered;
    std::fprintf(stderr, "Demo playback: %s is written differently at update %d\n", what.c_str(), updateCount);
}

// ---------------------------------------------------------------------------
// The players' files and the settings

bool DemoSession::ReadFile(const std::string& path, std::string& bytes, size_t maxSize)
{
    bytes.clear();
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::FileRead, BaseName(path));
        if (e == nullptr || !e->flag || e->bytes.size() > maxSize)
            return false;
        bytes = e->bytes;
        return true;
    }
    // No more than one event may carry, so that the recording can be read.
    bool ok = files.ReadFile(path, bytes, std::min(maxSize, DemoFile::MaxEventBytes));
    return RecordResult(DemoEvent::FileRead, BaseName(path), ok, bytes);
}

bool DemoSession::WriteFile(const std::string& path, const std::string& bytes)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::FileWrite, BaseName(path));
        if (e == nullptr)
            return false;
        CompareWrite(*e, BaseName(path), 0, bytes);
        report.written[BaseName(path)] = bytes;
        return e->flag;
    }
    return RecordResult(DemoEvent::FileWrite, BaseName(path), files.WriteFile(path, bytes), bytes);
}

bool DemoSession::Exists(const std::string& path)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::FileExists, BaseName(path));
        return e != nullptr && e->flag;
    }
    return RecordResult(DemoEvent::FileExists, BaseName(path), files.Exists(path));
}

bool DemoSession::Delete(const std::string& path)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::FileDelete, BaseName(path));
        if (e != nullptr)
            report.written.erase(BaseName(path));
        return e != nullptr && e->flag;
    }
    return RecordResult(DemoEvent::FileDelete, BaseName(path), files.Delete(path));
}

bool DemoSession::Rename(const std::string& from, const std::string& to)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::FileRename, BaseName(to));
        return e != nullptr && e->flag;
    }
    return RecordResult(DemoEvent::FileRename, BaseName(to), files.Rename(from, to));
}

std::string DemoSession::KeepCopy(const std::string& path)
{
    if (playing) {
        std::string folder = FileUtil::FolderOf(path);
        const DemoEvent* e = PlayResult(DemoEvent::FileKeepCopy, BaseName(path));
        if (e == nullptr || !e->flag)
            return std::string();
        return e->bytes.empty() || folder.empty() ? e->bytes : folder + "/" + e->bytes;
    }
    std::string copy = files.KeepCopy(path);
    RecordResult(DemoEvent::FileKeepCopy, BaseName(path), !copy.empty(), BaseName(copy));
    return copy;
}

void DemoSession::RemoveStaleTemporaries(const std::string& path)
{
    if (!playing)
        files.RemoveStaleTemporaries(path);
}

bool DemoSession::WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes)
{
    std::string value(bytes.begin(), bytes.end());
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::SettingWrite, name);
        if (e == nullptr)
            return false;
        CompareWrite(*e, "setting " + name, kind, value);
        return e->flag;
    }
    bool ok = settings.WriteSettingRaw(name, kind, bytes);
    return RecordResult(DemoEvent::SettingWrite, name, ok, std::move(value), kind);
}

bool DemoSession::ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::SettingRead, name);
        if (e == nullptr || !e->flag)
            return false;
        kind = e->kind;
        bytes.assign(e->bytes.begin(), e->bytes.end());
        return true;
    }
    bool ok = settings.ReadSettingRaw(name, kind, bytes);
    return RecordResult(DemoEvent::SettingRead, name, ok, ok ? std::string(bytes.begin(), bytes.end()) : "",
                        ok ? kind : 0);
}

bool DemoSession::EraseSetting(const std::string& name)
{
    if (playing) {
        const DemoEvent* e = PlayResult(DemoEvent::SettingErase, name);
        return e != nullptr && e->flag;
    }
    return RecordResult(DemoEvent::SettingErase, name, settings.EraseSetting(name));
}

} // namespace Zorvin

#pragma once

// DemoSession: one demo being recorded or played back, owned by the
// application base for the length of a run. It keeps the demo file, the
// next event to play and what the playback found, and it stands between
// the program and the outside world as a FileAccess and a SettingsAccess
// wrapped around the real ones: while recording it passes each operation
// on and notes the result; while playing it answers from the recording,
// never touches the disk or the settings, and compares each write with the
// recorded one. Every event is stamped with the application's update count
// (read through the reference it is given). The application's loop asks it
// for the input due now, for the end of loading and for the recorded end.
// The command line makes it and chooses recording or playback and the
// file; it takes part in the run only once it is started.

#include "framework/app/DemoFile.h"
#include "framework/app/InputMessage.h"
#include "framework/app/SettingsAccess.h"
#include "framework/core/FileAccess.h"

#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace Zorvin {

class DemoSession : public FileAccess, public SettingsAccess {
public:
    // What a playback found, for the developer and for regression tests.
    struct Report {
        int eventsPlayed = 0;
        int eventsTotal = 0;
        int writesMatched = 0;
        int writesDiffered = 0;
        bool finished = false;      // the playback reached the recorded end
        bool screenMatched = false; // the final screen hashed as recorded
        uint64_t screenHash = 0;
        std::string divergence;     // why playback stopped early; empty if it did not
        // The last bytes written to each file (by file name), as the run
        // would have written them.
        std::map<std::string, std::string> written;
    };

    // The demo file's name when the command line gives none.
    static constexpr const char* kDefaultFileName = "zorvinapp.dmo";

    // `files` and `settings` are the real ones, `updateCount` the
    // application's; all outlive the session. Only the thread that starts
    // the session records or plays results: other threads' files are their
    // own business (while playing, they fail).
    DemoSession(FileAccess& files, SettingsAccess& settings, const int& updateCount);

    enum class Mode { None, Recording, Playing };
    // What the command line asks for, until the session starts: record,
    // play back or neither (only a file named so far), and which file.
    void SetMode(Mode wanted) { mode = wanted; }
    void SetPath(const std::string& file) { path = file; }
    const std::string& Path() const { return path; }
    bool IsPlaying() const { return mode == Mode::Playing; }
    bool IsRecording() const { return mode == Mode::Recording; }
    bool IsStarted() const { return started; }

    // Starts a new recording of this program, its random numbers seeded by
    // `seed`.
    void BeginRecording(const std::string& programName, const std::string& programVersion, uint32_t seed,
                        bool windowed);
    // Reads the recording to play and starts playing; false with `error`
    // when it cannot be.
    bool LoadRecording(const std::string& programName, std::string& error);
    uint32_t Seed() const { return demo.seed; }
    // Saves the recording, or judges the playback against its recorded end;
    // either way the session takes no more events.
    void Finish(uint64_t screenHash);
    bool IsOpen() const { return started && !closed; }
    bool IsBroken() const { return broken; }
    const Report& GetReport() const { return report; }

    // Recording: input and window events from the queue, named moments.
    void Record(DemoEvent event);
    void RecordInput(const InputMessage& msg);
    void AddMarker(const std::string& name);
    // The pasted text: recorded, or the recorded paste.
    std::string Clipboard(const std::string& pasted);

    // Playback: the recorded event due at the current update, or null.
    const DemoEvent* NextDue() const;
    // Counts the due event as played and moves past it.
    void Consume();
    // Nothing but results (no input, no end of loading) is left to play.
    bool OnlyResultsLeft() const;
    // Stops the playback at a due result the run did not ask for.
    void NeverAskedFor(const DemoEvent& due);
    int FinalUpdate() const { return demo.finalUpdate; }
    const std::vector<DemoMarker>& Markers() const { return demo.markers; }

    // FileAccess: the players' files.
    bool ReadFile(const std::string& path, std::string& bytes, size_t maxSize) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool Exists(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    // The copy's name is part of the recording; a playback makes none.
    std::string KeepCopy(const std::string& path) override;
    // Not recorded, as nothing read depends on it; a playback skips it.
    void RemoveStaleTemporaries(const std::string& path) override;

    // SettingsAccess: a playback never changes the settings.
    bool WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes) override;
    bool ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes) override;
    bool EraseSetting(const std::string& name) override;

private:
    // Stops the playback: the run no longer follows the recording.
    void Diverged(const std::string& why);
    bool Active() const { return IsOpen() && std::this_thread::get_id() == ownerThread; }
    // Notes an outside result when recording; returns `ok`.
    bool RecordResult(DemoEvent::Code code, const std::string& name, bool ok, std::string bytes = {},
                      int kind = 0);
    // The recorded result of this code and name during playback, or null.
    const DemoEvent* PlayResult(DemoEvent::Code code, const std::string& name);
    // The next recorded event when it is of this code and name and due now;
    // anything else means the run no longer follows the recording.
    const DemoEvent* Take(DemoEvent::Code code, const std::string& name);
    // Counts a playback write as matching the recorded one or not.
    void CompareWrite(const DemoEvent& recorded, const std::string& what, int kind, const std::string& bytes);

    Mode mode = Mode::None;
    bool playing = false;
    std::string path = kDefaultFileName;
    bool started = false;
    FileAccess& files;
    SettingsAccess& settings;
    const int& updateCount;
    std::thread::id ownerThread;
    DemoFile demo;
    size_t next = 0;
    bool closed = false;
    bool broken = false;
    Report report;
};

} // namespace Zorvin

#pragma once

// SingleInstance: makes sure only one copy of the program runs per user.
// The first copy holds an exclusive lock on "<product>Mutex" in the user's
// runtime folder for as long as it lives and listens on a named pipe
// "Notify<product>" beside it; a second copy finds the lock taken, writes
// one byte into the pipe so the first copy comes to the front, and ends.
// The application base owns one.

#include <string>

namespace Zorvin {

class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // $XDG_RUNTIME_DIR, or /tmp without one.
    static std::string DefaultFolder();

    // True when this is the only copy (the lock is now held). False when
    // another copy holds it; that copy has then been notified.
    bool Acquire(const std::string& folder, const std::string& productName);
    // True once for every notification another copy sent since the last call.
    bool PollNotified();
    void Release();
    bool IsHeld() const { return lockFd >= 0; }

private:
    int lockFd = -1;
    int notifyFd = -1;
    std::string notifyPath;
};

} // namespace Zorvin

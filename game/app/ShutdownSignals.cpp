#include "game/app/ShutdownSignals.h"

#include <atomic>
#include <csignal>

namespace Zorvin {

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnShutdownSignal(int) { requested.store(true); }

} // namespace

void ShutdownSignals::Install()
{
    struct sigaction action {};
    action.sa_handler = OnShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // The terminal the game was started from went away.
    sigaction(SIGHUP, &action, nullptr);
}

bool ShutdownSignals::Requested() { return requested.load(); }

void ShutdownSignals::Reset() { requested.store(false); }

void ShutdownSignals::Request() { requested.store(true); }

} // namespace Zorvin

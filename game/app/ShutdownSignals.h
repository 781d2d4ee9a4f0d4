#pragma once

// ShutdownSignals: SIGINT, SIGTERM and SIGHUP end the game the same way as
// closing its window. The handler only raises a flag; the application polls it on
// its primary thread and runs its normal shutdown (settings and players
// written, everything released). Installed once by the entry point, before
// the platform starts, so the platform keeps its hands off these signals.

namespace Zorvin {

class ShutdownSignals {
public:
    static void Install();
    static bool Requested();
    // Forgets an earlier request (tests).
    static void Reset();
    // Raises the flag as the handler does (tests).
    static void Request();
};

} // namespace Zorvin

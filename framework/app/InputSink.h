#pragma once

// InputSink: where the window system delivers the desktop's events. The
// application base implements it (it queues the records for its main
// loop); the window system sees nothing else of the application.

#include "framework/app/InputMessage.h"

namespace Zorvin {

class InputSink {
public:
    virtual ~InputSink() = default;

    // One native event, as an input record, in arrival order.
    virtual void OnWindowMessage(const InputMessage& msg) = 0;
    // True once the application has begun to shut down: the window system
    // stops delivering the events still pending.
    virtual bool HasShutdownStarted() const = 0;
};

} // namespace Zorvin

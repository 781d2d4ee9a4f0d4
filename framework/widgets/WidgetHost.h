#pragma once

// WidgetHost: what widgets and controls need from the application that runs
// them: the mouse cursor, the clipboard, whether the window has the focus,
// whether drawing is accelerated, one nested step of the main loop (for a
// control that waits for an answer) and closing a dialog. The application
// base implements it and hands itself to the widget manager; widgets reach
// it through their manager and never through the application object, so
// they run against a small fake in tests. The host outlives the manager.

#include <string>

namespace Zorvin {

class WidgetHost {
public:
    virtual ~WidgetHost() = default;

    // Cursor numbers: 0 arrow, 1 hand, 2 move (dragging a dialog).
    virtual void SetCursorNumber(int number) = 0;
    // Clipboard text, in Windows-1251; empty when there is none.
    virtual void CopyToClipboard(const std::string& text) = 0;
    virtual std::string GetClipboard() = 0;
    // The application's window is active and not minimised.
    virtual bool IsAppFocused() const = 0;
    // Drawing goes through the accelerated display (smooth stretching).
    virtual bool IsAccelerated() const = 0;
    // Runs one step of the main loop from inside a handler; false once the
    // loop is leaving (shutdown). `updated` tells whether a logic update ran.
    virtual bool PumpStep(bool& updated) = 0;
    // Closes the dialog opened under this number; its deletion is deferred
    // until no running step uses it.
    virtual bool CloseDialog(int id) = 0;
};

} // namespace Zorvin

#pragma once

// DrawPacer: when the main loop draws. A frame is drawn only after an
// update asked for one, counts only when the widgets drew something (or a
// second passed, or a draw was forced), and while the loading thread works
// frames are spaced out so it gets the processor. It also keeps the draw
// counters and the frame-rate figure with its display switches. The
// application base owns one and is the only one to tell it what happened.

#include <cstdint>

namespace Zorvin {

class DrawPacer {
public:
    // Someone changed what is on screen: the next step draws.
    void RequestDraw() { pending = true; }
    // The next draw presents even when no widget drew (the cursor or an
    // overlay changed).
    void ForceDraw()
    {
        force = true;
        pending = true;
    }
    bool HasPendingDraw() const { return pending; }
    // The last draw found nothing to show.
    bool LastDrawSkipped() const { return lastSkipped; }

    // Refreshes the frame-rate figure once a second.
    void TickFrameRate(uint32_t now);
    // Whether a frame started at `start` is presented, given whether the
    // widgets drew anything.
    bool ShouldPresent(bool drew, uint32_t start) const;
    // The frame was not presented.
    void Skip()
    {
        pending = false;
        lastSkipped = true;
    }
    // The frame drew from `start` to `drawn` and goes on to be presented.
    void CountDrawn(uint32_t start, uint32_t drawn);
    // The window shows a new picture from `now` on.
    void NoteShown(uint32_t now) { lastDrawTick = now; }
    uint32_t LastShownTick() const { return lastDrawTick; }
    // Presenting took from `presentStart` to `end` of a frame begun at
    // `start`; while loading, the next frame waits to leave the loading
    // thread the processor.
    void Presented(uint32_t start, uint32_t presentStart, uint32_t end, bool loading);

    int DrawCount() const { return draws; }
    int DrawTime() const { return drawMs; }
    int ScreenCopyTime() const { return copyMs; }
    int CurrentFps() const { return currentFps; }

    // The developer's frame-rate display (F3) and what it shows (Shift+F3:
    // 0 frames per second, 1 the mouse position).
    bool ShowsFrameRate() const { return showFps; }
    void ToggleFrameRate() { showFps = !showFps; }
    int FrameRateMode() const { return fpsMode; }
    void SetFrameRateMode(int mode) { fpsMode = mode % 2; }

private:
    bool pending = true;
    bool force = false;
    bool lastSkipped = false;
    uint32_t nextDrawTick = 0;
    uint32_t lastDrawTick = 0;
    int draws = 0;
    int drawMs = 0;
    int copyMs = 0;
    uint32_t fpsTime = 0;
    int fpsCount = 0;
    int currentFps = 0;
    bool showFps = false;
    int fpsMode = 0;
};

} // namespace Zorvin

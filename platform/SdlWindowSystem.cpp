// SdlWindowSystem: the main window, the desktop and input through SDL.
//   the window                  - Open, CreateMainWindow, DestroyMainWindow,
//                                 ShowMainWindow, HideMainWindow, RestoreAndRaise,
//                                 MoveMainWindow
//   the desktop                 - GetDesktopWorkArea, GetWorkAreaAt, GetFrameExtents
//   the pointer                 - SetMouseCapture, CursorFor, SetCursor,
//                                 IsMouseInClientArea, GetViewport, MapMouse
//   events                      - StartTimer, WaitForEvent, PumpEvents, TranslateEvent

#include "platform/SdlWindowSystem.h"

#include "framework/core/Cp1251.h"
#include "framework/app/InputSink.h"
#include "platform/Letterbox.h"
#include "platform/SdlKeyMap.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace Zorvin {

namespace {

// A cursor drawn as pixel art: '#' black outline, '.' white inside, ' '
// clear. The outline runs between the fingers too, so each finger reads.
struct CursorShape {
    int hotX, hotY; // in the 32 x 32 cursor
    int left, top;  // where the picture's first row and column go
    std::vector<const char*> rows;
};

// The pointing hand; the hot spot is the tip of the index finger.
const CursorShape& HandShape()
{
    static const CursorShape shape{11, 2, 6, 2,
                                   {"     ##         ",
                                    "    #..#        ",
                                    "    #..#        ",
                                    "    #..#        ",
                                    "    #..#        ",
                                    "    #..###      ",
                                    "    #..#..##    ",
                                    "    #..#..#.##  ",
                                    " ## #..#..#.#.# ",
                                    "#..##..#..#.#.# ",
                                    "#...#.........# ",
                                    " #............# ",
                                    " #............# ",
                                    "  #...........# ",
                                    "  #..........#  ",
                                    "   #.........#  ",
                                    "   #........#   ",
                                    "    #.......#   ",
                                    "    #########   "}};
    return shape;
}

// The dragging hand: a closed fist, knuckles up, gripping at its middle.
const CursorShape& DragHandShape()
{
    static const CursorShape shape{14, 13, 7, 8,
                                   {"   ## ## ##     ",
                                    "  #..#..#..##   ",
                                    "  #..#..#..#.#  ",
                                    " ##..#..#..#.#  ",
                                    "#..#.........#  ",
                                    "#...#........#  ",
                                    " #...........#  ",
                                    " #...........#  ",
                                    "  #..........#  ",
                                    "  #.........#   ",
                                    "   #........#   ",
                                    "   ##########   "}};
    return shape;
}

// Makes the two bit planes from the picture.
SDL_Cursor* MakeCursor(const CursorShape& shape)
{
    uint8_t data[32 * 4] = {};
    uint8_t mask[32 * 4] = {};
    for (size_t r = 0; r < shape.rows.size(); ++r) {
        int y = shape.top + static_cast<int>(r);
        for (int i = 0; shape.rows[r][i] != '\0'; ++i) {
            int x = shape.left + i;
            char c = shape.rows[r][i];
            if (c == ' ' || x >= 32 || y >= 32)
                continue;
            uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
            mask[y * 4 + x / 8] |= bit;
            if (c == '#')
                data[y * 4 + x / 8] |= bit;
        }
    }
    return SDL_CreateCursor(data, mask, 32, 32, shape.hotX, shape.hotY);
}

InputMessage Message(MessageKind kind, int p1 = 0, int p2 = 0)
{
    InputMessage m;
    m.kind = kind;
    m.param1 = p1;
    m.param2 = p2;
    return m;
}

} // namespace

std::unique_ptr<SdlWindowSystem> SdlWindowSystem::Open(std::string* errorText)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (errorText != nullptr)
            *errorText = SDL_GetError();
        return nullptr;
    }
    // Mouse presses that activate the window count as presses, as players expect.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // The window surface stays a plain memory image sent to the display:
    // SDL would otherwise back it with an accelerated renderer, which under
    // a virtual or remote display is Mesa's rasterizer on the processor
    // (about 70 MB of libraries and a few hundred milliseconds to start).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return std::unique_ptr<SdlWindowSystem>(new SdlWindowSystem());
}

SdlWindowSystem::~SdlWindowSystem()
{
    DestroyMainWindow();
    for (SDL_Cursor*& c : cursors) {
        if (c != nullptr)
            SDL_FreeCursor(c);
        c = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindowSystem::CreateMainWindow(const WindowSpec& spec)
{
    DestroyMainWindow();
    logicalWidth = spec.width > 0 ? spec.width : 800;
    logicalHeight = spec.height > 0 ? spec.height : 600;
    std::string title = Cp1251ToUtf8(spec.title);
    uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    int x = spec.x, y = spec.y, w = logicalWidth, h = logicalHeight;
    if (!spec.windowed) {
        // Made at the size and place of the whole screen: without a window
        // manager nobody carries out the full-screen request, and a window
        // of the logical size would stay while SDL counts, draws and maps
        // the pointer for the screen's size.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_Rect screen;
        if (SDL_GetDisplayBounds(0, &screen) == 0 && screen.w > 0 && screen.h > 0) {
            x = screen.x;
            y = screen.y;
            w = screen.w;
            h = screen.h;
        } else {
            x = y = SDL_WINDOWPOS_UNDEFINED;
        }
    } else {
        // The window can be made larger; the screen is scaled to fit.
        flags |= SDL_WINDOW_RESIZABLE;
    }
    window = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
    if (window == nullptr)
        return false;
    windowId = SDL_GetWindowID(window);
    return true;
}

void SdlWindowSystem::DestroyMainWindow()
{
    if (window == nullptr)
        return;
    SDL_DestroyWindow(window);
    window = nullptr;
    windowId = 0;
}

void SdlWindowSystem::ShowMainWindow(bool activate)
{
    if (window == nullptr)
        return;
    SDL_ShowWindow(window);
    if (activate)
        SDL_RaiseWindow(window);
}

void SdlWindowSystem::HideMainWindow()
{
    if (window != nullptr)
        SDL_HideWindow(window);
}

void SdlWindowSystem::RestoreAndRaise()
{
    if (window == nullptr)
        return;
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED)
        SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
}

Rect SdlWindowSystem::GetDesktopWorkArea()
{
    SDL_Rect r;
    int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &r) != 0)
        return Rect(0, 0, 0, 0);
    return Rect(r.x, r.y, r.w, r.h);
}

Rect SdlWindowSystem::GetWorkAreaAt(int x, int y)
{
    SDL_Point point{x, y};
    int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds, usable;
        if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_PointInRect(&point, &bounds) &&
            SDL_GetDisplayUsableBounds(i, &usable) == 0)
            return Rect(usable.x, usable.y, usable.w, usable.h);
    }
    // A monitor that is gone, or a place off every screen: the first one.
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        return Rect(0, 0, 0, 0);
    return Rect(usable.x, usable.y, usable.w, usable.h);
}

FrameExtents SdlWindowSystem::GetFrameExtents()
{
    FrameExtents frame;
    if (window == nullptr)
        return frame;
    // The window manager announces the frame after it took the window in;
    // SDL learns of it while reading the events (they stay queued for
    // PumpEvents).
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window, &frame.top, &frame.left, &frame.bottom, &frame.right) != 0)
        return FrameExtents();
    return frame;
}

void SdlWindowSystem::MoveMainWindow(int x, int y)
{
    if (window != nullptr)
        SDL_SetWindowPosition(window, x, y);
}

void SdlWindowSystem::SetMouseCapture(bool capture) { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }

SDL_Cursor* SdlWindowSystem::CursorFor(int n)
{
    if (n < 0 || n > 10)
        n = 0;
    if (cursors[n] != nullptr)
        return cursors[n];
    switch (n) {
    case 1: cursors[n] = MakeCursor(HandShape()); break;
    case 2: cursors[n] = MakeCursor(DragHandShape()); break;
    case 3: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM); break;
    case 4: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO); break;
    case 5: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEALL); break;
    case 6: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENESW); break;
    case 7: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS); break;
    case 8: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE); break;
    case 9: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEWE); break;
    case 10: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT); break;
    default: cursors[n] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW); break;
    }
    return cursors[n];
}

void SdlWindowSystem::SetCursor(int cursorNumber)
{
    if (cursorNumber == currentCursor)
        return;
    currentCursor = cursorNumber;
    if (cursorNumber == 11 || cursorNumber == 12) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (SDL_Cursor* c = CursorFor(cursorNumber))
        SDL_SetCursor(c);
    SDL_ShowCursor(SDL_ENABLE);
}

bool SdlWindowSystem::IsMouseInClientArea()
{
    if (window == nullptr)
        return false;
    return SDL_GetMouseFocus() == window || mouseInWindow;
}

void SdlWindowSystem::StartTimer(int periodMs)
{
    timerPeriod = periodMs;
    lastTimerTick = SDL_GetTicks();
}

Rect SdlWindowSystem::GetViewport()
{
    int w = logicalWidth, h = logicalHeight;
    if (window != nullptr)
        SDL_GetWindowSize(window, &w, &h);
    return Letterbox::Fit(w, h, logicalWidth, logicalHeight);
}

void SdlWindowSystem::MapMouse(int wx, int wy, int& lx, int& ly)
{
    Letterbox::WindowToLogical(GetViewport(), logicalWidth, logicalHeight, wx, wy, lx, ly);
}

bool SdlWindowSystem::WaitForEvent(int timeoutMs)
{
    // A null event leaves whatever arrives in the queue for PumpEvents.
    SDL_WaitEventTimeout(nullptr, timeoutMs);
    return true;
}

void SdlWindowSystem::PumpEvents(InputSink& app)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        TranslateEvent(event, app);
        if (app.HasShutdownStarted())
            break;
    }
    if (timerPeriod > 0) {
        uint32_t now = SDL_GetTicks();
        if (now - lastTimerTick >= static_cast<uint32_t>(timerPeriod)) {
            lastTimerTick = now;
            app.OnWindowMessage(Message(MessageKind::Timer));
        }
    }
}

void SdlWindowSystem::TranslateEvent(const SDL_Event& event, InputSink& app)
{
    switch (event.type) {
    case SDL_QUIT:
        app.OnWindowMessage(Message(MessageKind::Close));
        break;
    case SDL_WINDOWEVENT:
        if (event.window.windowID != windowId)
            break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: app.OnWindowMessage(Message(MessageKind::Close)); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: app.OnWindowMessage(Message(MessageKind::Activate, 1)); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: app.OnWindowMessage(Message(MessageKind::Activate, 0)); break;
        case SDL_WINDOWEVENT_MINIMIZED: app.OnWindowMessage(Message(MessageKind::Size, 1)); break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: app.OnWindowMessage(Message(MessageKind::Size, 0)); break;
        case SDL_WINDOWEVENT_MOVED: {
            // Where the window is now: a move made since this event was
            // queued (MoveMainWindow) is not reported again.
            int x = event.window.data1, y = event.window.data2;
            if (window != nullptr)
                SDL_GetWindowPosition(window, &x, &y);
            app.OnWindowMessage(Message(MessageKind::Move, x, y));
            break;
        }
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: app.OnWindowMessage(Message(MessageKind::Paint)); break;
        case SDL_WINDOWEVENT_ENTER: mouseInWindow = true; break;
        case SDL_WINDOWEVENT_LEAVE: mouseInWindow = false; break;
        default: break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int vk = SdlKeyMap::ToVirtualKey(event.key.keysym.sym);
        if (vk == 0)
            break;
        bool down = event.type == SDL_KEYDOWN;
        bool alt = (event.key.keysym.mod & KMOD_ALT) != 0 || vk == 18;
        bool ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
        MessageKind kind = alt ? (down ? MessageKind::SysKeyDown : MessageKind::SysKeyUp)
                               : (down ? MessageKind::KeyDown : MessageKind::KeyUp);
        app.OnWindowMessage(Message(kind, vk));
        // Keys that type a control character, as the desktop's text input
        // does not report them: Backspace, Tab, Enter, Escape, Ctrl+letter.
        if (down && !alt) {
            int ch = 0;
            if (ctrl && vk >= 'A' && vk <= 'Z')
                ch = vk - 'A' + 1;
            else if (!ctrl && (vk == 8 || vk == 9 || vk == 13 || vk == 27))
                ch = vk;
            if (ch != 0)
                app.OnWindowMessage(Message(MessageKind::Char, ch));
        }
        break;
    }
    case SDL_TEXTINPUT: {
        std::string text = Utf8ToCp1251(event.text.text);
        for (char c : text)
            app.OnWindowMessage(Message(MessageKind::Char, static_cast<unsigned char>(c)));
        break;
    }
    case SDL_MOUSEMOTION: {
        if (event.motion.windowID != windowId || event.motion.which == SDL_TOUCH_MOUSEID)
            break;
        int lx, ly;
        MapMouse(event.motion.x, event.motion.y, lx, ly);
        app.OnWindowMessage(Message(MessageKind::MouseMove, lx, ly));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (event.button.windowID != windowId || event.button.which == SDL_TOUCH_MOUSEID)
            break;
        int lx, ly;
        MapMouse(event.button.x, event.button.y, lx, ly);
        bool down = event.type == SDL_MOUSEBUTTONDOWN;
        // Every second press of a quick series is a double click.
        bool dbl = down && event.button.clicks >= 2 && event.button.clicks % 2 == 0;
        MessageKind kind;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            kind = down ? (dbl ? MessageKind::LButtonDblClk : MessageKind::LButtonDown) : MessageKind::LButtonUp;
            break;
        case SDL_BUTTON_RIGHT:
            kind = down ? (dbl ? MessageKind::RButtonDblClk : MessageKind::RButtonDown) : MessageKind::RButtonUp;
            break;
        case SDL_BUTTON_MIDDLE: kind = down ? MessageKind::MButtonDown : MessageKind::MButtonUp; break;
        default: return;
        }
        app.OnWindowMessage(Message(kind, lx, ly));
        break;
    }
    case SDL_MOUSEWHEEL: {
        int delta = event.wheel.y * 120;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            delta = -delta;
        if (delta != 0)
            app.OnWindowMessage(Message(MessageKind::MouseWheel, delta));
        break;
    }
    default:
        break;
    }
}

} // namespace Zorvin

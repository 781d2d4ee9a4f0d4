#include "tests/framework/app/AppTestSupport.h"
#include "framework/core/Cp1251.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/GpuProbe.h"
#include "platform/Letterbox.h"
#include "platform/SdlKeyMap.h"
#include "platform/SdlPresenter.h"
#include "platform/SdlSystemServices.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// Records what reaches the widget manager.
class Recorder : public Widget {
public:
    Recorder() { Resize(0, 0, 800, 600); }
    void KeyDown(int key) override { log.push_back("kd " + std::to_string(key)); }
    void KeyUp(int key) override { log.push_back("ku " + std::to_string(key)); }
    void CharTyped(char ch) override { log.push_back("ch " + std::to_string(static_cast<unsigned char>(ch))); }
    void MouseDown(int x, int y, int clickCode) override
    {
        log.push_back("md " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(clickCode));
    }
    void MouseUp(int x, int y, int clickCode) override
    {
        log.push_back("mu " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(clickCode));
    }
    void MouseWheel(int delta) override { log.push_back("wh " + std::to_string(delta)); }
    std::vector<std::string> log;
};

class SdlInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        windows = SdlWindowSystem::Open(&error);
        ASSERT_NE(windows, nullptr) << error;
        presenter = std::make_unique<SdlPresenter>(windows.get());
        app = std::make_unique<TestApp>(&clock);
        app->width = 800;
        app->height = 600;
        app->SetWindowSystem(windows.get());
        app->SetPresenter(presenter.get());
        app->Initialize();
        ASSERT_TRUE(app->initialized);
        app->running = true;
        app->GetWidgetManager()->AddChild(&recorder);
        app->GetWidgetManager()->SetFocusWidget(&recorder);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override
    {
        if (app)
            app->GetWidgetManager()->RemoveChild(&recorder);
        app.reset();
        presenter.reset();
        windows.reset();
    }
    uint32_t WindowId() { return SDL_GetWindowID(windows->GetWindow()); }
    void Key(bool down, SDL_Keycode sym, uint16_t mod = 0)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = WindowId();
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    void Button(bool down, int button, int x, int y, int clicks = 1)
    {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = WindowId();
        e.button.button = static_cast<uint8_t>(button);
        e.button.x = x;
        e.button.y = y;
        e.button.clicks = static_cast<uint8_t>(clicks);
        SDL_PushEvent(&e);
    }
    void WindowEvent(SDL_WindowEventID id)
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = WindowId();
        e.window.event = id;
        SDL_PushEvent(&e);
    }
    // Pumps the SDL queue into the application and handles every record.
    void Deliver()
    {
        windows->PumpEvents(*app);
        while (app->ProcessQueuedMessage()) {
        }
    }

    FakeClock clock;
    std::unique_ptr<SdlWindowSystem> windows;
    std::unique_ptr<SdlPresenter> presenter;
    std::unique_ptr<TestApp> app;
    Recorder recorder;
};

} // namespace

TEST(Letterbox, FitsAndMapsCornersBack)
{
    EXPECT_EQ(Letterbox::Fit(800, 600, 800, 600), Rect(0, 0, 800, 600));
    EXPECT_EQ(Letterbox::Fit(1920, 1080, 800, 600), Rect(240, 0, 1440, 1080));
    EXPECT_EQ(Letterbox::Fit(800, 1000, 800, 600), Rect(0, 200, 800, 600));
    Rect r = Letterbox::Fit(1920, 1080, 800, 600);
    int x, y;
    Letterbox::WindowToLogical(r, 800, 600, 1679, 1079, x, y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);
    Letterbox::WindowToLogical(r, 800, 600, 240, 0, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // The bars and beyond lie outside the logical screen, not on its edge.
    Letterbox::WindowToLogical(r, 800, 600, 239, 540, x, y); // on the left bar
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, 300);
    Letterbox::WindowToLogical(r, 800, 600, 1680, -3, x, y); // right bar, above the window
    EXPECT_EQ(x, 800);
    EXPECT_EQ(y, -2);
    // A window pixel maps to the logical pixel drawn at its centre: at scale
    // 1.8 window x 245 (5.5 pixels in) shows logical x 3.
    Letterbox::WindowToLogical(r, 800, 600, 245, 1077, x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 598);
}

TEST(SdlKeyMap, GameKeysGetTheirNumbers)
{
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_ESCAPE), 27);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_TAB), 9);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_F1), 0x70);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_F12), 0x7B);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_PAGEUP), 0x21);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_PAGEDOWN), 0x22);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_INSERT), 0x2D);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_DELETE), 0x2E);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_KP_0), 0x60);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_KP_9), 0x69);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_d), 'D');
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_7), '7');
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_LCTRL), 17);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_RALT), 18);
    EXPECT_EQ(SdlKeyMap::ToVirtualKey(SDLK_AUDIOPLAY), 0);
}

TEST_F(SdlInput, EventsArriveInOrderWithClickCodes)
{
    Button(true, SDL_BUTTON_LEFT, 10, 20);
    Button(false, SDL_BUTTON_LEFT, 10, 20);
    Button(true, SDL_BUTTON_LEFT, 10, 20, 2);
    Button(false, SDL_BUTTON_LEFT, 10, 20, 2);
    Button(true, SDL_BUTTON_RIGHT, 11, 21);
    Button(false, SDL_BUTTON_RIGHT, 11, 21);
    Button(true, SDL_BUTTON_MIDDLE, 12, 22);
    Button(false, SDL_BUTTON_MIDDLE, 12, 22);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = WindowId();
    wheel.wheel.y = -2;
    SDL_PushEvent(&wheel);
    Deliver();
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"md 10,20 1", "mu 10,20 1", "md 10,20 2", "mu 10,20 1",
                                                      "md 11,21 -1", "mu 11,21 -1", "md 12,22 3", "mu 12,22 3",
                                                      "wh -2"}));
}

TEST_F(SdlInput, OneQueuedRecordPerStepAndTimersCoalesce)
{
    Key(true, SDLK_a);
    Key(false, SDLK_a);
    windows->PumpEvents(*app);
    InputMessage timer;
    timer.kind = MessageKind::Timer;
    app->OnWindowMessage(timer);
    app->OnWindowMessage(timer);
    EXPECT_EQ(app->messageQueue.size(), 3u);
    EXPECT_TRUE(app->ProcessQueuedMessage());
    EXPECT_EQ(recorder.log, std::vector<std::string>{"kd 65"});
    EXPECT_TRUE(app->ProcessQueuedMessage());
    EXPECT_FALSE(app->ProcessQueuedMessage());
}

TEST_F(SdlInput, KeysAndTextReachTheFocusWidget)
{
    Key(true, SDLK_F1);
    Key(false, SDLK_F1);
    Key(true, SDLK_KP_5);
    Key(true, SDLK_BACKSPACE);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = WindowId();
    std::strcpy(text.text.text, "Ёж");
    SDL_PushEvent(&text);
    Deliver();
    std::string cp = W("Ёж");
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"kd 112", "ku 112", "kd 101", "kd 8", "ch 8",
                                                      "ch " + std::to_string(static_cast<unsigned char>(cp[0])),
                                                      "ch " + std::to_string(static_cast<unsigned char>(cp[1]))}));
}

TEST_F(SdlInput, FocusLossReleasesHeldKeysAndMutes)
{
    Key(true, SDLK_LEFT);
    Deliver();
    EXPECT_TRUE(app->GetWidgetManager()->IsKeyDown(0x25));
    WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Deliver();
    EXPECT_FALSE(app->hasFocus);
    EXPECT_TRUE(app->IsMuted());
    EXPECT_EQ(recorder.log.back(), "ku 37");
    WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    Deliver();
    EXPECT_TRUE(app->hasFocus);
    EXPECT_FALSE(app->IsMuted());
}

TEST_F(SdlInput, CtrlAltDTogglesTheDebugKeys)
{
    Key(true, SDLK_LCTRL, KMOD_LCTRL);
    Key(true, SDLK_LALT, KMOD_LCTRL | KMOD_LALT);
    Key(true, SDLK_d, KMOD_LCTRL | KMOD_LALT);
    Deliver();
    EXPECT_TRUE(app->debugKeysEnabled);
}

TEST_F(SdlInput, ScaledWindowMapsItsCornerToTheLastLogicalPixel)
{
    SDL_SetWindowSize(windows->GetWindow(), 1600, 1200);
    int w = 0, h = 0;
    SDL_GetWindowSize(windows->GetWindow(), &w, &h);
    ASSERT_EQ(w, 1600);
    Button(true, SDL_BUTTON_LEFT, 1599, 1199);
    Button(false, SDL_BUTTON_LEFT, 0, 0);
    Deliver();
    ASSERT_EQ(recorder.log.size(), 2u);
    EXPECT_EQ(recorder.log[0], "md 799,599 1");
    EXPECT_EQ(recorder.log[1], "mu 0,0 1");
    // Pressed on the edge pixel, released beyond the window: the release is
    // off the screen, so a widget on the edge sees no click.
    recorder.log.clear();
    Button(true, SDL_BUTTON_LEFT, 1599, 600);
    Button(false, SDL_BUTTON_LEFT, 1700, 600);
    Deliver();
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"md 799,300 1", "mu 850,300 1"}));
}

TEST_F(SdlInput, ScreenModeSwitchKeepsDrawing)
{
    EXPECT_EQ(presenter->Initialize(true, false), RESULT_OK);
    MemoryImage* screen = app->GetScreenImage();
    ASSERT_NE(screen, nullptr);
    screen->SetPixel(0, 0, 0xFF123456u);
    EXPECT_TRUE(presenter->Present(screen->GetBits(), 800, 600));
    app->SwitchScreenMode(false);
    EXPECT_FALSE(app->GetDisplayState().IsPhysicallyWindowed());
    EXPECT_TRUE(presenter->Present(screen->GetBits(), 800, 600));
    app->SwitchScreenMode(true);
    EXPECT_TRUE(app->GetDisplayState().IsPhysicallyWindowed());
    presenter->SetUploadMode(SdlPresenter::UploadMode::LockTexture);
    EXPECT_TRUE(presenter->Present(screen->GetBits(), 800, 600));
    EXPECT_FALSE(presenter->Present(screen->GetBits(), 640, 480)); // wrong size is refused
    app->RunFor(clock, 100);
    EXPECT_GE(app->GetDrawPacer().DrawCount(), 1);
}

// What the window shows at (x, y), as the frame's RGB.
static uint32_t WindowPixel(SDL_Window* w, int x, int y)
{
    SDL_Surface* s = SDL_GetWindowSurface(w);
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
}

TEST_F(SdlInput, WindowSurfaceShowsChangedPartsAndScalesLikeThePointer)
{
    ASSERT_EQ(presenter->Initialize(true, false), RESULT_OK);
    EXPECT_FALSE(presenter->Is3D());
    SDL_Window* w = windows->GetWindow();
    std::vector<uint32_t> frame(800 * 600);
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    ASSERT_TRUE(presenter->Present(frame.data(), 800, 600));
    EXPECT_EQ(WindowPixel(w, 799, 599), frame[599 * 800 + 799] & 0xFFFFFFu);
    // Only the changed rectangle is copied: a change outside it stays unseen.
    frame[10 * 800 + 10] = 0xFF010203u;
    frame[500 * 800 + 700] = 0xFF040506u;
    long long before = presenter->GetUploadedPixels();
    Rect part(0, 0, 20, 20);
    ASSERT_TRUE(presenter->PresentChanged(frame.data(), 800, 600, &part, 1));
    EXPECT_EQ(presenter->GetUploadedPixels() - before, 400);
    EXPECT_EQ(WindowPixel(w, 10, 10), 0x010203u);
    EXPECT_NE(WindowPixel(w, 700, 500), 0x040506u);

    // A larger window of another shape: letterboxed, black bars, and every
    // window pixel shows the logical pixel the pointer maps it to, after a
    // partial update as after a whole one.
    SDL_SetWindowSize(w, 1000, 900);
    ASSERT_TRUE(presenter->Present(frame.data(), 800, 600));
    Rect fit = Letterbox::Fit(1000, 900, 800, 600);
    ASSERT_EQ(fit, Rect(0, 75, 1000, 750));
    EXPECT_EQ(WindowPixel(w, 500, 10), 0u);
    EXPECT_EQ(WindowPixel(w, 500, 899), 0u);
    for (int i = 0; i < 64 * 64; ++i)
        frame[(300 + i / 64) * 800 + 400 + i % 64] ^= 0x00FFFFFFu;
    part = Rect(400, 300, 64, 64);
    ASSERT_TRUE(presenter->PresentChanged(frame.data(), 800, 600, &part, 1));
    int mismatches = 0;
    for (int y = fit.y; y < fit.Bottom(); ++y) {
        for (int x = 0; x < 1000; ++x) {
            int lx, ly;
            Letterbox::WindowToLogical(fit, 800, 600, x, y, lx, ly);
            mismatches += WindowPixel(w, x, y) != (frame[ly * 800 + lx] & 0xFFFFFFu);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(GpuProbe, TellsRasterizersFromGraphicsProcessors)
{
    for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer", "SWR (LLVM 12)",
                             "Mesa X11", "GDI Generic", "Microsoft Basic Render Driver"})
        EXPECT_TRUE(GpuProbe::IsSoftwareRasterizer(name)) << name;
    for (const char* name : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "AMD Radeon RX 6600 (radeonsi, navi23)",
                             "NVIDIA GeForce GTX 1060/PCIe/SSE2", "virgl", "opengl"})
        EXPECT_FALSE(GpuProbe::IsSoftwareRasterizer(name)) << name;

    namespace fs = std::filesystem;
    fs::path dev = fs::temp_directory_path() / ("gpuprobe-" + std::to_string(::getpid()));
    fs::create_directories(dev / "dri");
    ::unsetenv("LIBGL_ALWAYS_SOFTWARE");
    ::unsetenv("GALLIUM_DRIVER");
    EXPECT_NE(GpuProbe::SoftwareOnlyReason("x11", dev.string()), "");
    EXPECT_NE(GpuProbe::SoftwareOnlyReason("dummy", "/dev"), "");
    std::FILE* node = std::fopen((dev / "dri" / "renderD128").c_str(), "w");
    ASSERT_NE(node, nullptr);
    std::fclose(node);
    EXPECT_EQ(GpuProbe::SoftwareOnlyReason("x11", dev.string()), "");
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    EXPECT_NE(GpuProbe::SoftwareOnlyReason("x11", dev.string()), "");
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "0", 1);
    ::setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    EXPECT_NE(GpuProbe::SoftwareOnlyReason("wayland", dev.string()), "");
    ::unsetenv("LIBGL_ALWAYS_SOFTWARE");
    ::unsetenv("GALLIUM_DRIVER");
    fs::remove_all(dev);
}

TEST_F(SdlInput, CloseEndsTheRunAndNothingQueuesAfterIt)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    Key(true, SDLK_a);
    Deliver();
    EXPECT_TRUE(app->closeRequest);
    EXPECT_TRUE(app->HasShutdownStarted());
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(SdlInput, CursorsCanBeChosenByNumber)
{
    for (int n = 0; n <= 13; ++n)
        windows->SetCursor(n); // the built-in hands and every system shape
    app->SetCursorNumber(1);
    EXPECT_EQ(app->cursorNum, 1);
}

TEST(SdlSystemServices, WithoutADisplayMessagesGoToStandardError)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    SdlSystemServices services;
    testing::internal::CaptureStderr();
    int answer = services.ShowMessageBox(W("Нет диска"), "FATAL ERROR", MB_OK | MB_ICONERROR);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_NE(err.find("FATAL ERROR: Нет диска"), std::string::npos);
    EXPECT_EQ(services.ShowMessageBox("q", "t", MB_YESNO), IDNO);
    EXPECT_FALSE(services.OpenUrl("rm -rf /"));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

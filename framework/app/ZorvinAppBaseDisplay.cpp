// The application base's display: the main window and screen modes,
// drawing and presenting frames, cursors, and pictures of the screen.
//
//   CreateMainWindow, SwitchScreenMode   window, full screen, acceleration
//   PlaceWindow, ShowMainWindow           where the window goes, frame included
//   Redraw, PresentScreen                 drawing, presenting, recovery
//   GetFrameRateImage, MarkAllDirty
//   ApplyCursor and the cursor setters    system and software cursors
//   HideWindow
//   TakeScreenshot, DumpImages            pictures for the developer
//
// Sections:
//   - the main window and screen modes
//   - drawing and presenting frames
//   - text plates and the frame-rate display
//   - cursors
//   - hiding the window
//   - screen pixels, screenshots and image dumps

#include "framework/app/ZorvinAppBase.h"

#include "framework/core/FileUtil.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/font/SysFont.h"
#include "framework/app/Presenter.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/WindowSystem.h"

#include <algorithm>
#include <cstdio>

namespace Zorvin {

void ZorvinAppBase::CreateMainWindow()
{
    if (windowSystem == nullptr) {
        // Headless: there is nothing to show, but the state stays consistent.
        display.NoWindow();
        MarkAllDirty();
        return;
    }
    bool windowed = display.WantsWindow() || IsPlayingDemo();
    WindowSpec spec;
    spec.title = title;
    spec.width = width;
    spec.height = height;
    spec.windowed = windowed;
    if (windowed)
        PlaceWindow(FrameExtents(), spec.x, spec.y); // the frame is known once the window is up
    if (!windowSystem->CreateMainWindow(spec)) {
        ShowFatalError("Failed to create the main window.");
        ExitNow(1);
        return;
    }
    display.WindowMade(windowed);
    if (display.FirstDisplay()) {
        bool stored = false;
        if (ReadSettingBoolean("Is3D", stored))
            display.Choose3D(stored);
    }
    OnBeforeDisplayInit();
    int result = presenter != nullptr ? presenter->Initialize(windowed, display.Is3D()) : RESULT_OK;
    if (presenter != nullptr && presenter->Test3DDecided())
        EraseSetting("Is3D");
    if (result == RESULT_INVALID_COLORDEPTH && windowed) {
        if (display.WindowedFailedOnce()) {
            ShowFatalError("Please set your desktop color depth to 16 bit.");
            ExitNow(1);
            return;
        }
        display.ForceFullScreen();
        SwitchScreenMode(false);
        return;
    }
    if ((result == RESULT_EXCLUSIVE_FAIL || result == RESULT_DISPCHANGE_FAIL) && !windowed) {
        // Full screen does not work either: back to a window, where a
        // second failure ends with the fatal message.
        display.FullScreenFailed();
        SwitchScreenMode(true);
        return;
    }
    if (result != RESULT_OK && display.Is3D()) {
        // Acceleration failed: the software renderer takes over at once
        // rather than leaving the window without a display.
        display.Drop3D();
        result = presenter->Initialize(windowed, false);
    }
    if (result != RESULT_OK) {
        std::string detail = presenter != nullptr ? presenter->GetErrorText() : std::string();
        ShowFatalError(std::string("Failed to initialize DirectDraw: ") + DisplayResultName(result) + " " + detail);
        ExitNow(1);
        return;
    }
    display.Restored();
    if (minimized) {
        minimized = false;
        if (muteOnLostFocus)
            Unmute(true);
    }
    MarkAllDirty();
    windowSystem->StartTimer(frameClock.FrameTime());
}

void ZorvinAppBase::PlaceWindow(const FrameExtents& frame, int& x, int& y)
{
    int preferredX = display.PreferredX();
    int preferredY = display.PreferredY();
    bool centred = preferredX == -1 || preferredY == -1;
    Rect area = centred ? windowSystem->GetDesktopWorkArea() : windowSystem->GetWorkAreaAt(preferredX, preferredY);
    int outerW = width + frame.left + frame.right;
    int outerH = height + frame.top + frame.bottom;
    if (centred) {
        x = area.x + (area.width - outerW) / 2 + frame.left;
        y = area.y + static_cast<int>((area.height - outerH) * 0.382) + frame.top;
        return;
    }
    // The whole frame at least 4 pixels inside the work area; a window
    // larger than the area keeps its title bar on screen.
    x = std::max(area.x + 4, std::min(preferredX - frame.left, area.x + area.width - outerW - 4)) + frame.left;
    y = std::max(area.y + 4, std::min(preferredY - frame.top, area.y + area.height - outerH - 4)) + frame.top;
}

void ZorvinAppBase::ShowMainWindow()
{
    if (windowSystem == nullptr || !display.HasWindow())
        return;
    windowSystem->ShowMainWindow(!isOpeningUrl);
    if (!display.IsPhysicallyWindowed())
        return;
    // A window manager puts its frame, not the drawing area, where the
    // window was asked to go, so each start would find the window a frame
    // lower and further right than it was left. Once the frame is known the
    // drawing area goes back to its place, with the frame inside the work
    // area.
    FrameExtents frame = windowSystem->GetFrameExtents();
    if (frame.IsEmpty())
        return;
    int x = 0, y = 0;
    PlaceWindow(frame, x, y);
    windowSystem->MoveMainWindow(x, y);
}

void ZorvinAppBase::SwitchScreenMode(bool wantWindowed, bool use3D, bool force)
{
    if (display.IsFullScreenForced())
        wantWindowed = false;
    if (use3D != display.Is3D()) {
        display.Switch3D(use3D);
        if (wantWindowed == display.WantsWindow() && !force) {
            bool phys = display.IsPhysicallyWindowed();
            if (presenter != nullptr && display.HasWindow() && presenter->Initialize(phys, use3D) != RESULT_OK) {
                display.Drop3D();
                presenter->Initialize(phys, false);
            }
            MarkAllDirty();
            return;
        }
    } else if (wantWindowed == display.WantsWindow() && !force) {
        return;
    }
    display.SetWantsWindow(wantWindowed);
    CreateMainWindow();
    ShowMainWindow();
    drawPacer.NoteShown(Now());
}

bool ZorvinAppBase::Redraw()
{
    if (display.IsLost()) {
        PresentScreen();
        return false;
    }
    uint32_t start = Now();
    drawPacer.TickFrameRate(start);
    bool drew = false;
    if (!tearingDown) {
        isDrawing = true;
        drew = widgetManager->DrawDirtyWidgets();
        isDrawing = false;
    }
    uint32_t drawn = Now();
    if (!drawPacer.ShouldPresent(drew, start)) {
        drawPacer.Skip();
        return false;
    }
    drawPacer.CountDrawn(start, drawn);

    if (display.IsPhysicallyWindowed() && frameClock.SleepsForVSync()) {
        int period = presenter != nullptr ? presenter->GetRefreshPeriodMs() : 10;
        int wait = period - static_cast<int>(Now() - drawPacer.LastShownTick());
        if (wait > 0)
            clock->Sleep(wait);
    }
    uint32_t presentStart = Now();
    drawPacer.NoteShown(presentStart);
    PresentScreen();
    uint32_t end = Now();
    frameClock.AddDrawTime(end);
    drawPacer.Presented(start, presentStart, end, loadingThreadStarted && !loadingThreadCompleted);
    return true;
}

void ZorvinAppBase::PresentScreen()
{
    if (isDrawing || shutdown || tearingDown || presenter == nullptr || !display.HasWindow())
        return;
    if (!display.IsLost()) {
        const uint32_t* pixels = GetScreenPixels();
        MemoryImage* rate = drawPacer.ShowsFrameRate() ? GetFrameRateImage() : nullptr;
        MemoryImage* overlay = demoOverlay.get();
        if (pixels != nullptr && (softwareCursor != nullptr || rate != nullptr || overlay != nullptr) &&
            screenImage != nullptr) {
            // The frame-rate figure and the cursor go on a copy so the
            // screen image keeps only what the widgets drew.
            if (!cursorFrame)
                cursorFrame = std::make_unique<MemoryImage>();
            cursorFrame->SetBits(pixels, width, height, false);
            Graphics g(cursorFrame.get());
            if (rate != nullptr)
                g.DrawImage(rate, width - rate->GetWidth() - 10, height - rate->GetHeight() - 10);
            if (overlay != nullptr)
                g.DrawImage(overlay, 10, 10);
            if (softwareCursor != nullptr)
                g.DrawImage(softwareCursor, widgetManager->lastMouseX - softwareCursorHotX,
                            widgetManager->lastMouseY - softwareCursorHotY);
            pixels = cursorFrame->GetBits();
        }
        if (pixels == nullptr)
            return;
        const std::vector<Rect>& changed = frameDiff.Compare(pixels, width, height);
        if (changed.empty())
            return; // the window already shows this frame
        if (presenter->PresentChanged(pixels, width, height, changed.data(), int(changed.size())))
            return;
        frameDiff.Reset();
        display.Lose(Now());
    }
    // Recovery: at most once a second in a window, at every call while
    // active in full screen, never while minimised.
    bool phys = display.IsPhysicallyWindowed();
    if (minimized || (!phys && !active))
        return;
    uint32_t now = Now();
    if (!display.RecoveryAllowed(now))
        return;
    OnBeforeDisplayInit();
    int result = presenter->Initialize(phys, display.Is3D());
    if (result == RESULT_INVALID_COLORDEPTH && phys && active) {
        display.ForceFullScreen();
        SwitchScreenMode(false);
        return;
    }
    if (result != RESULT_OK && display.Is3D()) {
        // Kept next to the acceleration test's record so the cause can be
        // found after the run.
        WriteSettingString("Test3D\\RuntimeError",
                           std::string(DisplayResultName(result)) + ": " + presenter->GetErrorText());
        display.Drop3D();
        return;
    }
    if (result != RESULT_OK)
        return;
    display.Restored();
    MarkAllDirty();
    drawPacer.NoteShown(now);
}

std::unique_ptr<MemoryImage> ZorvinAppBase::MakeTextPlate(const std::vector<std::string>& lines)
{
    if (!frameRateFont)
        frameRateFont = std::make_unique<SysFont>("Arial", 10, true);
    if (!frameRateFont->IsLoaded())
        return nullptr;
    int w = 0;
    for (const std::string& line : lines)
        w = std::max(w, frameRateFont->StringWidth(line));
    int lineHeight = frameRateFont->GetHeight() + 2;
    auto plate = std::make_unique<MemoryImage>(w + 16, lineHeight * static_cast<int>(lines.size()) + 12);
    Graphics g(plate.get());
    g.SetColor(Color(0, 0, 0, 190));
    g.FillRect(0, 0, plate->GetWidth(), plate->GetHeight());
    g.SetFont(frameRateFont.get());
    g.SetColor(Color(255, 255, 255));
    for (size_t i = 0; i < lines.size(); ++i)
        g.DrawString(lines[i], 8, 6 + static_cast<int>(i) * lineHeight + frameRateFont->GetAscent());
    return plate;
}

MemoryImage* ZorvinAppBase::GetFrameRateImage()
{
    char text[64];
    if (drawPacer.FrameRateMode() == 1)
        std::snprintf(text, sizeof(text), "%d, %d", widgetManager->lastMouseX, widgetManager->lastMouseY);
    else
        std::snprintf(text, sizeof(text), "FPS: %d", drawPacer.CurrentFps());
    if (frameRateImage && frameRateText == text)
        return frameRateImage.get();
    if (!frameRateFont)
        frameRateFont = std::make_unique<SysFont>("Arial", 10, true);
    if (!frameRateFont->IsLoaded())
        return nullptr;
    frameRateText = text;
    // White figures on a dark plate, readable over any screen.
    int w = frameRateFont->StringWidth(frameRateText) + 8;
    int h = frameRateFont->GetHeight() + 4;
    frameRateImage = std::make_unique<MemoryImage>(w, h);
    Graphics g(frameRateImage.get());
    g.SetColor(Color(0, 0, 0, 160));
    g.FillRect(0, 0, w, h);
    g.SetFont(frameRateFont.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawString(frameRateText, 4, 2 + frameRateFont->GetAscent());
    return frameRateImage.get();
}

void ZorvinAppBase::MarkAllDirty()
{
    widgetManager->MarkTreeDirty();
    drawPacer.RequestDraw();
    frameDiff.Reset(); // a re-created display holds no frame yet
}

void ZorvinAppBase::ApplyCursor()
{
    if (windowSystem == nullptr || !display.HasWindow())
        return;
    Image* newSoftware = nullptr;
    if (display.IsHidden() || !mouseIn) {
        windowSystem->SetCursor(0);
    } else {
        auto custom = customCursors.find(cursorNum);
        if (custom != customCursors.end() && (customCursorsEnabled || IsPlayingDemo() || cursorNum == 12)) {
            // The application draws this one over the screen; the system's
            // cursor is hidden meanwhile.
            newSoftware = custom->second.image;
            softwareCursorHotX = custom->second.hotX;
            softwareCursorHotY = custom->second.hotY;
            windowSystem->SetCursor(11);
        } else {
            windowSystem->SetCursor(cursorNum);
        }
    }
    if (newSoftware != softwareCursor) {
        softwareCursor = newSoftware;
        drawPacer.ForceDraw();
    }
}

void ZorvinAppBase::SetCustomCursorImage(int number, Image* image, int hotX, int hotY)
{
    if (image == nullptr)
        customCursors.erase(number);
    else
        customCursors[number] = CustomCursor{image, hotX, hotY};
    ApplyCursor();
}

void ZorvinAppBase::SetCursorNumber(int number)
{
    cursorNum = number;
    ApplyCursor();
}

void ZorvinAppBase::SetCustomCursorsEnabled(bool enabled)
{
    customCursorsEnabled = enabled;
    ApplyCursor();
}

void ZorvinAppBase::HideWindow()
{
    ApplyMusicVolumeToDevice(0.0);
    if (windowSystem != nullptr && display.HasWindow())
        windowSystem->HideMainWindow();
    display.Hide();
    ApplyCursor();
}

const uint32_t* ZorvinAppBase::GetScreenPixels()
{
    return screenImage != nullptr ? screenImage->GetBits() : nullptr;
}

std::string ZorvinAppBase::TakeScreenshot()
{
    if (screenImage == nullptr || !FileUtil::CreateFolders("_screenshots"))
        return std::string();
    for (int n = 0; n < 100000; ++n) {
        std::string path = "_screenshots/" + std::to_string(n) + ".png";
        if (FileUtil::Exists(path))
            continue;
        // With the playback's marker list up, the picture as the window shows it.
        MemoryImage& shown = demoOverlay && cursorFrame ? *cursorFrame : *screenImage;
        return PngWriter::Write(shown, path) ? path : std::string();
    }
    return std::string();
}

int ZorvinAppBase::DumpImages()
{
    if (!FileUtil::CreateFolders("_dump"))
        return 0;
    // The pixels are copied under the registry's lock so no image can go
    // away while it is read; the files are written afterwards.
    struct Copy {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;
    };
    std::vector<Copy> copies;
    MemoryImage::ForEachLiveImage([&copies](MemoryImage* image) {
        int w = image->GetWidth(), h = image->GetHeight();
        if (w <= 0 || h <= 0)
            return;
        const uint32_t* bits = image->GetBits();
        if (bits == nullptr)
            return;
        copies.push_back({w, h, std::vector<uint32_t>(bits, bits + static_cast<size_t>(w) * h)});
    });

    std::string page = "<html><body>\n<table border=1>\n<tr><th>File</th><th>Size</th><th>Bytes</th></tr>\n";
    long long total = 0;
    int written = 0;
    for (size_t i = 0; i < copies.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "img%04d.png", static_cast<int>(i));
        MemoryImage out;
        out.SetBits(copies[i].pixels.data(), copies[i].width, copies[i].height, false);
        if (!PngWriter::Write(out, std::string("_dump/") + name))
            continue;
        ++written;
        long long bytes = static_cast<long long>(copies[i].width) * copies[i].height * 4;
        total += bytes;
        page += "<tr><td><a href=\"" + std::string(name) + "\">" + name + "</a></td><td>" +
                std::to_string(copies[i].width) + " x " + std::to_string(copies[i].height) + "</td><td>" +
                std::to_string(bytes) + "</td></tr>\n";
    }
    page += "</table>\n<p>Total Image Allocation: " + std::to_string(total) + " bytes (" +
            std::to_string(written) + " images)</p>\n</body></html>\n";
    FileUtil::WriteFileAtomic("_dump/imagelist.html", page);
    return written;
}

} // namespace Zorvin

#pragma once

// SdlPresenter: shows the application's screen image in the main window,
// scaled with black bars to fill the window or the monitor while keeping
// its proportions. Only the parts that changed since the last frame are
// copied. Two ways:
//  - "3D": an accelerated SDL renderer; the image goes into one streaming
//    texture of the renderer's own 32-bit format, so drawing it is a plain
//    copy.
//  - otherwise the window's own surface: the changed parts are copied (or
//    scaled, nearest pixel) straight into it and only they are sent to the
//    display. No graphics library is loaded.
// Before acceleration is offered the first time it is tested: refused
// without loading anything when the machine has no graphics processor,
// refused when the driver turns out to be a software rasterizer, else a test
// pattern is drawn and read back. The outcome is kept in the settings under
// "Test3D" so the test runs once per machine.
//
// The program owns one next to the window system it draws into; both must
// outlive the application.

#include "framework/app/Presenter.h"

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;
struct SDL_Window;

namespace Zorvin {

class SdlWindowSystem;
class SettingsAccess;

class SdlPresenter : public Presenter {
public:
    // How each frame reaches the texture.
    enum class UploadMode { UpdateTexture, LockTexture };

    explicit SdlPresenter(SdlWindowSystem* windowSystem);
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;
    ~SdlPresenter() override;

    // Where the acceleration test keeps its outcome (optional).
    void SetSettingsOwner(SettingsAccess* app) { settingsOwner = app; }
    void SetUploadMode(UploadMode mode) { uploadMode = mode; }
    // The video memory (MB) the game needs and recommends; a change makes
    // the acceleration test run again.
    void SetVideoMemoryThresholds(int minimum, int recommended)
    {
        minVidMemory = minimum;
        recVidMemory = recommended;
    }

    int Initialize(bool windowed, bool use3D) override;
    bool Present(const uint32_t* pixels, int width, int height) override;
    bool PresentChanged(const uint32_t* pixels, int width, int height, const Rect* changed, int count) override;
    // Pixels uploaded into the texture since the start (for measurements).
    long long GetUploadedPixels() const { return uploadedPixels; }
    int GetRefreshPeriodMs() override;
    std::string GetErrorText() override { return errorText; }
    bool Is3D() override { return accelerated; }
    bool Test3DDecided() override { return testDecided; }

    // Draws a test pattern with the accelerated renderer and reads it back;
    // false (with the reason) when acceleration cannot be trusted or would
    // only be a rasterizer on the processor.
    bool RunAccelerationTest(std::string& reason);

private:
    void Release();
    int CreateTexture(SDL_Window* w);
    bool Upload(const uint32_t* pixels, int width, const Rect& r);
    bool Show(int width, int height);
    bool AccelerationAllowed();
    bool PresentOnSurface(const uint32_t* pixels, int width, int height, const Rect* changed, int count);
    void CopyScaled(const uint32_t* pixels, int width, SDL_Surface* surface, const Rect& fit, const Rect& r,
                    Rect& shown);
    bool PresentConverted(const uint32_t* pixels, int width, int height, SDL_Surface* surface, const Rect& fit);

    SdlWindowSystem* windowSystem;
    SettingsAccess* settingsOwner = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    // The texture holds no frame yet: the next one goes up whole.
    bool textureEmpty = true;
    // The window surface path: the surface last drawn into (SDL makes a new
    // one when the window's size changes) and, for each column and row of
    // the letterboxed picture, the logical column and row shown there.
    bool useSurface = false;
    SDL_Surface* shownSurface = nullptr;
    int shownWidth = 0;
    int shownHeight = 0;
    Rect shownFit;
    std::vector<int> columnSource;
    std::vector<int> rowSource;
    long long uploadedPixels = 0;
    bool accelerated = false;
    bool testDecided = false;
    int minVidMemory = 0;
    int recVidMemory = 0;
    UploadMode uploadMode = UploadMode::UpdateTexture;
    std::string errorText;
};

} // namespace Zorvin

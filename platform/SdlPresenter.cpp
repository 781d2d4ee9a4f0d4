#include "platform/SdlPresenter.h"

#include "framework/app/Test3DRecord.h"
#include "framework/app/ZorvinAppBase.h"
#include "platform/Letterbox.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace Zorvin {

SdlPresenter::SdlPresenter(SdlWindowSystem* ws) : windowSystem(ws) {}

SdlPresenter::~SdlPresenter() { Release(); }

void SdlPresenter::Release()
{
    if (texture != nullptr)
        SDL_DestroyTexture(texture);
    texture = nullptr;
    if (renderer != nullptr)
        SDL_DestroyRenderer(renderer);
    renderer = nullptr;
}

bool SdlPresenter::AccelerationAllowed()
{
    // A stored outcome of an earlier test on this adapter, with the same
    // thresholds, is reused.
    const char* driver = SDL_GetCurrentVideoDriver();
    SDL_Window* w = windowSystem->GetWindow();
    const char* display = SDL_GetDisplayName(w != nullptr ? std::max(SDL_GetWindowDisplayIndex(w), 0) : 0);
    Test3DRecord::Guid guid = Test3DRecord::MakeDisplayGuid(std::string(driver != nullptr ? driver : "") + "|" +
                                                            (display != nullptr ? display : ""));
    Test3DRecord record;
    if (settingsOwner != nullptr && record.Read(*settingsOwner) &&
        record.Applies(minVidMemory, recVidMemory, guid)) {
        testDecided = true;
        return record.Supported();
    }
    std::string reason;
    bool ok = RunAccelerationTest(reason);
    testDecided = true;
    if (settingsOwner != nullptr) {
        record.version = Test3DRecord::CurrentVersion;
        record.minVidMemory = minVidMemory;
        record.recVidMemory = recVidMemory;
        record.displayGuid = guid;
        record.failureReason = ok ? std::string() : reason;
        record.Write(*settingsOwner);
    }
    return ok;
}

bool SdlPresenter::RunAccelerationTest(std::string& reason)
{
    reason.clear();
    SDL_Window* w = windowSystem->GetWindow();
    if (w == nullptr) {
        reason = "No window to test in.";
        return false;
    }
    SDL_Renderer* r = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (r == nullptr) {
        reason = std::string("No accelerated renderer: ") + SDL_GetError();
        return false;
    }
    // Alpha blending of a half-transparent texture over a known colour,
    // drawn into a target texture and read back.
    SDL_Texture* target = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 16, 16);
    SDL_Texture* src = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 16, 16);
    bool ok = target != nullptr && src != nullptr;
    if (!ok) {
        reason = "A8R8G8B8 texture format not supported.";
    } else {
        uint32_t pixels[16 * 16];
        for (uint32_t& p : pixels)
            p = 0x80FF0000u; // half-transparent red
        SDL_UpdateTexture(src, nullptr, pixels, 16 * 4);
        SDL_SetTextureBlendMode(src, SDL_BLENDMODE_BLEND);
        SDL_SetRenderTarget(r, target);
        SDL_SetRenderDrawColor(r, 0, 0, 255, 255);
        SDL_RenderClear(r);
        SDL_RenderCopy(r, src, nullptr, nullptr);
        uint32_t back[16 * 16] = {};
        if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, back, 16 * 4) != 0) {
            reason = "Alpha blend Not Supported";
            ok = false;
        } else {
            for (uint32_t p : back) {
                int red = (p >> 16) & 0xFF, blue = p & 0xFF;
                if (red < 120 || red > 136 || blue < 119 || blue > 135) {
                    reason = "Alpha blend test not uniform.";
                    ok = false;
                    break;
                }
            }
        }
        SDL_SetRenderTarget(r, nullptr);
    }
    if (src != nullptr)
        SDL_DestroyTexture(src);
    if (target != nullptr)
        SDL_DestroyTexture(target);
    SDL_DestroyRenderer(r);
    return ok;
}

int SdlPresenter::Initialize(bool windowed, bool use3D)
{
    (void)windowed;
    Release();
    errorText.clear();
    SDL_Window* w = windowSystem->GetWindow();
    if (w == nullptr) {
        errorText = "No main window";
        return RESULT_FAIL;
    }
    accelerated = false;
    if (use3D) {
        if (!AccelerationAllowed()) {
            errorText = "3D init error: acceleration refused";
            return RESULT_3D_FAIL;
        }
        renderer = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED);
        if (renderer == nullptr) {
            errorText = std::string("3D init error: ") + SDL_GetError();
            return RESULT_3D_FAIL;
        }
        accelerated = true;
    } else {
        // The software renderer draws into the window's own surface.
        renderer = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE);
        if (renderer == nullptr) {
            errorText = std::string("SDL_CreateRenderer: ") + SDL_GetError();
            return RESULT_DD_CREATE_FAIL;
        }
    }
    textureWidth = windowSystem->GetLogicalWidth();
    textureHeight = windowSystem->GetLogicalHeight();
    // Our pixels are ARGB; RGB888 is the same bytes with the alpha ignored.
    // Of the two, the window's own format (what the software renderer draws
    // into) makes drawing the texture a plain copy instead of a conversion
    // of every pixel.
    Uint32 format = SDL_PIXELFORMAT_ARGB8888;
    Uint32 windowFormat = SDL_GetWindowPixelFormat(w);
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) == 0) {
        bool found = false;
        for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
            Uint32 f = info.texture_formats[i];
            if (f != SDL_PIXELFORMAT_ARGB8888 && f != SDL_PIXELFORMAT_RGB888)
                continue;
            if (!found || f == windowFormat)
                format = f;
            found = true;
        }
    }
    texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, textureWidth, textureHeight);
    textureEmpty = true;
    if (texture == nullptr) {
        errorText = std::string("SDL_CreateTexture: ") + SDL_GetError();
        Release();
        return accelerated ? RESULT_3D_FAIL : RESULT_SURFACE_FAIL;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    return RESULT_OK;
}

bool SdlPresenter::Present(const uint32_t* pixels, int width, int height)
{
    Rect whole(0, 0, width, height);
    textureEmpty = true;
    return PresentChanged(pixels, width, height, &whole, 1);
}

bool SdlPresenter::PresentChanged(const uint32_t* pixels, int width, int height, const Rect* changed, int count)
{
    if (renderer == nullptr || texture == nullptr || pixels == nullptr)
        return false;
    if (width != textureWidth || height != textureHeight)
        return false;
    Rect whole(0, 0, width, height);
    if (textureEmpty) {
        changed = &whole;
        count = 1;
    }
    for (int i = 0; i < count; ++i) {
        Rect r = changed[i].Intersection(whole);
        if (!r.IsEmpty() && !Upload(pixels, width, r))
            return false;
    }
    textureEmpty = false;
    return Show(width, height);
}

bool SdlPresenter::Upload(const uint32_t* pixels, int width, const Rect& r)
{
    const uint32_t* from = pixels + static_cast<size_t>(r.y) * width + r.x;
    SDL_Rect area{r.x, r.y, r.width, r.height};
    uploadedPixels += static_cast<long long>(r.width) * r.height;
    if (uploadMode == UploadMode::UpdateTexture)
        return SDL_UpdateTexture(texture, &area, from, width * 4) == 0;
    void* dest = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, &area, &dest, &pitch) != 0)
        return false;
    uint8_t* to = static_cast<uint8_t*>(dest);
    for (int y = 0; y < r.height; ++y)
        std::memcpy(to + static_cast<size_t>(y) * pitch, from + static_cast<size_t>(y) * width,
                    static_cast<size_t>(r.width) * 4);
    SDL_UnlockTexture(texture);
    return true;
}

// Draws the texture letterboxed into the window and presents it. The
// window is cleared only when there are bars: otherwise the picture covers
// every pixel and clearing first would be a wasted pass over the screen.
bool SdlPresenter::Show(int width, int height)
{
    int outW = 0, outH = 0;
    if (SDL_GetRendererOutputSize(renderer, &outW, &outH) != 0)
        return false;
    Rect fit = Letterbox::Fit(outW, outH, width, height);
    if (fit != Rect(0, 0, outW, outH)) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    SDL_Rect dest{fit.x, fit.y, fit.width, fit.height};
    if (SDL_RenderCopy(renderer, texture, nullptr, &dest) != 0)
        return false;
    SDL_RenderPresent(renderer);
    return true;
}

int SdlPresenter::GetRefreshPeriodMs()
{
    SDL_DisplayMode mode;
    SDL_Window* w = windowSystem->GetWindow();
    int display = w != nullptr ? SDL_GetWindowDisplayIndex(w) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0 || mode.refresh_rate <= 0)
        return 16;
    return 1000 / mode.refresh_rate;
}

} // namespace Zorvin

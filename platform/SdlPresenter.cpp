// Sections:
//   - releasing the renderer
//   - the acceleration test (allowed, renderer name, run)
//   - initialising the window's renderer and texture
//   - presenting through the texture (whole frame, changed parts, letterboxed show)
//   - presenting on the window surface (scaled copy, other pixel formats)
//   - the refresh period

#include "platform/SdlPresenter.h"

#include "framework/app/Test3DRecord.h"
#include "framework/app/SettingsAccess.h"
#include "platform/GpuProbe.h"
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
    useSurface = false;
    shownSurface = nullptr;
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

namespace {

// What the renderer's driver calls itself: GL_RENDERER for the OpenGL
// renderers, SDL's name for the others.
std::string RendererName(SDL_Renderer* r)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(r, &info) != 0)
        return std::string();
    std::string name = info.name != nullptr ? info.name : "";
    if (name.rfind("opengl", 0) != 0 || SDL_GL_GetCurrentContext() == nullptr)
        return name;
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned int glRenderer = 0x1F01;
    const unsigned char* text = getString != nullptr ? getString(glRenderer) : nullptr;
    return text != nullptr ? reinterpret_cast<const char*>(text) : name;
}

} // namespace

bool SdlPresenter::RunAccelerationTest(std::string& reason)
{
    reason.clear();
    SDL_Window* w = windowSystem->GetWindow();
    if (w == nullptr) {
        reason = "No window to test in.";
        return false;
    }
    // Without a graphics processor the driver can only be a rasterizer on
    // the processor: asked before anything is loaded.
    const char* driver = SDL_GetCurrentVideoDriver();
    reason = GpuProbe::SoftwareOnlyReason(driver != nullptr ? driver : "");
    if (!reason.empty())
        return false;
    SDL_Renderer* r = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (r == nullptr) {
        reason = std::string("No accelerated renderer: ") + SDL_GetError();
        return false;
    }
    // The library is loaded now and stays mapped (Mesa's LLVM cannot be
    // unloaded), but the stored outcome keeps later runs from loading it.
    std::string name = RendererName(r);
    if (GpuProbe::IsSoftwareRasterizer(name)) {
        reason = "Software rasterizer: " + name;
        SDL_DestroyRenderer(r);
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
    textureWidth = windowSystem->GetLogicalWidth();
    textureHeight = windowSystem->GetLogicalHeight();
    textureEmpty = true;
    if (!use3D) {
        // The window's own surface; SdlWindowSystem has told SDL not to back
        // it with an accelerated renderer, so no graphics library loads.
        if (SDL_GetWindowSurface(w) == nullptr) {
            errorText = std::string("SDL_GetWindowSurface: ") + SDL_GetError();
            return RESULT_SURFACE_FAIL;
        }
        useSurface = true;
        return RESULT_OK;
    }
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
    return CreateTexture(w);
}

int SdlPresenter::CreateTexture(SDL_Window* w)
{
    // Our pixels are ARGB; RGB888 is the same bytes with the alpha ignored.
    // Of the two, the window's own format makes drawing the texture a plain
    // copy instead of a conversion of every pixel.
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
    if (texture == nullptr) {
        errorText = std::string("SDL_CreateTexture: ") + SDL_GetError();
        Release();
        return RESULT_3D_FAIL;
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
    if (pixels == nullptr || width != textureWidth || height != textureHeight)
        return false;
    if (useSurface)
        return PresentOnSurface(pixels, width, height, changed, count);
    if (renderer == nullptr || texture == nullptr)
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

// Copies the changed parts into the window's surface and sends just them to
// the display. A new surface (the window was resized or re-created) or a
// whole new frame gets its bars painted and goes up whole.
bool SdlPresenter::PresentOnSurface(const uint32_t* pixels, int width, int height, const Rect* changed, int count)
{
    SDL_Window* w = windowSystem->GetWindow();
    SDL_Surface* surface = w != nullptr ? SDL_GetWindowSurface(w) : nullptr;
    if (surface == nullptr)
        return false;
    Rect fit = Letterbox::Fit(surface->w, surface->h, width, height);
    Rect whole(0, 0, width, height);
    bool fresh = surface != shownSurface || surface->w != shownWidth || surface->h != shownHeight ||
                 fit != shownFit || textureEmpty;
    if (fresh) {
        shownSurface = surface;
        shownWidth = surface->w;
        shownHeight = surface->h;
        shownFit = fit;
        columnSource.resize(fit.width);
        rowSource.resize(fit.height);
        // The centre of each window pixel, scaled back: the same mapping as
        // the pointer's (Letterbox::WindowToLogical).
        for (int x = 0; x < fit.width; ++x)
            columnSource[x] = static_cast<int>((2LL * x + 1) * width / (2LL * fit.width));
        for (int y = 0; y < fit.height; ++y)
            rowSource[y] = static_cast<int>((2LL * y + 1) * height / (2LL * fit.height));
        changed = &whole;
        count = 1;
    }
    Uint32 format = surface->format->format;
    if (format != SDL_PIXELFORMAT_ARGB8888 && format != SDL_PIXELFORMAT_RGB888) {
        textureEmpty = false;
        return PresentConverted(pixels, width, height, surface, fit);
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return false;
    if (fresh && fit != Rect(0, 0, surface->w, surface->h))
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    std::vector<SDL_Rect> shownRects;
    for (int i = 0; i < count; ++i) {
        Rect r = changed[i].Intersection(whole);
        if (r.IsEmpty())
            continue;
        uploadedPixels += static_cast<long long>(r.width) * r.height;
        Rect shown;
        CopyScaled(pixels, width, surface, fit, r, shown);
        if (!shown.IsEmpty())
            shownRects.push_back(SDL_Rect{shown.x, shown.y, shown.width, shown.height});
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    textureEmpty = false;
    if (fresh)
        return SDL_UpdateWindowSurface(w) == 0;
    if (shownRects.empty())
        return true;
    return SDL_UpdateWindowSurfaceRects(w, shownRects.data(), static_cast<int>(shownRects.size())) == 0;
}

// Copies the logical rectangle r into the 32-bit surface at its place in
// fit, nearest pixel; shown receives the window rectangle it covers. Rows
// that show the same logical row are copied from the one above.
void SdlPresenter::CopyScaled(const uint32_t* pixels, int width, SDL_Surface* surface, const Rect& fit, const Rect& r,
                              Rect& shown)
{
    auto first = [](const std::vector<int>& source, int value) {
        return static_cast<int>(std::lower_bound(source.begin(), source.end(), value) - source.begin());
    };
    int x0 = first(columnSource, r.x), x1 = first(columnSource, r.Right());
    int y0 = first(rowSource, r.y), y1 = first(rowSource, r.Bottom());
    shown = Rect(fit.x + x0, fit.y + y0, x1 - x0, y1 - y0);
    if (shown.IsEmpty())
        return;
    uint8_t* base = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(fit.y) * surface->pitch +
                    static_cast<size_t>(fit.x) * 4;
    bool sameSize = fit.width == textureWidth && fit.height == textureHeight;
    for (int y = y0; y < y1; ++y) {
        uint32_t* to = reinterpret_cast<uint32_t*>(base + static_cast<size_t>(y) * surface->pitch);
        const uint32_t* from = pixels + static_cast<size_t>(rowSource[y]) * width;
        if (sameSize) {
            std::memcpy(to + x0, from + x0, static_cast<size_t>(x1 - x0) * 4);
        } else if (y > y0 && rowSource[y] == rowSource[y - 1]) {
            std::memcpy(to + x0, reinterpret_cast<uint32_t*>(base + static_cast<size_t>(y - 1) * surface->pitch) + x0,
                        static_cast<size_t>(x1 - x0) * 4);
        } else {
            for (int x = x0; x < x1; ++x)
                to[x] = from[columnSource[x]];
        }
    }
}

// A window surface of another pixel format (a 16-bit desktop, say): SDL
// converts and scales the whole frame.
bool SdlPresenter::PresentConverted(const uint32_t* pixels, int width, int height, SDL_Surface* surface,
                                    const Rect& fit)
{
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_RGB888);
    if (frame == nullptr)
        return false;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_Rect dest{fit.x, fit.y, fit.width, fit.height};
    int result = SDL_BlitScaled(frame, nullptr, surface, &dest);
    SDL_FreeSurface(frame);
    uploadedPixels += static_cast<long long>(width) * height;
    return result == 0 && SDL_UpdateWindowSurface(windowSystem->GetWindow()) == 0;
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

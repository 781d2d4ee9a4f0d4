// The application base's services to the game and the framework.
//
//   LoadDisplayImage, GetSharedImage, LoadFontImage   images
//   ReportFontError, ShowPendingFontErrors            font errors
//   sound and music volumes, muting, PlaySound
//   files and the clipboard
//   OpenUrl and its outcome

#include "framework/app/ZorvinAppBase.h"

#include "framework/core/FileUtil.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/MemoryImageLoader.h"
#include "framework/audio/SoundInstance.h"
#include "framework/audio/SoundManager.h"
#include "framework/audio/music/MixerMusicInterface.h"
#include "framework/audio/music/MusicInterface.h"
#include "framework/app/SystemServices.h"

namespace Zorvin {

std::unique_ptr<MemoryImage> ZorvinAppBase::LoadDisplayImage(const std::string& path, int flags)
{
    std::unique_ptr<MemoryImage> image = LoadMemoryImage(path);
    if (image)
        image->imageFlags = flags;
    return image;
}

std::unique_ptr<MemoryImage> ZorvinAppBase::LoadDisplayImage(const std::string& path)
{
    return LoadDisplayImage(path, 0);
}

std::unique_ptr<MemoryImage> ZorvinAppBase::LoadFontImage(const std::string& path)
{
    return LoadDisplayImage(path, 0);
}

SharedImageRef ZorvinAppBase::GetSharedImage(const std::string& file, const std::string& variant, bool& created)
{
    return GetSharedImage(file, variant, created, ImageLib::kDefaultAlphaOnlyColor);
}

SharedImageRef ZorvinAppBase::GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                             uint32_t alphaColor)
{
    return sharedImages.Get(file, variant, created,
                            [alphaColor](const std::string& f) { return LoadMemoryImage(f, true, alphaColor); });
}

void ZorvinAppBase::ReportFontError(const std::string& text)
{
    {
        std::lock_guard<std::mutex> hold(fontErrorLock);
        pendingFontErrors.push_back(text);
    }
    if (IsPrimaryThread())
        ShowPendingFontErrors();
}

void ZorvinAppBase::ShowPendingFontErrors()
{
    std::vector<std::string> texts;
    {
        std::lock_guard<std::mutex> hold(fontErrorLock);
        texts.swap(pendingFontErrors);
    }
    for (const std::string& text : texts) {
        if (isScreenSaver)
            LogScreenSaverError(text);
        else
            ShowMessageBox(text, "Error", MB_OK | MB_ICONERROR);
    }
}

void ZorvinAppBase::OnUrlOpenFailed(const std::string&) { isOpeningUrl = false; }

void ZorvinAppBase::OnUrlOpened(const std::string&)
{
    isOpeningUrl = false;
    if (shutdownOnUrlOpen)
        Shutdown();
}

bool ZorvinAppBase::OpenUrl(const std::string& url, bool quitAfter)
{
    if (isOpeningUrl && url == openingUrl)
        return true;
    if (systemServices == nullptr || !systemServices->OpenUrl(url)) {
        OnUrlOpenFailed(url);
        return false;
    }
    isOpeningUrl = true;
    openingUrl = url;
    openingUrlTick = Now();
    shutdownOnUrlOpen = quitAfter;
    return true;
}

void ZorvinAppBase::ApplyVolumes()
{
    bool muted = IsMuted();
    ApplyMusicVolumeToDevice(muted ? 0.0 : musicVolume);
    ApplySoundVolumeToDevice(muted ? 0.0 : sfxVolume);
}

std::unique_ptr<MusicInterface> ZorvinAppBase::CreateMusicPlayer()
{
    if (noSoundNeeded || audioDevice == nullptr)
        return std::make_unique<MusicInterface>();
    return std::make_unique<MixerMusicInterface>(audioDevice);
}

void ZorvinAppBase::ApplySoundVolumeToDevice(double volume)
{
    appliedSoundVolume = volume;
    if (soundManager)
        soundManager->SetMasterVolume(volume);
}

void ZorvinAppBase::ApplyMusicVolumeToDevice(double volume)
{
    appliedMusicVolume = volume;
    if (musicInterface)
        musicInterface->SetMusicVolume(volume);
}

void ZorvinAppBase::PlaySound(int id, int pan)
{
    if (noSoundNeeded || !soundManager)
        return;
    // The copy releases itself when it has played.
    SoundInstance* instance = soundManager->CreateInstance(id);
    if (instance == nullptr)
        return;
    instance->SetPan(pan);
    instance->Play(false, true);
}

double ZorvinAppBase::GetMasterVolume() { return soundManager ? soundManager->GetSystemVolume() : 1.0; }

void ZorvinAppBase::SetMasterVolume(double volume)
{
    sfxVolume = volume;
    ApplySoundVolumeToDevice(IsMuted() ? 0.0 : volume);
}

void ZorvinAppBase::SetMusicVolume(double volume)
{
    musicVolume = volume;
    ApplyMusicVolumeToDevice(IsMuted() ? 0.0 : volume);
}

void ZorvinAppBase::SetSoundVolume(double volume)
{
    sfxVolume = volume;
    ApplySoundVolumeToDevice(IsMuted() ? 0.0 : volume);
}

void ZorvinAppBase::Mute(bool automatic)
{
    ++muteCount;
    if (automatic)
        ++autoMuteCount;
    ApplyVolumes();
}

void ZorvinAppBase::Unmute(bool automatic)
{
    if (muteCount > 0) {
        --muteCount;
        if (automatic && autoMuteCount > 0)
            --autoMuteCount;
    }
    ApplyVolumes();
}

void ZorvinAppBase::CopyToClipboard(const std::string& text)
{
    if (IsPlayingDemo() || systemServices == nullptr)
        return;
    systemServices->SetClipboardText(text);
}

std::string ZorvinAppBase::GetClipboard()
{
    // What was pasted is outside input like a key: a demo keeps it.
    if (IsPlayingDemo())
        return demoSession->Clipboard(std::string());
    std::string text = systemServices != nullptr ? systemServices->GetClipboardText() : std::string();
    return demoSession ? demoSession->Clipboard(text) : text;
}

} // namespace Zorvin

#include "framework/audio/music/MixerMusicInterface.h"

#include "framework/audio/music/ModuleMusicStream.h"
#include "framework/audio/music/OggMusicStream.h"
#include "framework/audio/music/WavMusicStream.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace Zorvin {

namespace {

// The text after the last "." of the file name (not of a folder), lower case.
std::string Extension(const std::string& fileName)
{
    size_t dot = fileName.rfind('.');
    size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot))
        return std::string();
    std::string ext = fileName.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

double Clamp01(double v)
{
    return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0);
}

} // namespace

MixerMusicInterface::MixerMusicInterface(AudioDevice* device)
    : mixer(device ? &device->GetMixer() : nullptr)
{
}

MixerMusicInterface::~MixerMusicInterface()
{
    UnloadAllSongs();
}

MixerMusicInterface::Song* MixerMusicInterface::Find(int songId)
{
    auto it = songs.find(songId);
    return it == songs.end() ? nullptr : &it->second;
}

bool MixerMusicInterface::LoadSong(int songId, const std::string& fileName)
{
    if (!mixer)
        return false;
    std::string ext = Extension(fileName);
    std::unique_ptr<MusicStream> stream;
    if (ext == "wav")
        stream = WavMusicStream::FromFile(fileName);
    else if (ext == "ogg")
        stream = OggMusicStream::FromFile(fileName);
    else if (ext != "mp3") // recorded, but there is no MP3 decoder here
        stream = ModuleMusicStream::FromFile(fileName);
    if (!stream)
        return false;
    UnloadSong(songId);
    Song song;
    song.module = stream->IsModule();
    song.channel = std::make_unique<SongChannel>(std::move(stream), *mixer);
    mixer->AddChannel(song.channel.get());
    songs.emplace(songId, std::move(song));
    return true;
}

void MixerMusicInterface::SendVolume(Song& song)
{
    float gain = static_cast<float>(Clamp01(song.volume) * musicVolume);
    auto lock = mixer->Lock();
    song.channel->SetGain(gain);
}

void MixerMusicInterface::StopChannel(Song& song)
{
    auto lock = mixer->Lock();
    song.channel->Stop();
}

void MixerMusicInterface::StartChannel(Song& song, int offset, bool noLoop)
{
    auto lock = mixer->Lock();
    song.channel->Stop();
    song.channel->Start(offset, !noLoop);
}

void MixerMusicInterface::PlaySong(int songId, int offset, bool noLoop)
{
    Song* song = Find(songId);
    if (!song)
        return;
    song->volume = song->volumeCap;
    song->fadeStep = 0.0;
    song->stopWhenSilent = noLoop;
    SendVolume(*song);
    StartChannel(*song, offset, noLoop);
}

void MixerMusicInterface::FadeInSong(int songId, int offset, double step, bool noLoop)
{
    Song* song = Find(songId);
    if (!song)
        return;
    song->fadeStep = step;
    song->stopWhenSilent = noLoop;
    SendVolume(*song);
    StartChannel(*song, offset, noLoop);
}

void MixerMusicInterface::FadeOutSong(int songId, bool stopWhenSilent, double step)
{
    Song* song = Find(songId);
    if (!song)
        return;
    if (song->volume != 0.0)
        song->fadeStep = -step;
    song->stopWhenSilent = stopWhenSilent;
}

void MixerMusicInterface::FadeOutAllSongs(bool stopWhenSilent, double step)
{
    // Silent songs too: with stop-when-silent they stop on the next update.
    for (auto& [id, song] : songs) {
        song.fadeStep = -step;
        song.stopWhenSilent = stopWhenSilent;
    }
}

void MixerMusicInterface::UpdateFades()
{
    for (auto& [id, song] : songs) {
        if (song.fadeStep == 0.0)
            continue;
        song.volume += song.fadeStep;
        if (song.volume > song.volumeCap) {
            song.volume = song.volumeCap;
            song.fadeStep = 0.0;
        } else if (song.volume < 0.0) {
            song.volume = 0.0;
            song.fadeStep = 0.0;
            if (song.stopWhenSilent)
                StopChannel(song);
        }
        SendVolume(song);
    }
}

bool MixerMusicInterface::IsFading() const
{
    for (const auto& entry : songs)
        if (entry.second.fadeStep != 0.0)
            return true;
    return false;
}

void MixerMusicInterface::StopSong(int songId)
{
    Song* song = Find(songId);
    if (!song)
        return;
    song->volume = 0.0;
    SendVolume(*song);
    StopChannel(*song);
}

void MixerMusicInterface::StopAllSongs()
{
    for (auto& [id, song] : songs)
        StopSong(id);
}

void MixerMusicInterface::PauseSong(int songId)
{
    if (Song* song = Find(songId)) {
        auto lock = mixer->Lock();
        song->channel->Pause();
    }
}

void MixerMusicInterface::ResumeSong(int songId)
{
    if (Song* song = Find(songId)) {
        auto lock = mixer->Lock();
        song->channel->Resume();
    }
}

void MixerMusicInterface::PauseAllSongs()
{
    for (auto& [id, song] : songs)
        PauseSong(id);
}

void MixerMusicInterface::ResumeAllSongs()
{
    for (auto& [id, song] : songs)
        ResumeSong(id);
}

void MixerMusicInterface::UnloadSong(int songId)
{
    Song* song = Find(songId);
    if (!song)
        return;
    StopSong(songId);
    mixer->RemoveChannel(song->channel.get());
    songs.erase(songId);
}

void MixerMusicInterface::UnloadAllSongs()
{
    while (!songs.empty())
        UnloadSong(songs.begin()->first);
}

void MixerMusicInterface::SetSongVolume(int songId, double volume)
{
    if (Song* song = Find(songId)) {
        song->volume = volume;
        SendVolume(*song);
    }
}

void MixerMusicInterface::SetSongVolumeCap(int songId, double volume)
{
    if (Song* song = Find(songId)) {
        song->volumeCap = volume;
        if (song->volume > volume)
            song->volume = volume;
        SendVolume(*song);
    }
}

bool MixerMusicInterface::IsSongPlaying(int songId)
{
    Song* song = Find(songId);
    if (!song)
        return false;
    auto lock = mixer->Lock();
    return song->channel->IsActive();
}

void MixerMusicInterface::SetMusicVolume(double volume)
{
    musicVolume = Clamp01(volume);
    for (auto& [id, song] : songs)
        SendVolume(song);
}

void MixerMusicInterface::SetSongAmplify(int songId, double amount)
{
    if (Song* song = Find(songId)) {
        auto lock = mixer->Lock();
        song->channel->GetStream().SetAmplify(amount);
    }
}

bool MixerMusicInterface::IsModule(int songId) const
{
    auto it = songs.find(songId);
    return it != songs.end() && it->second.module;
}

double MixerMusicInterface::GetSongVolume(int songId) const
{
    auto it = songs.find(songId);
    return it == songs.end() ? 0.0 : it->second.volume;
}

double MixerMusicInterface::GetSongFadeStep(int songId) const
{
    auto it = songs.find(songId);
    return it == songs.end() ? 0.0 : it->second.fadeStep;
}

} // namespace Zorvin

#pragma once

// MixerMusicInterface: the game's music player on the software mixer. A song
// file whose extension is "wav" or "ogg" plays as a recorded stream; any
// other file is taken as a tracker module and played through libopenmpt,
// which recognises the module format by content (the game's songs are
// ".mo3" files). Every song keeps its own volume, fade step, volume cap and
// stop-when-silent flag; UpdateFades, once per logic update, moves fading
// songs and stops those that faded out to silence when asked.
//
// Construction: MixerMusicInterface(device). `device` may be null (no audio
// device): the player is then silent and every load fails, as with the base
// MusicInterface. The device must outlive the player. The application owns
// the player.

#include "framework/audio/AudioDevice.h"
#include "framework/audio/music/MusicInterface.h"
#include "framework/audio/music/SongChannel.h"

#include <map>
#include <memory>
#include <string>

namespace Zorvin {

class MixerMusicInterface : public MusicInterface {
public:
    explicit MixerMusicInterface(AudioDevice* device);
    ~MixerMusicInterface() override;

    bool LoadSong(int songId, const std::string& fileName) override;
    void PlaySong(int songId, int offset, bool noLoop) override;
    void StopSong(int songId) override;
    void PauseSong(int songId) override;
    void ResumeSong(int songId) override;
    void StopAllSongs() override;
    void UnloadSong(int songId) override;
    void UnloadAllSongs() override;
    void PauseAllSongs() override;
    void ResumeAllSongs() override;
    void FadeInSong(int songId, int offset, double step, bool noLoop) override;
    void FadeOutSong(int songId, bool stopWhenSilent, double step) override;
    void FadeOutAllSongs(bool stopWhenSilent, double step) override;
    void SetSongVolume(int songId, double volume) override;
    void SetSongVolumeCap(int songId, double volume) override;
    bool IsSongPlaying(int songId) override;
    void SetMusicVolume(double volume) override;
    void SetSongAmplify(int songId, double amount) override;
    void UpdateFades() override;
    bool IsFading() const override;

    // For tools and tests: whether an id holds a song, whether it is a
    // module, and its current volume and fade step (0 for unknown ids).
    bool HasSong(int songId) const { return songs.count(songId) != 0; }
    bool IsModule(int songId) const;
    double GetSongVolume(int songId) const;
    double GetSongFadeStep(int songId) const;
    double GetMusicVolume() const { return musicVolume; }

private:
    struct Song {
        std::unique_ptr<SongChannel> channel;
        bool module = false;
        double volume = 0.0;
        double fadeStep = 0.0;
        double volumeCap = 1.0;
        bool stopWhenSilent = false;
    };

    Song* Find(int songId);
    void SendVolume(Song& song);
    void StopChannel(Song& song);
    void StartChannel(Song& song, int offset, bool noLoop);

    AudioMixer* mixer;
    std::map<int, Song> songs;
    double musicVolume = 1.0;
};

} // namespace Zorvin

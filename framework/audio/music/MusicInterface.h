#pragma once

// MusicInterface: the game's background-music player. Songs are loaded under
// small integer ids, then played, faded, paused and stopped by id; the
// application calls UpdateFades once per logic update to move every fading
// song one step toward its target. Volumes are 0.0-1.0, fade steps are volume
// units per update, and operations on an id that was never loaded do
// nothing.
//
// This base does nothing in every operation: it is the player to use when no
// music is wanted. MixerMusicInterface is the real one. The application owns
// whichever it creates.

#include <string>

namespace Zorvin {

class MusicInterface {
public:
    MusicInterface() = default;
    MusicInterface(const MusicInterface&) = delete;
    MusicInterface& operator=(const MusicInterface&) = delete;
    virtual ~MusicInterface() = default;

    virtual bool LoadSong(int songId, const std::string& fileName);
    // Plays at full (capped) volume. `offset` is the start: the order position
    // of a module or the time in milliseconds of a stream; -1 carries on
    // from where the song is. `noLoop` plays it once.
    virtual void PlaySong(int songId, int offset, bool noLoop);
    virtual void StopSong(int songId);
    virtual void PauseSong(int songId);
    virtual void ResumeSong(int songId);
    virtual void StopAllSongs();
    virtual void UnloadSong(int songId);
    virtual void UnloadAllSongs();
    virtual void PauseAllSongs();
    virtual void ResumeAllSongs();
    // Starts the song at its current volume and raises it by `step` each update.
    virtual void FadeInSong(int songId, int offset, double step, bool noLoop);
    virtual void FadeOutSong(int songId, bool stopWhenSilent, double step);
    virtual void FadeOutAllSongs(bool stopWhenSilent, double step);
    virtual void SetSongVolume(int songId, double volume);
    virtual void SetSongVolumeCap(int songId, double volume);
    virtual bool IsSongPlaying(int songId);
    // Volume of all music together (the player's music volume).
    virtual void SetMusicVolume(double volume);
    // Loudness of a module's own mix; 0.5 leaves it as composed.
    virtual void SetSongAmplify(int songId, double amount);
    virtual void UpdateFades();
    // Whether a song's volume is still on its way (UpdateFades has work).
    virtual bool IsFading() const { return false; }
};

} // namespace Zorvin

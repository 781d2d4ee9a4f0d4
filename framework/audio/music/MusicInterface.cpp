#include "framework/audio/music/MusicInterface.h"

namespace Zorvin {

bool MusicInterface::LoadSong(int, const std::string&) { return false; }
void MusicInterface::PlaySong(int, int, bool) {}
void MusicInterface::StopSong(int) {}
void MusicInterface::PauseSong(int) {}
void MusicInterface::ResumeSong(int) {}
void MusicInterface::StopAllSongs() {}
void MusicInterface::UnloadSong(int) {}
void MusicInterface::UnloadAllSongs() {}
void MusicInterface::PauseAllSongs() {}
void MusicInterface::ResumeAllSongs() {}
void MusicInterface::FadeInSong(int, int, double, bool) {}
void MusicInterface::FadeOutSong(int, bool, double) {}
void MusicInterface::FadeOutAllSongs(bool, double) {}
void MusicInterface::SetSongVolume(int, double) {}
void MusicInterface::SetSongVolumeCap(int, double) {}
bool MusicInterface::IsSongPlaying(int) { return false; }
void MusicInterface::SetMusicVolume(double) {}
void MusicInterface::SetSongAmplify(int, double) {}
void MusicInterface::UpdateFades() {}

} // namespace Zorvin

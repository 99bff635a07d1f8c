// Sounds over SDL2_mixer, one at a time on one channel.
#include "platform/win32_core/native_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

namespace {

// All sounds share one channel, so a new sound replaces the one that plays.
const int SoundChannel = 0;

enum AudioState { AudioUnopened, AudioOpen, AudioUnavailable };

AudioState audioState = AudioUnopened;
Mix_Chunk *playingChunk = nullptr;

void StopPlaying() {
  Mix_HaltChannel(SoundChannel);
  Mix_FreeChunk(playingChunk);
  playingChunk = nullptr;
}

void CloseAudio() {
  StopPlaying();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Opens the device on first use. Without a device every later call fails at once, as a
// system without sound does.
bool AudioReady() {
  if (audioState == AudioUnopened) {
    audioState = AudioUnavailable;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
      return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    Mix_AllocateChannels(1);
    audioState = AudioOpen;
    atexit(CloseAudio);
  }
  return audioState == AudioOpen;
}

} // namespace

bool NativeSoundReady() {
  return AudioReady();
}

bool PlayNativeSound(const char *path, bool loop, bool wait) {
  Mix_Chunk *chunk = Mix_LoadWAV(path);
  if (chunk == nullptr)
    return false;
  StopPlaying();
  if (Mix_PlayChannel(SoundChannel, chunk, loop ? -1 : 0) < 0) {
    Mix_FreeChunk(chunk);
    return false;
  }
  playingChunk = chunk;
  if (wait) {
    while (Mix_Playing(SoundChannel))
      SDL_Delay(1);
    StopPlaying();
  }
  return true;
}

void StopNativeSound() {
  StopPlaying();
}

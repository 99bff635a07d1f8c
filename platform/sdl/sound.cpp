// Multimedia services: the millisecond timer, its resolution requests and PlaySoundA over
// SDL2_mixer.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <time.h>

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

bool SoundIsPlaying() {
  return audioState == AudioOpen && Mix_Playing(SoundChannel) != 0;
}

DWORD WINAPI timeGetTime(void) {
  uint64_t micros;
  if (HookVirtualMicros(&micros))
    return static_cast<DWORD>(micros / 1000) + HookTimeGetTimeOffset();
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t millis = static_cast<uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  return static_cast<DWORD>(millis);
}

// The system's timers already wake to well under a millisecond here: a request only has to be
// valid. Each timeBeginPeriod is to be matched by a timeEndPeriod of the same period.
MMRESULT WINAPI timeBeginPeriod(UINT period) {
  if (HookFails(PlatformCall::timeBeginPeriod) || period == 0)
    return TIMERR_NOCANDO;
  return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period) {
  if (HookFails(PlatformCall::timeEndPeriod) || period == 0)
    return TIMERR_NOCANDO;
  return TIMERR_NOERROR;
}

BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE, DWORD flags) {
  if (HookRecordSound(sound, flags))
    return TRUE;
  if (HookFails(PlatformCall::PlaySoundA) || !AudioReady())
    return FALSE;
  if (sound == nullptr) {
    StopPlaying();
    return TRUE;
  }
  // A repeating sound must be asynchronous, as on Windows.
  if ((flags & SND_LOOP) && !(flags & SND_ASYNC))
    return FALSE;
  Mix_Chunk *chunk = Mix_LoadWAV(sound);
  if (chunk == nullptr)
    return FALSE;
  StopPlaying();
  if (Mix_PlayChannel(SoundChannel, chunk, (flags & SND_LOOP) ? -1 : 0) < 0) {
    Mix_FreeChunk(chunk);
    return FALSE;
  }
  playingChunk = chunk;
  if (!(flags & SND_ASYNC)) {
    while (Mix_Playing(SoundChannel))
      SDL_Delay(1);
    StopPlaying();
  }
  return TRUE;
}

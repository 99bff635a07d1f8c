// Sounds over Web Audio, one at a time, with the sound files read from the embedded Data/.
#include "platform/web/platform.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

namespace {

// A synchronous sound holds the game until it ends, or at most this long past its length: the
// page's audio may be suspended (browsers start it only after a gesture), and then no sound
// ever ends.
const int SyncMarginMillis = 250;

// Plays an embedded file (its name, bytes and size): decodes it once (kept by name), stops the
// sound that plays, starts this one (repeating when asked) and, when asked to wait, waits for its
// end. 1 when the sound started, 0 when it cannot be decoded.
// clang-format off
EM_ASYNC_JS(int, PlayPageSound, (const char *path, const unsigned char *bytes, unsigned size,
                                 int loop, int wait, int marginMillis), {
  var name = UTF8ToString(path);
  var audio = Module["zeluAudio"];
  if (!audio) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context)
      return 0;
    audio = Module["zeluAudio"] = {context : new Context(), buffers : {}, playing : null};
  }
  if (audio.context.state === "suspended")
    audio.context.resume().catch(function(){});
  var buffer = audio.buffers[name];
  if (!buffer) {
    try {
      // A copy: decoding takes the buffer it is given away.
      buffer = await audio.context.decodeAudioData(HEAPU8.slice(bytes, bytes + size).buffer);
    } catch (error) {
      return 0;
    }
    audio.buffers[name] = buffer;
  }
  if (audio.playing) {
    try {
      audio.playing.stop();
    } catch (error) {
    }
    audio.playing = null;
  }
  var source = audio.context.createBufferSource();
  source.buffer = buffer;
  source.loop = !!loop;
  source.connect(audio.context.destination);
  source.start();
  audio.playing = source;
  if (wait) {
    await new Promise(function(resolve) {
      source.onended = resolve;
      setTimeout(resolve, buffer.duration * 1000 + marginMillis);
    });
    try {
      source.stop();
    } catch (error) {
    }
    if (audio.playing === source)
      audio.playing = null;
  }
  return 1;
});
// clang-format on

// clang-format off
EM_JS(void, StopPageSound, (), {
  var audio = Module["zeluAudio"];
  if (audio && audio.playing) {
    try {
      audio.playing.stop();
    } catch (error) {
    }
    audio.playing = null;
  }
});
// clang-format on

} // namespace

// The page's audio starts with its first sound.
bool NativeSoundReady() {
  return true;
}

bool PlayNativeSound(const char *path, bool loop, bool wait) {
  const EmbeddedFile *file = FindEmbeddedFile(path);
  if (file == nullptr)
    return false;
  return PlayPageSound(file->path, file->bytes, file->size, loop ? 1 : 0, wait ? 1 : 0,
                       SyncMarginMillis) != 0;
}

void StopNativeSound() {
  StopPageSound();
}

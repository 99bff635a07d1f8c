// The pads beneath XInputGetState, over the page's Gamepad API. A pad with the browser's standard
// mapping has the Xbox layout (and others are read as if they had it); user index n is the nth
// connected pad in the browser's order. Browsers show a page its pads only after one of their
// buttons is pressed.
#include "platform/win32.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

namespace {

// Fills `out` (buttons, left and right trigger, left x and y, right x and y, in XInput's units)
// from the nth connected pad; 0 when there is none. Counts the reads of pad 0 in
// Module.zeluKeyPolls: the game reads it once in every frame's key polling, and the page's
// touch controls hold a key until the polling has seen it.
// clang-format off
EM_JS(int, ReadPagePad, (int user, int *out), {
  if (user === 0)
    Module["zeluKeyPolls"] = (Module["zeluKeyPolls"] || 0) + 1;
  var pads = navigator.getGamepads ? navigator.getGamepads() : [];
  var found = null;
  for (var i = 0, seen = 0; pads && i < pads.length && !found; i++)
    if (pads[i] && pads[i].connected && seen++ === user)
      found = pads[i];
  if (!found)
    return 0;
  // Standard mapping: button index -> XInput bit.
  var bits = [0x1000, 0x2000, 0x4000, 0x8000, 0x0100, 0x0200, 0, 0, 0x0020, 0x0010,
              0x0040, 0x0080, 0x0001, 0x0002, 0x0004, 0x0008];
  var buttons = 0;
  for (var b = 0; b < bits.length && b < found.buttons.length; b++) {
    var button = found.buttons[b];
    if (button && (button.pressed || button.value > 0.5))
      buttons |= bits[b];
  }
  function trigger(index) {
    var button = found.buttons[index];
    return button ? Math.round(Math.min(Math.max(button.value, 0), 1) * 255) : 0;
  }
  // Axes run from -1 to 1 with y growing downwards; XInput's y grows upwards.
  function axis(index, sign) {
    var value = found.axes.length > index ? found.axes[index] * sign : 0;
    return Math.round(Math.min(Math.max(value, -1), 1) * 32767);
  }
  var values = [buttons, trigger(6), trigger(7), axis(0, 1), axis(1, -1), axis(2, 1), axis(3, -1)];
  for (var v = 0; v < values.length; v++)
    HEAP32[(out >> 2) + v] = values[v];
  return 1;
});
// clang-format on

} // namespace

bool ReadPlatformPad(DWORD userIndex, XINPUT_GAMEPAD *pad) {
  int values[7] = {};
  if (!ReadPagePad(static_cast<int>(userIndex), values))
    return false;
  pad->wButtons = static_cast<WORD>(values[0]);
  pad->bLeftTrigger = static_cast<BYTE>(values[1]);
  pad->bRightTrigger = static_cast<BYTE>(values[2]);
  pad->sThumbLX = static_cast<SHORT>(values[3]);
  pad->sThumbLY = static_cast<SHORT>(values[4]);
  pad->sThumbRX = static_cast<SHORT>(values[5]);
  pad->sThumbRY = static_cast<SHORT>(values[6]);
  return true;
}

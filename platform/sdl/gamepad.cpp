// The pads beneath XInputGetState, over SDL's game controller API. SDL's controller database
// (extended by SDL_GAMECONTROLLERCONFIG, as SDL documents) gives every known pad the Xbox layout
// that XInput reports; the pads take the four user indices in the order they were attached.
#include "platform/win32.h"
#include "platform/sdl/gamepad_buttons.h"
#include "platform/win32_core/native_platform.h"

#include <SDL.h>

namespace {

struct PadSlots {
  bool started = false;
  bool available = false;
  SDL_GameController *pads[XUSER_MAX_COUNT] = {};
};

PadSlots &Slots() {
  static PadSlots slots;
  return slots;
}

bool StartControllers() {
  PadSlots &slots = Slots();
  if (!slots.started) {
    slots.started = true;
    // XInput reads a pad whichever window has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The pads are read when XInputGetState asks, as XInput reads them; SDL need not read them
    // again at every look at its event queue.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    slots.available = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  }
  return slots.available;
}

bool IsOpen(SDL_JoystickID id) {
  for (SDL_GameController *pad : Slots().pads)
    if (pad != nullptr && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id)
      return true;
  return false;
}

// Closes the pads that went away and gives the free indices to pads attached since.
void RefreshSlots() {
  PadSlots &slots = Slots();
  SDL_GameControllerUpdate();
  for (SDL_GameController *&pad : slots.pads)
    if (pad != nullptr && !SDL_GameControllerGetAttached(pad)) {
      SDL_GameControllerClose(pad);
      pad = nullptr;
    }
  int count = SDL_NumJoysticks();
  for (int device = 0; device < count; ++device) {
    if (!SDL_IsGameController(device) || IsOpen(SDL_JoystickGetDeviceInstanceID(device)))
      continue;
    for (int user = 0; user < XUSER_MAX_COUNT; ++user)
      if (slots.pads[user] == nullptr) {
        slots.pads[user] = SDL_GameControllerOpen(device);
        break;
      }
  }
}

// SDL's y grows downwards, XInput's upwards.
SHORT Upwards(Sint16 value) {
  return static_cast<SHORT>(value <= -32767 ? 32767 : -value);
}

BYTE TriggerByte(Sint16 value) {
  return static_cast<BYTE>(value <= 0 ? 0 : value * 255 / 32767);
}

} // namespace

bool ReadPlatformPad(DWORD userIndex, XINPUT_GAMEPAD *state) {
  if (!StartControllers())
    return false;
  RefreshSlots();
  SDL_GameController *pad = Slots().pads[userIndex];
  if (pad == nullptr)
    return false;
  *state = {};
  for (const PadButtonBit &entry : PadButtons)
    if (SDL_GameControllerGetButton(pad, entry.button))
      state->wButtons |= entry.bit;
  state->bLeftTrigger =
      TriggerByte(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
  state->bRightTrigger =
      TriggerByte(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
  state->sThumbLX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  state->sThumbLY = Upwards(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
  state->sThumbRX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
  state->sThumbRY = Upwards(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY));
  return true;
}

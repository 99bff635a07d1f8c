// The gamepads that tests attach (platform/testing.h): SDL's virtual joysticks with the game
// controller layout, which SDL maps as it maps a real Xbox pad, so that XInputGetState reads them
// through the same path. Linked into test programs only (zelu_platform_testing).
#include "platform/testing.h"
#include "platform/sdl/gamepad_buttons.h"
#include "platform/win32_core/test_hooks.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The attached pads by number; null once detached. Each is held open to set its state.
std::vector<SDL_Joystick *> &Pads() {
  static std::vector<SDL_Joystick *> pads;
  return pads;
}

// A pad number that names no attached pad is a mistake in the test.
SDL_Joystick *Pad(int pad) {
  if (pad < 0 || pad >= static_cast<int>(Pads().size()) || Pads()[pad] == nullptr) {
    std::fprintf(stderr, "platform/testing.h: no attached gamepad %d\n", pad);
    std::abort();
  }
  return Pads()[pad];
}

void Fail(const char *what) {
  std::fprintf(stderr, "platform/testing.h: %s: %s\n", what, SDL_GetError());
  std::abort();
}

} // namespace

int TestAttachGamepad() {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    Fail("no game controllers");
  SDL_VirtualJoystickDesc description;
  SDL_zero(description);
  description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  description.naxes = SDL_CONTROLLER_AXIS_MAX;
  description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  description.name = "zelu-line test pad";
  int device = SDL_JoystickAttachVirtualEx(&description);
  if (device < 0)
    Fail("SDL_JoystickAttachVirtualEx");
  SDL_Joystick *joystick = SDL_JoystickOpen(device);
  if (joystick == nullptr)
    Fail("SDL_JoystickOpen");
  Pads().push_back(joystick);
  return static_cast<int>(Pads().size()) - 1;
}

void TestSetGamepadButtons(int pad, WORD buttons) {
  SDL_Joystick *joystick = Pad(pad);
  for (const PadButtonBit &entry : PadButtons)
    SDL_JoystickSetVirtualButton(joystick, entry.button, (buttons & entry.bit) != 0);
}

void TestSetGamepadStick(int pad, int x, int y) {
  SDL_Joystick *joystick = Pad(pad);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
}

void TestDetachGamepad(int pad) {
  SDL_Joystick *joystick = Pad(pad);
  SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
  SDL_JoystickClose(joystick);
  Pads()[pad] = nullptr;
  for (int device = 0; device < SDL_NumJoysticks(); ++device)
    if (SDL_JoystickGetDeviceInstanceID(device) == id) {
      SDL_JoystickDetachVirtual(device);
      break;
    }
}

void DetachNativeTestGamepads() {
  for (int pad = 0; pad < static_cast<int>(Pads().size()); ++pad)
    if (Pads()[pad] != nullptr)
      TestDetachGamepad(pad);
  Pads().clear();
}

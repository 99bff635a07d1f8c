// The game's keys on a gamepad, written once for every build: the platform provides
// XInputGetState (Windows itself, SDL's game controllers, the page's Gamepad API).
#include "app/gamepad.h"

#include "app/window_proc.h"
#include "platform/win32.h"

#include <cstdlib>

PadRecord Gamepad;

namespace {

struct ButtonKey {
  unsigned button;
  int virtualKey;
};

// The buttons that stand for a key as long as they are held.
const ButtonKey HeldButtons[] = {
    {XINPUT_GAMEPAD_DPAD_UP, VK_UP},     {XINPUT_GAMEPAD_DPAD_DOWN, VK_DOWN},
    {XINPUT_GAMEPAD_DPAD_LEFT, VK_LEFT}, {XINPUT_GAMEPAD_DPAD_RIGHT, VK_RIGHT},
    {XINPUT_GAMEPAD_A, VK_SPACE},        {XINPUT_GAMEPAD_START, VK_SPACE},
    {XINPUT_GAMEPAD_BACK, VK_ESCAPE},
};

bool Horizontal(int key) {
  return key == VK_LEFT || key == VK_RIGHT;
}

bool Vertical(int key) {
  return key == VK_UP || key == VK_DOWN;
}

void ReleasePadKeys() {
  for (bool &key : Gamepad.keys)
    key = false;
}

} // namespace

int StickKey(int x, int y, int heldKey) {
  int across = std::abs(x), along = std::abs(y);
  if (across <= StickDeadZone && along <= StickDeadZone)
    return 0;
  bool horizontal = across >= along;
  if (Horizontal(heldKey))
    horizontal = along * 4 <= across * 5;
  else if (Vertical(heldKey))
    horizontal = across * 4 > along * 5;
  if (horizontal)
    return x > 0 ? VK_RIGHT : VK_LEFT;
  return y > 0 ? VK_UP : VK_DOWN;
}

void PollGamepad() {
  XINPUT_STATE state = {};
  int found = -1;
  for (DWORD user = 0; user < XUSER_MAX_COUNT && found < 0; ++user)
    if (XInputGetState(user, &state) == ERROR_SUCCESS)
      found = static_cast<int>(user);
  unsigned before = found == Gamepad.userIndex ? Gamepad.buttons : 0;
  ReleasePadKeys();
  Gamepad.userIndex = found;
  if (found < 0) {
    Gamepad.buttons = 0;
    Gamepad.stickKey = 0;
    return;
  }
  unsigned buttons = state.Gamepad.wButtons;
  Gamepad.buttons = buttons;
  for (const ButtonKey &held : HeldButtons)
    if (buttons & held.button)
      Gamepad.keys[held.virtualKey] = true;
  Gamepad.stickKey = StickKey(state.Gamepad.sThumbLX, state.Gamepad.sThumbLY, Gamepad.stickKey);
  if (Gamepad.stickKey != 0)
    Gamepad.keys[Gamepad.stickKey] = true;
  // F1 switches the display mode once per press, as one key-down does.
  Gamepad.keys[VK_F1] = (buttons & XINPUT_GAMEPAD_Y) && !(before & XINPUT_GAMEPAD_Y);
}

bool KeyDown(int virtualKey) {
  return KeyState[virtualKey] || Gamepad.keys[virtualKey];
}

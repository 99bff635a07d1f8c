// The game's keys on a gamepad: the first connected pad, read once per frame through
// XInputGetState, holds the keys that its D-pad, left stick and buttons stand for.
#pragma once

// What the pad holds. Valid after PollGamepad; all false while no pad is connected.
struct PadRecord {
  int userIndex = -1;   // the pad being read (0 to 3), -1 while none is connected
  unsigned buttons = 0; // its XINPUT_GAMEPAD_* buttons at the last reading
  int stickKey = 0;     // the arrow key its left stick holds, 0 at rest or in the dead zone
  bool keys[256] = {};  // by virtual-key code; F1 only in the frame its button went down
};
extern PadRecord Gamepad;

// The left stick's dead zone, in either axis's units (-32768 to 32767).
const int StickDeadZone = 7849;

// Reads the first connected pad (the lowest user index) and sets Gamepad.keys from it:
//   D-pad, left stick past its dead zone   the arrow keys (the stick: its larger axis)
//   A (south) and Start                    Space
//   Y (north)                              F1, once per press
//   Back                                   Escape
// A pad connected or disconnected since the last call counts at once.
void PollGamepad();
// The arrow key the stick at (x, y) holds (y growing upwards), given the one it held before: a
// diagonal holds its larger axis, and a held axis gives way only when the other is a quarter
// larger, so that a stick near the diagonal does not flicker between two keys. 0 inside the
// dead zone.
int StickKey(int x, int y, int heldKey);
// Down on the keyboard (KeyState) or on the pad: either steers, and releasing one leaves the
// other held.
bool KeyDown(int virtualKey);

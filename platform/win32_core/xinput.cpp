// XInputGetState for the non-Windows builds: XInput's rules (the user indices, the packet
// number) over the pads that the platform beneath reads (ReadPlatformPad).
#include "platform/win32.h"
#include "platform/win32_core/native_platform.h"

namespace {

struct PadReadings {
  XINPUT_GAMEPAD last[XUSER_MAX_COUNT] = {};
  DWORD packets[XUSER_MAX_COUNT] = {};
};

PadReadings &Readings() {
  static PadReadings readings;
  return readings;
}

bool SameState(const XINPUT_GAMEPAD &a, const XINPUT_GAMEPAD &b) {
  return a.wButtons == b.wButtons && a.bLeftTrigger == b.bLeftTrigger &&
         a.bRightTrigger == b.bRightTrigger && a.sThumbLX == b.sThumbLX &&
         a.sThumbLY == b.sThumbLY && a.sThumbRX == b.sThumbRX && a.sThumbRY == b.sThumbRY;
}

} // namespace

DWORD WINAPI XInputGetState(DWORD userIndex, XINPUT_STATE *state) {
  if (userIndex >= XUSER_MAX_COUNT || state == nullptr)
    return ERROR_BAD_ARGUMENTS;
  PadReadings &readings = Readings();
  XINPUT_GAMEPAD pad = {};
  if (!ReadPlatformPad(userIndex, &pad)) {
    readings.packets[userIndex] = 0;
    return ERROR_DEVICE_NOT_CONNECTED;
  }
  // The packet number changes whenever the state does.
  if (readings.packets[userIndex] == 0 || !SameState(pad, readings.last[userIndex]))
    ++readings.packets[userIndex];
  readings.last[userIndex] = pad;
  state->dwPacketNumber = readings.packets[userIndex];
  state->Gamepad = pad;
  return ERROR_SUCCESS;
}

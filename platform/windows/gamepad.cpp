// XInputGetState for the Windows build: XInput is loaded when the game first reads a pad,
// xinput1_4.dll (Windows 8 and later) or else xinput9_1_0.dll (Vista and 7), so that a system
// without either still plays, with no pad.
#include "platform/win32.h"

namespace {

typedef DWORD(WINAPI *GetStateCall)(DWORD, XINPUT_STATE *);

// An empty user index is asked again after this long only: XInput is slow to answer for one,
// and Microsoft advises against asking every frame.
const ULONGLONG EmptyIndexMillis = 500;

// Null when neither library is there; looked for once.
GetStateCall LoadGetState() {
  const char *const libraries[] = {"xinput1_4.dll", "xinput9_1_0.dll"};
  for (const char *name : libraries) {
    // From the system folder only: a same-named library beside the game is never loaded.
    HMODULE library = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr)
      continue;
    FARPROC call = GetProcAddress(library, "XInputGetState");
    if (call != nullptr)
      return reinterpret_cast<GetStateCall>(reinterpret_cast<void (*)()>(call));
    FreeLibrary(library);
  }
  return nullptr;
}

} // namespace

DWORD WINAPI XInputGetState(DWORD userIndex, XINPUT_STATE *state) {
  static const GetStateCall getState = LoadGetState();
  static ULONGLONG emptySince[XUSER_MAX_COUNT];
  static bool empty[XUSER_MAX_COUNT];
  if (getState == nullptr)
    return ERROR_DEVICE_NOT_CONNECTED;
  if (userIndex >= XUSER_MAX_COUNT || state == nullptr)
    return getState(userIndex, state);
  ULONGLONG now = GetTickCount64();
  if (empty[userIndex] && now - emptySince[userIndex] < EmptyIndexMillis)
    return ERROR_DEVICE_NOT_CONNECTED;
  DWORD result = getState(userIndex, state);
  empty[userIndex] = result == ERROR_DEVICE_NOT_CONNECTED;
  emptySince[userIndex] = now;
  return result;
}

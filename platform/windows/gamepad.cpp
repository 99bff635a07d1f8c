// XInputGetState for the Windows build: XInput is loaded when the game first reads a pad,
// xinput1_4.dll (Windows 8 and later) or else xinput9_1_0.dll (Vista and 7), so that a system
// without either still plays, with no pad.
#include "platform/win32.h"

namespace {

typedef DWORD(WINAPI *GetStateCall)(DWORD, XINPUT_STATE *);

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
  if (getState == nullptr)
    return ERROR_DEVICE_NOT_CONNECTED;
  return getState(userIndex, state);
}

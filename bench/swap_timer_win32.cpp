// The swap timer of the Windows build: the program's import of gdi32's SwapBuffers is pointed at
// a wrapper that notes the time and calls the real one; Escape is posted to the game window. The
// imports of kernel32's CreateWaitableTimerExW and GetProcAddress can be pointed at ones that make
// no timer and do not find Wine.
#include "bench/swap_timer.h"

#include "app/game_window.h"
#include "platform/win32.h"

#include <cstring>

namespace {

typedef BOOL(WINAPI *SwapBuffersCall)(HDC);
SwapBuffersCall realSwapBuffers;
SwapRecord *recorded;
size_t wanted;

BOOL WINAPI TimedSwapBuffers(HDC dc) {
  if (NoteSwap(recorded, wanted))
    PostMessageA(AppWindow.window, WM_KEYDOWN, VK_ESCAPE, 0);
  BOOL swapped = realSwapBuffers(dc);
  if (swapped)
    NotePresented(recorded);
  return swapped;
}

double Seconds(const FILETIME &t) { // counted in 100 ns
  return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
         1e-7;
}

// The import-table slot through which this program calls `function` of `dll`; null when none.
ULONG_PTR *ImportSlot(const char *dll, const char *function) {
  BYTE *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
  IMAGE_NT_HEADERS *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
  IMAGE_DATA_DIRECTORY directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  IMAGE_IMPORT_DESCRIPTOR *module =
      reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + directory.VirtualAddress);
  for (; module->Name != 0; ++module) {
    if (_stricmp(reinterpret_cast<char *>(base + module->Name), dll) != 0)
      continue;
    IMAGE_THUNK_DATA *names =
        reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->OriginalFirstThunk);
    IMAGE_THUNK_DATA *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
        continue;
      IMAGE_IMPORT_BY_NAME *name =
          reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char *>(name->Name), function) == 0)
        return &slots->u1.Function;
    }
  }
  return nullptr;
}

// Points this program's import of `function` of `dll` at `replacement`; false when there is none.
bool Redirect(const char *dll, const char *function, ULONG_PTR replacement, ULONG_PTR *original) {
  ULONG_PTR *slot = ImportSlot(dll, function);
  if (slot == nullptr)
    return false;
  DWORD protection;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  if (original != nullptr)
    *original = *slot;
  *slot = replacement;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
  return true;
}

HANDLE WINAPI NoWaitableTimer(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

typedef FARPROC(WINAPI *GetProcAddressCall)(HMODULE, LPCSTR);
GetProcAddressCall realGetProcAddress;

// Finds all but Wine's mark: the game then takes Wine for Windows, and sleeps on a timer or not
// at all.
FARPROC WINAPI GetProcAddressButWine(HMODULE module, LPCSTR name) {
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && std::strcmp(name, "wine_get_version") == 0)
    return nullptr;
  return realGetProcAddress(module, name);
}

} // namespace

bool TimeSwaps(SwapRecord *record, size_t frames) {
  recorded = record;
  wanted = frames;
  ULONG_PTR original;
  if (!Redirect("gdi32.dll", "SwapBuffers", reinterpret_cast<ULONG_PTR>(TimedSwapBuffers),
                &original))
    return false;
  realSwapBuffers = reinterpret_cast<SwapBuffersCall>(original);
  return true;
}

bool DenySleeps() {
  ULONG_PTR original;
  if (!Redirect("kernel32.dll", "GetProcAddress",
                reinterpret_cast<ULONG_PTR>(GetProcAddressButWine), &original))
    return false;
  realGetProcAddress = reinterpret_cast<GetProcAddressCall>(original);
  return Redirect("kernel32.dll", "CreateWaitableTimerExW",
                  reinterpret_cast<ULONG_PTR>(NoWaitableTimer), nullptr);
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    return 0;
  return Seconds(kernel) + Seconds(user);
}

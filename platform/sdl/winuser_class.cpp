// Window classes, the system icon and cursor, the game's icon for the stock application icon, and
// the frame that window styles imply.
#include "platform/win32.h"
#include "platform/sdl/test_hooks.h"
#include "platform/sdl/winuser_state.h"

#include <strings.h>

#include <cstddef>

#include <vector>

extern const unsigned char kAppIconBitmap[];
extern const std::size_t kAppIconBitmapSize;

namespace {

// Frame metrics, in pixels, of a classic 96-dpi desktop. SDL's windows have no frame of ours
// (the window manager adds its own), so these only need to agree between AdjustWindowRectEx and
// CreateWindowExA, which takes them off again.
const int kSizingFrame = 8;
const int kDialogFrame = 3;
const int kThinBorder = 1;
const int kCaptionHeight = 23;
const int kMenuHeight = 20;
const DWORD kDialogFrameStyle = WS_CAPTION & ~WS_BORDER; // WS_DLGFRAME

// The system icons (IDI_*) and cursors (IDC_*) lie in 32512 to 32651; they need no release.
const UINT_PTR kFirstSystemResource = 32512;
const UINT_PTR kLastSystemResource = 32651;

// The stock application icon (IDI_APPLICATION, and IDI_WINLOGO, which shows it since Windows
// 2000): on Windows a program without an icon resource shows it; here the game's icon stands in.
const UINT_PTR kApplicationIcon = 32512;
const UINT_PTR kWindowsLogoIcon = 32517;

struct WindowClass {
  std::string name;
  WNDPROC procedure;
  ATOM atom;
  HICON icon;
};

struct ClassTable {
  std::vector<WindowClass> classes;
  ATOM nextAtom = 0xC000; // string atoms live from 0xC000 up
};

ClassTable &Classes() {
  static ClassTable table;
  return table;
}

// Class names compare without regard to case, as on Win32.
WindowClass *FindClass(const char *name) {
  if (name == nullptr)
    return nullptr;
  for (WindowClass &entry : Classes().classes) {
    if (strcasecmp(entry.name.c_str(), name) == 0)
      return &entry;
  }
  return nullptr;
}

// A system resource asked for by MAKEINTRESOURCE with no module: a stable non-null handle.
void *SystemResource(HINSTANCE instance, LPCSTR name) {
  UINT_PTR id = reinterpret_cast<UINT_PTR>(name);
  if (instance != nullptr || id < kFirstSystemResource || id > kLastSystemResource)
    return nullptr;
  return reinterpret_cast<void *>(id << 4);
}

// The game's icon as SDL takes it, read once from the embedded bitmap; null if unreadable.
SDL_Surface *AppIcon() {
  static SDL_Surface *icon =
      SDL_LoadBMP_RW(SDL_RWFromConstMem(kAppIconBitmap, static_cast<int>(kAppIconBitmapSize)), 1);
  return icon;
}

} // namespace

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR iconName) {
  if (HookFails(PlatformCall::LoadIconA))
    return nullptr;
  return static_cast<HICON>(SystemResource(instance, iconName));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
  if (HookFails(PlatformCall::LoadCursorA))
    return nullptr;
  return static_cast<HCURSOR>(SystemResource(instance, cursorName));
}

ATOM WINAPI RegisterClassA(const WNDCLASSA *windowClass) {
  if (HookFails(PlatformCall::RegisterClassA))
    return 0;
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
      windowClass->lpfnWndProc == nullptr)
    return 0;
  // Integer atoms as class names are not supported: every name is a string here.
  if (reinterpret_cast<UINT_PTR>(windowClass->lpszClassName) < 0x10000)
    return 0;
  if (FindClass(windowClass->lpszClassName) != nullptr)
    return 0; // ERROR_CLASS_ALREADY_EXISTS
  ClassTable &table = Classes();
  ATOM atom = table.nextAtom++;
  table.classes.push_back(
      {windowClass->lpszClassName, windowClass->lpfnWndProc, atom, windowClass->hIcon});
  return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE /*instance*/) {
  if (HookFails(PlatformCall::UnregisterClassA))
    return FALSE;
  WindowClass *found = FindClass(className);
  if (found == nullptr || ClassHasWindows(found->name))
    return FALSE; // ERROR_CLASS_DOES_NOT_EXIST, ERROR_CLASS_HAS_WINDOWS
  std::vector<WindowClass> &classes = Classes().classes;
  classes.erase(classes.begin() + (found - classes.data()));
  return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (HookFails(PlatformCall::AdjustWindowRectEx) || rect == nullptr)
    return FALSE;
  RECT insets = FrameInsets(style, menu, exStyle);
  rect->left -= insets.left;
  rect->top -= insets.top;
  rect->right += insets.right;
  rect->bottom += insets.bottom;
  return TRUE;
}

RECT FrameInsets(DWORD style, BOOL menu, DWORD /*exStyle*/) {
  int frame = 0;
  if (style & WS_THICKFRAME)
    frame = kSizingFrame;
  else if (style & kDialogFrameStyle)
    frame = kDialogFrame;
  else if (style & WS_BORDER)
    frame = kThinBorder;
  int top = frame;
  if ((style & WS_CAPTION) == WS_CAPTION)
    top += kCaptionHeight;
  if (menu)
    top += kMenuHeight;
  return RECT{frame, top, frame, frame};
}

WNDPROC ClassProcedure(const char *className) {
  WindowClass *found = FindClass(className);
  return found == nullptr ? nullptr : found->procedure;
}

void ShowClassIcon(const char *className, SDL_Window *window) {
  WindowClass *found = FindClass(className);
  if (found == nullptr || window == nullptr || AppIcon() == nullptr)
    return;
  // A class without an icon shows the application icon too, as on Windows.
  if (found->icon == nullptr ||
      found->icon == SystemResource(nullptr, MAKEINTRESOURCEA(kApplicationIcon)) ||
      found->icon == SystemResource(nullptr, MAKEINTRESOURCEA(kWindowsLogoIcon)))
    SDL_SetWindowIcon(window, AppIcon());
}

std::string ClassName(const char *className) {
  WindowClass *found = FindClass(className);
  return found == nullptr ? std::string() : found->name;
}

void ForgetUnusedClasses() {
  std::vector<WindowClass> &classes = Classes().classes;
  for (size_t i = classes.size(); i-- > 0;) {
    if (!ClassHasWindows(classes[i].name))
      classes.erase(classes.begin() + static_cast<long>(i));
  }
}

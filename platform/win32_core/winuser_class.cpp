// Window classes, the system icon and cursor, which classes show the stock application icon (the
// game's own, shown by the platform), and the frame that window styles imply.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <strings.h>

#include <vector>

namespace {

// Frame metrics, in pixels, of a classic 96-dpi desktop. SDL's windows have no frame of ours
// (the window manager adds its own), so these only need to agree between AdjustWindowRectEx and
// CreateWindowExA, which takes them off again.
const int SizingFrame = 8;
const int DialogFrame = 3;
const int ThinBorder = 1;
const int CaptionHeight = 23;
const int MenuHeight = 20;
const DWORD DialogFrameStyle = WS_CAPTION & ~WS_BORDER; // WS_DLGFRAME

// The system icons (IDI_*) and cursors (IDC_*) lie in 32512 to 32651; they need no release.
const UINT_PTR FirstSystemResource = 32512;
const UINT_PTR LastSystemResource = 32651;

// The stock application icon (IDI_APPLICATION, and IDI_WINLOGO, which shows it since Windows
// 2000): on Windows a program without an icon resource shows it; here the game's icon stands in.
const UINT_PTR ApplicationIcon = 32512;
const UINT_PTR WindowsLogoIcon = 32517;

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

// A name is a class's atom (MAKEINTATOM of what RegisterClassA returned) or a string; string names
// compare without regard to case, as on Win32. Only the atoms handed out count as atoms: any
// other value is a string, even below 0x10000, where a 32-bit build's static data may lie.
WindowClass *FindClass(const char *name) {
  if (name == nullptr)
    return nullptr;
  UINT_PTR value = reinterpret_cast<UINT_PTR>(name);
  for (WindowClass &entry : Classes().classes) {
    if (value == entry.atom)
      return &entry;
  }
  for (WindowClass &entry : Classes().classes) {
    if (strcasecmp(entry.name.c_str(), name) == 0)
      return &entry;
  }
  return nullptr;
}

// A system resource asked for by MAKEINTRESOURCE with no module: a stable non-null handle.
void *SystemResource(HINSTANCE instance, LPCSTR name) {
  UINT_PTR id = reinterpret_cast<UINT_PTR>(name);
  if (instance != nullptr || id < FirstSystemResource || id > LastSystemResource)
    return nullptr;
  return reinterpret_cast<void *>(id << 4);
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
  // Names are strings here (integer atoms are not registered), whatever their address.
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
    frame = SizingFrame;
  else if (style & DialogFrameStyle)
    frame = DialogFrame;
  else if (style & WS_BORDER)
    frame = ThinBorder;
  int top = frame;
  if ((style & WS_CAPTION) == WS_CAPTION)
    top += CaptionHeight;
  if (menu)
    top += MenuHeight;
  return RECT{frame, top, frame, frame};
}

WNDPROC ClassProcedure(const char *className) {
  WindowClass *found = FindClass(className);
  return found == nullptr ? nullptr : found->procedure;
}

bool ClassShowsApplicationIcon(const char *className) {
  WindowClass *found = FindClass(className);
  // A class without an icon shows the application icon too, as on Windows.
  return found != nullptr &&
         (found->icon == nullptr ||
          found->icon == SystemResource(nullptr, MAKEINTRESOURCEA(ApplicationIcon)) ||
          found->icon == SystemResource(nullptr, MAKEINTRESOURCEA(WindowsLogoIcon)));
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

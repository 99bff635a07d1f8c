// The one header through which game code reaches the platform and OpenGL.
// On Windows it is <windows.h>; elsewhere it declares the Win32 subset that platform/sdl (or, in
// the browser, platform/web) provides over platform/win32_core.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
// XInputGetState is ours (platform/windows/gamepad.cpp): it loads XInput when first called, so
// that a system without it still plays.
#include <xinput.h>
#include <GL/gl.h>

// Windows 10 1803 and later; MinGW-w64's headers do not name it yet.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

#else

// Calls provided by platform/win32_core (over platform/sdl or platform/web), by Win32 area:
//   kernel:    GetModuleHandleA, GetProcAddress, CreateFileA, CreateFileW, GetFileSize,
//              CreateFileMappingA, MapViewOfFile, UnmapViewOfFile, CloseHandle, LocalAlloc,
//              LocalFree, QueryPerformanceFrequency, QueryPerformanceCounter,
//              CreateWaitableTimerExW, SetWaitableTimer, WaitForSingleObject
//   user:      LoadIconA, LoadCursorA, RegisterClassA, UnregisterClassA, AdjustWindowRectEx,
//              CreateWindowExA, ShowWindow, SetForegroundWindow, SetFocus, GetFocus, DestroyWindow,
//              ChangeDisplaySettingsA, ShowCursor, PeekMessageA, TranslateMessage,
//              DispatchMessageA, DefWindowProcA, PostQuitMessage, MessageBoxA, wsprintfA
//   gdi/wgl:   GetDC, ReleaseDC, ChoosePixelFormat, SetPixelFormat, SwapBuffers, wglCreateContext,
//              wglMakeCurrent, wglDeleteContext, wglGetProcAddress, CreateCompatibleDC,
//              CreateDIBSection, SelectObject, SetDIBits, GdiFlush, DeleteDC, DeleteObject
//   winmm:     timeGetTime, timeBeginPeriod, timeEndPeriod, PlaySoundA
//   xinput:    XInputGetState
//   entry:     each platform's main calls WinMain

#include <cstddef>
#include <cstdint>

#ifdef __APPLE__
#define GL_SILENCE_DEPRECATION
#include <OpenGL/gl.h>
#else
#include <GL/gl.h>
#endif
#ifdef __EMSCRIPTEN__
// WebGL has no OpenGL 1.1: the web platform's own subset draws the game's calls.
#include "platform/web/gl_subset.h"
#endif

#define WINAPI
#define WINAPIV
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int16_t SHORT;
typedef unsigned int UINT;
typedef int INT;
typedef int64_t LONGLONG;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef char CHAR;
typedef char16_t WCHAR; // UTF-16, as on Windows
typedef const char *LPCSTR;
typedef char *LPSTR;
typedef const WCHAR *LPCWSTR;
typedef void *LPVOID;
typedef void *HANDLE;
typedef size_t SIZE_T;

// Handles are distinct pointer types, as with STRICT on Windows.
#define ZELU_DECLARE_HANDLE(name)                                                                  \
  struct name##__ {                                                                                \
    int unused;                                                                                    \
  };                                                                                               \
  typedef struct name##__ *name
ZELU_DECLARE_HANDLE(HWND);
ZELU_DECLARE_HANDLE(HDC);
ZELU_DECLARE_HANDLE(HGLRC);
ZELU_DECLARE_HANDLE(HINSTANCE);
ZELU_DECLARE_HANDLE(HICON);
ZELU_DECLARE_HANDLE(HMENU);
ZELU_DECLARE_HANDLE(HBRUSH);
ZELU_DECLARE_HANDLE(HBITMAP);
#undef ZELU_DECLARE_HANDLE
typedef HINSTANCE HMODULE;
typedef intptr_t(WINAPI *FARPROC)(void);
typedef HICON HCURSOR;
typedef void *HGDIOBJ;
typedef void *HLOCAL;

#define TRUE 1
#define FALSE 0

typedef union _LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
} LARGE_INTEGER;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
} WNDCLASSA;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

// The 148-byte display-mode record (without the panning fields of later Windows versions).
typedef struct _devicemodeA {
  BYTE dmDeviceName[32];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  short dmOrientation;
  short dmPaperSize;
  short dmPaperLength;
  short dmPaperWidth;
  short dmScale;
  short dmCopies;
  short dmDefaultSource;
  short dmPrintQuality;
  short dmColor;
  short dmDuplex;
  short dmYResolution;
  short dmTTOption;
  short dmCollate;
  BYTE dmFormName[32];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
} DEVMODEA;
static_assert(sizeof(DEVMODEA) == 148, "DEVMODEA is 148 bytes");

typedef struct tagPIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR;
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "PIXELFORMATDESCRIPTOR is 40 bytes");

// Bitmap records. Files store them packed and little-endian; readers must not assume alignment.
#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
} BITMAPFILEHEADER;
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes");

typedef struct tagBITMAPCOREHEADER {
  DWORD bcSize;
  WORD bcWidth;
  WORD bcHeight;
  WORD bcPlanes;
  WORD bcBitCount;
} BITMAPCOREHEADER;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER;
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");

typedef struct tagRGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
} RGBTRIPLE;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO;

typedef struct _SECURITY_ATTRIBUTES SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define MAKEINTATOM(i) ((LPSTR)((UINT_PTR)((WORD)(i))))

// Window messages.
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_SHOWWINDOW 0x0018
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_SYSCOMMAND 0x0112

#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1

#define SC_SIZE 0xF000
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_KEYMENU 0xF100
#define SC_RESTORE 0xF120
#define SC_SCREENSAVE 0xF140
#define SC_MONITORPOWER 0xF170

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// Virtual-key codes.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B

// Window class and window styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_OWNDC 0x0020

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW                                                                        \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_APPWINDOW 0x00040000L

#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

#define SW_HIDE 0
#define SW_SHOW 5

// Display modes.
#define CDS_FULLSCREEN 0x00000004
#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_FAILED -1
#define DISP_CHANGE_BADMODE -2
#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH 0x00080000L
#define DM_PELSHEIGHT 0x00100000L

// Message boxes.
#define MB_OK 0x00000000L
#define MB_YESNO 0x00000004L
#define MB_ICONERROR 0x00000010L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Pixel formats.
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// Files and memory.
#define GENERIC_READ 0x80000000L
#define FILE_SHARE_READ 0x00000001
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004
#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040

// Waitable timers and waits.
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#define TIMER_ALL_ACCESS 0x001F0003
#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 0x00000102L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)
typedef void(CALLBACK *PTIMERAPCROUTINE)(LPVOID context, DWORD timerLowValue, DWORD timerHighValue);

// Multimedia timer resolution.
typedef UINT MMRESULT;
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

// Bitmaps.
#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define DIB_RGB_COLORS 0

// Sounds.
#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_LOOP 0x0008

// Gamepads (XInput): the Xbox layout, whatever the pad.
#define XUSER_MAX_COUNT 4
#define ERROR_SUCCESS 0L
#define ERROR_BAD_ARGUMENTS 160L
#define ERROR_DEVICE_NOT_CONNECTED 1167L
#define XINPUT_GAMEPAD_DPAD_UP 0x0001
#define XINPUT_GAMEPAD_DPAD_DOWN 0x0002
#define XINPUT_GAMEPAD_DPAD_LEFT 0x0004
#define XINPUT_GAMEPAD_DPAD_RIGHT 0x0008
#define XINPUT_GAMEPAD_START 0x0010
#define XINPUT_GAMEPAD_BACK 0x0020
#define XINPUT_GAMEPAD_LEFT_THUMB 0x0040
#define XINPUT_GAMEPAD_RIGHT_THUMB 0x0080
#define XINPUT_GAMEPAD_LEFT_SHOULDER 0x0100
#define XINPUT_GAMEPAD_RIGHT_SHOULDER 0x0200
#define XINPUT_GAMEPAD_A 0x1000
#define XINPUT_GAMEPAD_B 0x2000
#define XINPUT_GAMEPAD_X 0x4000
#define XINPUT_GAMEPAD_Y 0x8000
#define XINPUT_GAMEPAD_LEFT_THUMB_DEADZONE 7849

// The sticks run from -32768 to 32767, y growing upwards; the triggers from 0 to 255.
typedef struct _XINPUT_GAMEPAD {
  WORD wButtons;
  BYTE bLeftTrigger;
  BYTE bRightTrigger;
  SHORT sThumbLX;
  SHORT sThumbLY;
  SHORT sThumbRX;
  SHORT sThumbRY;
} XINPUT_GAMEPAD;

typedef struct _XINPUT_STATE {
  DWORD dwPacketNumber;
  XINPUT_GAMEPAD Gamepad;
} XINPUT_STATE;

// kernel
// This platform loads no libraries: the program's own module (a null name) is the only one found,
// and no function is found in it.
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE WINAPI CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile);
DWORD WINAPI GetFileSize(HANDLE file, DWORD *fileSizeHigh);
HANDLE WINAPI CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect,
                                 DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCSTR name);
LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                            SIZE_T bytesToMap);
BOOL WINAPI UnmapViewOfFile(const void *baseAddress);
BOOL WINAPI CloseHandle(HANDLE object);
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL WINAPI LocalFree(HLOCAL memory);
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency);
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count);
// Unnamed timers that reset when a wait ends (synchronization timers); the flags may ask for high
// resolution. Relative due times only (negative, in 100 ns units), no period, no completion
// routine. A wait for a timer that is not set fails instead of blocking for ever.
HANDLE WINAPI CreateWaitableTimerExW(LPSECURITY_ATTRIBUTES security, LPCWSTR name, DWORD flags,
                                     DWORD desiredAccess);
BOOL WINAPI SetWaitableTimer(HANDLE timer, const LARGE_INTEGER *dueTime, LONG period,
                             PTIMERAPCROUTINE completion, LPVOID completionContext, BOOL resume);
DWORD WINAPI WaitForSingleObject(HANDLE object, DWORD milliseconds);

// user
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR iconName);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName);
ATOM WINAPI RegisterClassA(const WNDCLASSA *windowClass);
BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
BOOL WINAPI ShowWindow(HWND window, int command);
BOOL WINAPI SetForegroundWindow(HWND window);
HWND WINAPI SetFocus(HWND window);
HWND WINAPI GetFocus(void);
BOOL WINAPI DestroyWindow(HWND window);
LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *mode, DWORD flags);
int WINAPI ShowCursor(BOOL show);
BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL WINAPI TranslateMessage(const MSG *msg);
LRESULT WINAPI DispatchMessageA(const MSG *msg);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exitCode);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// Formats like Win32's: %s, %ws (UTF-16), %c, %d, %i, %u, %x, %X with flags, width and precision;
// writes at most 1024 characters and the terminator.
int WINAPIV wsprintfA(LPSTR out, LPCSTR format, ...);

// gdi and wgl
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR *descriptor);
BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR *descriptor);
BOOL WINAPI SwapBuffers(HDC dc);
HGLRC WINAPI wglCreateContext(HDC dc);
BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context);
BOOL WINAPI wglDeleteContext(HGLRC context);
typedef intptr_t(WINAPI *PROC)(void);
// The current context's extension functions; only WGL_EXT_swap_control's wglSwapIntervalEXT and
// wglGetSwapIntervalEXT where the platform has a swap interval. Null with no current context.
PROC WINAPI wglGetProcAddress(LPCSTR name);
HDC WINAPI CreateCompatibleDC(HDC dc);
HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage, void **bits,
                                HANDLE section, DWORD offset);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
int WINAPI SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT scanLines, const void *bits,
                     const BITMAPINFO *info, UINT colorUse);
BOOL WINAPI GdiFlush(void);
BOOL WINAPI DeleteDC(HDC dc);
BOOL WINAPI DeleteObject(HGDIOBJ object);

// winmm
DWORD WINAPI timeGetTime(void);
MMRESULT WINAPI timeBeginPeriod(UINT period);
MMRESULT WINAPI timeEndPeriod(UINT period);
BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

// xinput: ERROR_SUCCESS with the pad's state, ERROR_DEVICE_NOT_CONNECTED (the state untouched)
// when no pad has this user index (0 to 3).
DWORD WINAPI XInputGetState(DWORD userIndex, XINPUT_STATE *state);

// The program's entry, which each platform's main calls.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand);

#endif

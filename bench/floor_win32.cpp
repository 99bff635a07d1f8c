// The Windows floor: the least a Win32 program does to show a 640 x 480 OpenGL frame through WGL,
// and to pace frames of 200 textured quads to 10 ms (a sleep to 0.3 ms before the frame's end,
// then a spin). It sleeps as the game does: on a high-resolution waitable timer, or under Wine,
// whose timer waits end up to 1 ms late, on ntdll's delay. The game's own figures under Wine are
// read against these. Usage: floor_probe.exe [FRAMES [fullscreen]]; 0 frames (the default)
// presents one frame and ends; `fullscreen` changes to a 640 x 480 mode first, as the game starts.
#include "bench/floor_scene.h"
#include "bench/floor_stats.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

const LONGLONG FrameHundredNanos = 100000; // 10 ms
const LONGLONG SpinHundredNanos = 3000;    // 0.3 ms

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME &t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
           1e-7;
  };
  return seconds(kernel) + seconds(user);
}

// The performance counter in 100 ns units.
LONGLONG NowHundredNanos() {
  static LARGE_INTEGER frequency;
  if (frequency.QuadPart == 0)
    QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency.QuadPart * 10000000 +
         now.QuadPart % frequency.QuadPart * 10000000 / frequency.QuadPart;
}

typedef LONG(WINAPI *DelayCall)(BOOLEAN, LARGE_INTEGER *);

// ntdll's delay where ntdll is Wine's, else null.
DelayCall FindWineDelay() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr)
    return nullptr;
  return reinterpret_cast<DelayCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "NtDelayExecution")));
}

} // namespace

int main(int argc, char **argv) {
  FloorClock::time_point start = FloorClock::now();
  long frames = argc > 1 ? std::atol(argv[1]) : 0;
  std::vector<FloorClock::time_point> swaps;
  swaps.reserve(static_cast<size_t>(frames) + 1);
  if (argc > 2 && std::strcmp(argv[2], "fullscreen") == 0) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 480;
    mode.dmBitsPerPel = 16;
    ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
  }
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "floor";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "floor", "floor", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  HDC dc = window != nullptr ? GetDC(window) : nullptr;
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 16;
  format.cDepthBits = 16;
  if (dc == nullptr || !SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format))
    return 2;
  HGLRC context = wglCreateContext(dc);
  if (context == nullptr || !wglMakeCurrent(dc, context))
    return 2;
  typedef BOOL(WINAPI * SwapIntervalCall)(int);
  if (PROC found = wglGetProcAddress("wglSwapIntervalEXT"))
    reinterpret_cast<SwapIntervalCall>(reinterpret_cast<void (*)()>(found))(0);
  DelayCall wineDelay = FindWineDelay();
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
  if (timer == nullptr)
    timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  MakeTexture();
  FloorFirstFrame first;
  double cpuAtFirst = 0, cpuAtLast = 0;
  // Each frame as the game runs one: draw, swap, then wait out 10 ms from the frame's start.
  for (long frame = 0; frame <= frames; ++frame) {
    LONGLONG frameStart = NowHundredNanos();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&message);
    DrawQuads(static_cast<int>(frame));
    swaps.push_back(FloorClock::now());
    if (frame == 0)
      cpuAtFirst = CpuSeconds();
    if (frame == frames)
      cpuAtLast = CpuSeconds();
    SwapBuffers(dc);
    if (frame == 0)
      first = NoteFirstFrame();
    if (frame == frames)
      break;
    LONGLONG end = frameStart + FrameHundredNanos;
    // The sleep's due time is relative: what remains to the spin's start.
    LARGE_INTEGER due;
    due.QuadPart = -(end - SpinHundredNanos - NowHundredNanos());
    if (due.QuadPart < 0 && wineDelay != nullptr)
      wineDelay(FALSE, &due);
    else if (due.QuadPart < 0 && timer != nullptr &&
             SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
      WaitForSingleObject(timer, INFINITE);
    while (NowHundredNanos() < end) {
    }
  }
  PrintFloorFigures(start, first, swaps, cpuAtLast - cpuAtFirst);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  ChangeDisplaySettingsA(nullptr, 0);
  return 0;
}

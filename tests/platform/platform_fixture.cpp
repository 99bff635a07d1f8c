// The native platform tests' shared fixture: recording procedure, window helpers and X tools.
#include "tests/platform/platform_fixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

std::vector<Delivered> delivered;

using Clock = std::chrono::steady_clock;

int MillisSince(Clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

} // namespace

const char TestClass[] = "ZeluPlatformTest";

bool operator==(const Delivered &a, const Delivered &b) {
  return a.window == b.window && a.message == b.message && a.wParam == b.wParam &&
         a.lParam == b.lParam;
}

void PrintTo(const Delivered &d, std::ostream *out) {
  *out << "{message 0x" << std::hex << d.message << ", wParam 0x" << d.wParam << ", lParam 0x"
       << d.lParam << std::dec << (d.window == nullptr ? ", no window}" : "}");
}

std::vector<Delivered> TakeDelivered() {
  std::vector<Delivered> taken;
  taken.swap(delivered);
  return taken;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  delivered.push_back({window, message, wParam, lParam});
  switch (message) {
  case WM_ACTIVATE:
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_SIZE:
    return 0;
  case WM_SYSCOMMAND:
    if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
      return 0;
    break;
  case WM_CLOSE:
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateClientWindow(DWORD style, DWORD exStyle, int clientWidth, int clientHeight,
                        const char *title) {
  RECT rect = {0, 0, clientWidth, clientHeight};
  EXPECT_TRUE(AdjustWindowRectEx(&rect, style, FALSE, exStyle));
  return CreateWindowExA(exStyle, TestClass, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void ShowAndSettle(HWND window) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  // The X server answers the mapping and the focus with events of its own; let them pass.
  Clock::time_point quietSince = Clock::now(), start = Clock::now();
  while (MillisSince(quietSince) < 150 && MillisSince(start) < 2000) {
    if (!DrainMessages().empty())
      quietSince = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  TakeDelivered();
}

std::vector<MSG> DrainMessages() {
  std::vector<MSG> taken;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return taken;
}

bool PumpUntil(const std::function<bool()> &done, int timeoutMillis) {
  Clock::time_point start = Clock::now();
  while (!done()) {
    if (MillisSince(start) > timeoutMillis)
      return false;
    DrainMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void RequireDisplay() {
  const char *display = getenv("DISPLAY");
  ASSERT_TRUE(display != nullptr && *display != 0)
      << "These tests need an X display (Xvfb): set DISPLAY, or run them through `make test`.";
}

const PIXELFORMATDESCRIPTOR &GamePixelFormat() {
  static PIXELFORMATDESCRIPTOR descriptor = [] {
    PIXELFORMATDESCRIPTOR d = {};
    d.nSize = sizeof d;
    d.nVersion = 1;
    d.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    d.iPixelType = PFD_TYPE_RGBA;
    d.cColorBits = 16;
    d.cDepthBits = 16;
    d.iLayerType = PFD_MAIN_PLANE;
    return d;
  }();
  return descriptor;
}

GlWindow OpenGlWindow(DWORD style, DWORD exStyle, int width, int height) {
  GlWindow gl;
  gl.window = CreateClientWindow(style, exStyle, width, height);
  EXPECT_NE(gl.window, nullptr);
  gl.dc = GetDC(gl.window);
  EXPECT_NE(gl.dc, nullptr);
  int format = ChoosePixelFormat(gl.dc, &GamePixelFormat());
  EXPECT_NE(format, 0);
  EXPECT_TRUE(SetPixelFormat(gl.dc, format, &GamePixelFormat()));
  gl.context = wglCreateContext(gl.dc);
  EXPECT_NE(gl.context, nullptr);
  EXPECT_TRUE(wglMakeCurrent(gl.dc, gl.context));
  return gl;
}

void CloseGlWindow(GlWindow *gl) {
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(gl->context));
  EXPECT_EQ(ReleaseDC(gl->window, gl->dc), 1);
  EXPECT_TRUE(DestroyWindow(gl->window));
  *gl = GlWindow();
}

void PlatformTest::SetUp() {
  RequireDisplay();
  TestReset();
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = TestClass;
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  heldAtStart = TestHandlesHeld();
  TakeDelivered();
}

void PlatformTest::TearDown() {
  UnregisterClassA(TestClass, GetModuleHandleA(nullptr));
  EXPECT_EQ(TestHandlesHeld(), heldAtStart) << "windows, contexts or device contexts left held";
  TestReset();
}

std::string RunXTool(const std::string &command, int *status) {
  std::string output;
  int exitStatus = -1;
  for (int attempt = 0; attempt < 10; ++attempt) {
    output.clear();
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
      break;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr)
      output += buffer;
    exitStatus = pclose(pipe);
    // A busy server may refuse a connection for a moment (its listen queue is full).
    if (exitStatus == 0 || output.find("open display") == std::string::npos)
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
    output.pop_back();
  if (status != nullptr)
    *status = exitStatus;
  return output;
}

std::string FindXWindow(const std::string &title) {
  // xdotool's --name search misses SDL's UTF-8 titles: list every window and compare names.
  Clock::time_point start = Clock::now();
  while (MillisSince(start) < 15000) {
    std::istringstream ids(RunXTool("xdotool search --classname ''"));
    std::string id;
    while (ids >> id) {
      if (RunXTool("xdotool getwindowname " + id) == title)
        return id;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::string();
}

XGeometry XWindowGeometry(const std::string &windowId) {
  XGeometry geometry;
  std::istringstream lines(RunXTool("xwininfo -id " + windowId));
  std::string line;
  while (std::getline(lines, line)) {
    int value = 0;
    if (sscanf(line.c_str(), " Absolute upper-left X: %d", &value) == 1)
      geometry.x = value;
    else if (sscanf(line.c_str(), " Absolute upper-left Y: %d", &value) == 1)
      geometry.y = value;
    else if (sscanf(line.c_str(), " Width: %d", &value) == 1)
      geometry.width = value;
    else if (sscanf(line.c_str(), " Height: %d", &value) == 1)
      geometry.height = value;
    else if (line.find("Map State: IsViewable") != std::string::npos)
      geometry.viewable = true;
  }
  return geometry;
}

// Opening and closing the game window with its display mode and rendering context, and the
// projection that maps one unit to one pixel of the client area.
#include "app/game_window.h"

#include "app/window_proc.h"
#include "game/game_state.h"
#include "gfx/glyph_text.h"
#include "gfx/render_state.h"

#include <cstring>

AppWindowRecord AppWindow = {nullptr, nullptr, nullptr, nullptr, true, true};

namespace {

const char *const ClassName = "OpenGL";

// Filled by the first OpenGameWindow that gets that far and reused by every later one.
PIXELFORMATDESCRIPTOR pixelFormat;
bool pixelFormatFilled = false;

void ShowStartupError(const char *text, UINT icon) {
  MessageBoxA(nullptr, text, "ERROR", MB_OK | icon);
}

void ShowShutdownError(const char *text) {
  MessageBoxA(nullptr, text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

// Every failure once the window exists takes everything down before telling the user.
bool FailAfterCreation(const char *text) {
  CloseGameWindow();
  ShowStartupError(text, MB_ICONEXCLAMATION);
  return false;
}

bool RegisterWindowClass() {
  WNDCLASSA windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = GameWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = AppWindow.instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = ClassName;
  return RegisterClassA(&windowClass) != 0;
}

// True when the display is in the requested mode, or when the user accepted windowed mode
// instead (fullscreen is then cleared).
bool EnterDisplayMode(int width, int height, int bits) {
  DEVMODEA request;
  std::memset(&request, 0, sizeof request);
  request.dmSize = sizeof request;
  request.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  request.dmPelsWidth = static_cast<DWORD>(width);
  request.dmPelsHeight = static_cast<DWORD>(height);
  request.dmBitsPerPel = static_cast<DWORD>(bits);
  if (ChangeDisplaySettingsA(&request, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL)
    return true;
  int answer = MessageBoxA(nullptr,
                           "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                           "Use Windowed Mode Instead?",
                           "Zelu GL", MB_YESNO | MB_ICONEXCLAMATION);
  if (answer == IDYES) {
    AppWindow.fullscreen = false;
    return true;
  }
  ShowStartupError("Program Will Now Close.", MB_ICONERROR);
  return false;
}

void FillPixelFormat(int bits) {
  std::memset(&pixelFormat, 0, sizeof pixelFormat);
  pixelFormat.nSize = sizeof pixelFormat;
  pixelFormat.nVersion = 1;
  pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pixelFormat.iPixelType = PFD_TYPE_RGBA;
  pixelFormat.cColorBits = static_cast<BYTE>(bits);
  pixelFormat.cDepthBits = 16;
  pixelFormat.iLayerType = PFD_MAIN_PLANE;
  pixelFormatFilled = true;
}

// Creates the hidden window whose client area is width x height, outer corner at the origin.
bool CreateGameWindow(const char *title, int width, int height) {
  DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  DWORD style = WS_OVERLAPPEDWINDOW;
  if (AppWindow.fullscreen) {
    exStyle = WS_EX_APPWINDOW;
    style = WS_POPUP;
    ShowCursor(FALSE);
  }
  RECT rect;
  rect.left = 0;
  rect.top = 0;
  rect.right = width;
  rect.bottom = height;
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  AppWindow.window =
      CreateWindowExA(exStyle, ClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                      rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                      AppWindow.instance, nullptr);
  return AppWindow.window != nullptr;
}

// A driver that waits for the display's refresh at each swap would pace the game at the
// monitor's rate instead of its own 10 ms frame: ask for no wait where the driver offers the
// choice, and play on as it is where it does not.
void StopWaitingForRefresh() {
  typedef BOOL(WINAPI * SwapIntervalCall)(int);
  PROC found = wglGetProcAddress("wglSwapIntervalEXT");
  if (found != nullptr)
    reinterpret_cast<SwapIntervalCall>(reinterpret_cast<void (*)()>(found))(0);
}

// The device context, its pixel format and a current rendering context; the failing step's
// message, or null on success.
const char *CreateRenderingContext(int bits) {
  if (!pixelFormatFilled)
    FillPixelFormat(bits);
  AppWindow.deviceContext = GetDC(AppWindow.window);
  if (AppWindow.deviceContext == nullptr)
    return "Can't Create A GL Device Context.";
  int format = ChoosePixelFormat(AppWindow.deviceContext, &pixelFormat);
  if (format == 0)
    return "Can't Find A Suitable PixelFormat.";
  if (!SetPixelFormat(AppWindow.deviceContext, format, &pixelFormat))
    return "Can't Set The PixelFormat.";
  AppWindow.renderingContext = wglCreateContext(AppWindow.deviceContext);
  if (AppWindow.renderingContext == nullptr)
    return "Can't Create A GL Rendering Context.";
  if (!wglMakeCurrent(AppWindow.deviceContext, AppWindow.renderingContext))
    return "Can't Activate The GL Rendering Context.";
  StopWaitingForRefresh();
  return nullptr;
}

void ReleaseRenderingContext() {
  if (AppWindow.renderingContext == nullptr)
    return;
  if (!wglMakeCurrent(nullptr, nullptr))
    ShowShutdownError("Release Of DC And RC Failed.");
  if (!wglDeleteContext(AppWindow.renderingContext))
    ShowShutdownError("Release Rendering Context Failed.");
  AppWindow.renderingContext = nullptr;
}

} // namespace

bool OpenGameWindow(const char *title, int width, int height, int bits, bool fullscreen) {
  AppWindow.fullscreen = fullscreen;
  AppWindow.instance = GetModuleHandleA(nullptr);
  if (!RegisterWindowClass()) {
    ShowStartupError("Failed To Register The Window Class.", MB_ICONEXCLAMATION);
    return false;
  }
  if (AppWindow.fullscreen && !EnterDisplayMode(width, height, bits))
    return false;
  if (!CreateGameWindow(title, width, height))
    return FailAfterCreation("Window Creation Error.");
  const char *contextError = CreateRenderingContext(bits);
  if (contextError != nullptr)
    return FailAfterCreation(contextError);
  ShowWindow(AppWindow.window, SW_SHOW);
  SetForegroundWindow(AppWindow.window);
  SetFocus(AppWindow.window);
  ResizeScene(width, height);
  if (!InitRenderState())
    return FailAfterCreation("Initialization Failed.");
  // Only the first window's context starts a game; F1's new window keeps the one in progress.
  StartFirstGame();
  return true;
}

void CloseGameWindow() {
  if (AppWindow.fullscreen) {
    ChangeDisplaySettingsA(nullptr, 0);
    ShowCursor(TRUE);
  }
  ReleaseRenderingContext();
  if (AppWindow.deviceContext != nullptr) {
    if (!ReleaseDC(AppWindow.window, AppWindow.deviceContext))
      ShowShutdownError("Release Device Context Failed.");
    AppWindow.deviceContext = nullptr;
  }
  if (AppWindow.window != nullptr) {
    if (!DestroyWindow(AppWindow.window))
      ShowShutdownError("Could Not Release hWnd.");
    AppWindow.window = nullptr;
  }
  if (!UnregisterClassA(ClassName, AppWindow.instance))
    ShowShutdownError("Could Not Unregister Class.");
  AppWindow.instance = nullptr;
  DeleteGlyphLists();
}

void ResizeScene(int width, int height) {
  if (height == 0)
    height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// A 640 x 480 window with an OpenGL context made through the same Win32 calls as the game, and
// the frame read back in the game's coordinates.
#include "tests/render/gl_window.h"

#include "app/game_window.h"

#include <cstdlib>
#include <fstream>

bool operator==(const Rgb &a, const Rgb &b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::ostream &operator<<(std::ostream &out, const Rgb &colour) {
  return out << "(" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}

bool Near(const Rgb &a, const Rgb &b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// --- Window and context -----------------------------------------------------------------------

namespace {

const char *const TestClassName = "ZeluRenderTest";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

bool MakeContext(GlWindow *gl) {
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 24; // eight bits a channel, so that read-back colours are exact
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  gl->deviceContext = GetDC(gl->window);
  if (gl->deviceContext == nullptr)
    return false;
  int index = ChoosePixelFormat(gl->deviceContext, &format);
  if (index == 0 || !SetPixelFormat(gl->deviceContext, index, &format))
    return false;
  gl->renderingContext = wglCreateContext(gl->deviceContext);
  return gl->renderingContext != nullptr && wglMakeCurrent(gl->deviceContext, gl->renderingContext);
}

} // namespace

bool OpenGlWindow(GlWindow *gl) {
  gl->instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = TestWindowProc;
  windowClass.hInstance = gl->instance;
  windowClass.lpszClassName = TestClassName;
  if (RegisterClassA(&windowClass) == 0)
    return false;
  gl->window = CreateWindowExA(WS_EX_APPWINDOW, TestClassName, "render test",
                               WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, FrameWidth,
                               FrameHeight, nullptr, nullptr, gl->instance, nullptr);
  // The window is never shown: drawing into the back buffer and reading it back needs no
  // mapping, and Wine without a window manager waits two seconds to destroy a shown window.
  if (gl->window == nullptr || !MakeContext(gl))
    return false;
  ResizeScene(FrameWidth, FrameHeight);
  return true;
}

void CloseGlWindow(GlWindow *gl) {
  wglMakeCurrent(nullptr, nullptr);
  if (gl->renderingContext != nullptr)
    wglDeleteContext(gl->renderingContext);
  if (gl->deviceContext != nullptr)
    ReleaseDC(gl->window, gl->deviceContext);
  if (gl->window != nullptr)
    DestroyWindow(gl->window);
  UnregisterClassA(TestClassName, gl->instance);
  *gl = GlWindow();
}

// --- Read-back --------------------------------------------------------------------------------

Rgb Frame::At(int x, int y) const {
  size_t at = (static_cast<size_t>(FrameHeight - 1 - y) * FrameWidth + x) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

Frame ReadFrame() {
  Frame frame;
  frame.rgb.resize(static_cast<size_t>(FrameWidth) * FrameHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, FrameWidth, FrameHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
  return frame;
}

void ModelviewOffset(double *x, double *y) {
  GLdouble matrix[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, matrix);
  *x = matrix[12];
  *y = matrix[13];
}

bool WritePixmap(const Frame &frame, const std::string &path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << FrameWidth << " " << FrameHeight << "\n255\n";
  for (int y = 0; y < FrameHeight; ++y) {
    const uint8_t *row =
        frame.rgb.data() + static_cast<size_t>(FrameHeight - 1 - y) * FrameWidth * 3;
    out.write(reinterpret_cast<const char *>(row), FrameWidth * 3);
  }
  return static_cast<bool>(out);
}

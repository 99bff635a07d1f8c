// The offscreen surface of a scaled window: the program draws its picture at the logical client
// size, as it sees the window, and SwapBuffers enlarges it onto the window, as Windows does for a
// program that does not declare DPI awareness.
#include "platform/sdl/platform.h"

#include <cmath>
#include <map>

namespace {

// Framebuffer objects (OpenGL 3.0, or ARB_framebuffer_object), which the game's OpenGL 1.1 does
// not name; fetched once, when a context is first current.
struct FramebufferCalls {
  bool loaded = false;
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
};

template <typename Call> void Load(Call *call, const char *name) {
  *call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
}

const FramebufferCalls &Calls() {
  static FramebufferCalls calls;
  if (!calls.loaded) {
    calls.loaded = true;
    Load(&calls.genFramebuffers, "glGenFramebuffers");
    Load(&calls.bindFramebuffer, "glBindFramebuffer");
    Load(&calls.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    Load(&calls.checkFramebufferStatus, "glCheckFramebufferStatus");
    Load(&calls.genRenderbuffers, "glGenRenderbuffers");
    Load(&calls.bindRenderbuffer, "glBindRenderbuffer");
    Load(&calls.renderbufferStorage, "glRenderbufferStorage");
    Load(&calls.blitFramebuffer, "glBlitFramebuffer");
  }
  return calls;
}

bool HaveFramebuffers() {
  const FramebufferCalls &c = Calls();
  return c.genFramebuffers && c.bindFramebuffer && c.framebufferRenderbuffer &&
         c.checkFramebufferStatus && c.genRenderbuffers && c.bindRenderbuffer &&
         c.renderbufferStorage && c.blitFramebuffer;
}

// One per OpenGL context that has drawn for a scaled window; its objects die with the context.
struct Surface {
  GLuint framebuffer = 0;
  GLuint colour = 0;
  GLuint depth = 0;
  int width = 0;
  int height = 0;
  bool bound = false; // drawing goes to it rather than to the window
};

std::map<SDL_GLContext, Surface> &Surfaces() {
  static std::map<SDL_GLContext, Surface> surfaces;
  return surfaces;
}

// Gives the surface the window's logical size: colour as the window's pixel format (RGB) and the
// 16-bit depth buffer it promises.
bool SizeSurface(Surface *surface, int width, int height) {
  const FramebufferCalls &c = Calls();
  if (surface->framebuffer == 0) {
    c.genFramebuffers(1, &surface->framebuffer);
    c.genRenderbuffers(1, &surface->colour);
    c.genRenderbuffers(1, &surface->depth);
  }
  if (surface->width != width || surface->height != height) {
    c.bindRenderbuffer(GL_RENDERBUFFER, surface->colour);
    c.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
    c.bindRenderbuffer(GL_RENDERBUFFER, surface->depth);
    c.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    c.bindRenderbuffer(GL_RENDERBUFFER, 0);
    surface->width = width;
    surface->height = height;
  }
  c.bindFramebuffer(GL_FRAMEBUFFER, surface->framebuffer);
  c.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, surface->colour);
  c.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, surface->depth);
  return c.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// The surface of the current context when drawing goes to it; null otherwise.
Surface *BoundSurface() {
  auto found = Surfaces().find(SDL_GL_GetCurrentContext());
  return found != Surfaces().end() && found->second.bound ? &found->second : nullptr;
}

} // namespace

void BindWindowSurface(WindowRecord *window) {
  SDL_GLContext context = SDL_GL_GetCurrentContext();
  if (context == nullptr)
    return;
  bool scaled = window->scale != 1 && window->clientWidth > 0 && window->clientHeight > 0;
  auto found = Surfaces().find(context);
  if (!scaled || !HaveFramebuffers()) {
    // Unscaled, or without framebuffer objects: the picture goes to the window as it is.
    if (found != Surfaces().end() && found->second.bound) {
      Calls().bindFramebuffer(GL_FRAMEBUFFER, 0);
      found->second.bound = false;
    }
    return;
  }
  Surface &surface = Surfaces()[context];
  surface.bound = SizeSurface(&surface, window->clientWidth, window->clientHeight);
  if (!surface.bound)
    Calls().bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void FitWindowSurface(WindowRecord *record) {
  if (SDL_GL_GetCurrentContext() != nullptr && SDL_GL_GetCurrentWindow() == SdlWindow(record))
    BindWindowSurface(record);
}

bool ScaledSurfaceSize(int *width, int *height) {
  const Surface *surface = BoundSurface();
  if (surface == nullptr)
    return false;
  *width = surface->width;
  *height = surface->height;
  return true;
}

void PresentScaledSurface(WindowRecord *window) {
  const Surface *surface = BoundSurface();
  if (surface == nullptr)
    return;
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(SdlWindow(window), &width, &height);
  // Whole factors repeat each pixel; fractional ones would make uneven blocks, so they blend.
  GLenum filter = window->scale == std::floor(window->scale) ? GL_NEAREST : GL_LINEAR;
  GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  glDisable(GL_SCISSOR_TEST);
  const FramebufferCalls &c = Calls();
  c.bindFramebuffer(GL_READ_FRAMEBUFFER, surface->framebuffer);
  c.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  c.blitFramebuffer(0, 0, surface->width, surface->height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                    filter);
  c.bindFramebuffer(GL_FRAMEBUFFER, surface->framebuffer);
  if (scissor)
    glEnable(GL_SCISSOR_TEST);
}

void ForgetContextSurface(SDL_GLContext context) {
  Surfaces().erase(context);
}

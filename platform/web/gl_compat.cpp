// Display lists recorded in memory and replayed through the emulated immediate mode, and the few
// calls that WebGL takes differently from OpenGL 1.1. This file sees the real GL names.

// gl_compat_calls.h, not gl_compat.h, whose macros would rename the calls below.
#include "platform/web/gl_compat_calls.h"
#include "platform/web/platform.h"

#include <map>
#include <vector>

namespace {

enum class Op { Begin, End, Vertex, TexCoord, Color, Translate, Scale, CallList };

struct Command {
  Op op;
  GLfloat a, b, c; // vertex, texture coordinate, colour, translation or scale; list number in a
  GLenum mode;     // Begin
};

struct ListStore {
  std::map<GLuint, std::vector<Command>> lists; // every name that glGenLists handed out
  GLuint nextName = 1;
  GLuint base = 0;
  GLuint compiling = 0; // the list between glNewList and glEndList; 0 when none
  bool executeToo = false;
  std::vector<Command> pending;
  int depth = 0; // nested glCallList, bounded as GL bounds it
};

ListStore &Lists() {
  static ListStore store;
  return store;
}

const int MaxCallDepth = 64;

void Run(const Command &command);

void RunList(GLuint list) {
  ListStore &store = Lists();
  auto found = store.lists.find(list);
  if (found == store.lists.end() || store.depth >= MaxCallDepth)
    return;
  ++store.depth;
  // A copy: a list may not change while it runs, but the map may grow.
  const std::vector<Command> commands = found->second;
  for (const Command &command : commands)
    Run(command);
  --store.depth;
}

void Run(const Command &command) {
  switch (command.op) {
  case Op::Begin:
    return glBegin(command.mode);
  case Op::End:
    return glEnd();
  case Op::Vertex:
    return glVertex2f(command.a, command.b);
  case Op::TexCoord:
    return glTexCoord2f(command.a, command.b);
  case Op::Color:
    return glColor3f(command.a, command.b, command.c);
  case Op::Translate:
    return glTranslatef(command.a, command.b, command.c);
  case Op::Scale:
    return glScalef(command.a, command.b, command.c);
  case Op::CallList:
    return RunList(static_cast<GLuint>(command.a));
  }
}

// Records the command while a list is compiled; runs it when nothing is compiled or the list
// is compiled and executed.
void Submit(const Command &command) {
  ListStore &store = Lists();
  if (store.compiling != 0) {
    store.pending.push_back(command);
    if (!store.executeToo)
      return;
  }
  Run(command);
}

} // namespace

GLuint ZeluGenLists(GLsizei range) {
  ListStore &store = Lists();
  if (range <= 0)
    return 0;
  GLuint first = store.nextName;
  for (GLsizei i = 0; i < range; ++i)
    store.lists[first + static_cast<GLuint>(i)];
  store.nextName += static_cast<GLuint>(range);
  return first;
}

void ZeluNewList(GLuint list, GLenum mode) {
  ListStore &store = Lists();
  if (list == 0 || store.compiling != 0 || (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE))
    return; // GL_INVALID_VALUE, GL_INVALID_OPERATION, GL_INVALID_ENUM
  store.compiling = list;
  store.executeToo = mode == GL_COMPILE_AND_EXECUTE;
  store.pending.clear();
}

void ZeluEndList(void) {
  ListStore &store = Lists();
  if (store.compiling == 0)
    return;
  store.lists[store.compiling] = store.pending;
  if (store.compiling >= store.nextName)
    store.nextName = store.compiling + 1;
  store.compiling = 0;
  store.pending.clear();
}

void ZeluCallList(GLuint list) {
  Submit({Op::CallList, static_cast<GLfloat>(list), 0, 0, 0});
}

void ZeluCallLists(GLsizei count, GLenum type, const GLvoid *lists) {
  if (lists == nullptr || count <= 0)
    return;
  for (GLsizei i = 0; i < count; ++i) {
    GLuint offset;
    if (type == GL_UNSIGNED_BYTE)
      offset = static_cast<const GLubyte *>(lists)[i];
    else if (type == GL_BYTE)
      offset = static_cast<GLuint>(static_cast<const GLbyte *>(lists)[i]);
    else if (type == GL_UNSIGNED_SHORT)
      offset = static_cast<const GLushort *>(lists)[i];
    else if (type == GL_UNSIGNED_INT || type == GL_INT)
      offset = static_cast<const GLuint *>(lists)[i];
    else
      return; // GL_INVALID_ENUM
    // Unsigned arithmetic wraps, as the base plus offset does in GL.
    ZeluCallList(Lists().base + offset);
  }
}

void ZeluListBase(GLuint base) {
  Lists().base = base;
}

void ZeluDeleteLists(GLuint list, GLsizei range) {
  for (GLsizei i = 0; i < range; ++i)
    Lists().lists.erase(list + static_cast<GLuint>(i));
}

GLboolean ZeluIsList(GLuint list) {
  return Lists().lists.count(list) != 0 ? GL_TRUE : GL_FALSE;
}

void ZeluBegin(GLenum mode) {
  Submit({Op::Begin, 0, 0, 0, mode});
}

void ZeluEnd(void) {
  Submit({Op::End, 0, 0, 0, 0});
}

void ZeluVertex2i(GLint x, GLint y) {
  Submit({Op::Vertex, static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0, 0});
}

void ZeluVertex2f(GLfloat x, GLfloat y) {
  Submit({Op::Vertex, x, y, 0, 0});
}

// WebGL has no double-precision attributes: the emulation takes floats.
void ZeluVertex2d(GLdouble x, GLdouble y) {
  Submit({Op::Vertex, static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0, 0});
}

void ZeluTexCoord2f(GLfloat s, GLfloat t) {
  Submit({Op::TexCoord, s, t, 0, 0});
}

void ZeluColor3f(GLfloat red, GLfloat green, GLfloat blue) {
  Submit({Op::Color, red, green, blue, 0});
}

void ZeluColor3ub(GLubyte red, GLubyte green, GLubyte blue) {
  Submit({Op::Color, red / 255.0f, green / 255.0f, blue / 255.0f, 0});
}

void ZeluTranslated(GLdouble x, GLdouble y, GLdouble z) {
  Submit({Op::Translate, static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z),
          0});
}

void ZeluTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  Submit({Op::Translate, x, y, z, 0});
}

void ZeluScalef(GLfloat x, GLfloat y, GLfloat z) {
  Submit({Op::Scale, x, y, z, 0});
}

// OpenGL 1.0's component counts (1 to 4) as internal formats; WebGL takes only the named ones.
void ZeluTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const GLvoid *pixels) {
  static const GLint named[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
  if (internalFormat >= 1 && internalFormat <= 4)
    internalFormat = named[internalFormat - 1];
  glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

// Without a current context OpenGL answers null; WebGL's emulation would throw.
const GLubyte *ZeluGetString(GLenum name) {
  if (!WebContextIsCurrent())
    return nullptr;
  return glGetString(name);
}

// A popup hears its size when it is created, before it has a rendering context; OpenGL ignores
// calls without one, where WebGL and the emulation would throw.
void ZeluViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (WebContextIsCurrent())
    glViewport(x, y, width, height);
}

void ZeluMatrixMode(GLenum mode) {
  if (WebContextIsCurrent())
    glMatrixMode(mode);
}

void ZeluLoadIdentity(void) {
  if (WebContextIsCurrent())
    glLoadIdentity();
}

void ZeluOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
               GLdouble zFar) {
  if (WebContextIsCurrent())
    glOrtho(left, right, bottom, top, zNear, zFar);
}

// WebGL knows only the mipmap hint; the others are hints, which an implementation may ignore.
void ZeluHint(GLenum target, GLenum mode) {
  if (target == GL_GENERATE_MIPMAP_HINT)
    glHint(target, mode);
}

// The emulation shades smoothly only, which is OpenGL's default; flat shading is not offered.
void ZeluShadeModel(GLenum) {}

void ForgetDisplayLists(void) {
  Lists() = ListStore();
}

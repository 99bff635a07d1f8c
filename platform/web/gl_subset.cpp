// Our own OpenGL 1.1 subset over WebGL, exactly as much as the game draws with: the matrices and
// immediate mode on the CPU, display lists as stored vertices, and a frame's vertices gathered into
// one buffer and drawn by two small shader programs (textured and not) with as few draw calls as
// the frame's changes of texture and state allow.
#include <GLES2/gl2.h>

#include "platform/web/gl_subset_calls.h"
#include "platform/web/platform.h"

#include <cstddef>
#include <map>
#include <set>
#include <vector>

namespace {

// OpenGL 1.1's names that WebGL does not have.
const GLenum GlQuads = 0x0007;
const GLenum GlCompile = 0x1300;
const GLenum GlCompileAndExecute = 0x1301;
const GLenum GlModelview = 0x1700;
const GLenum GlProjection = 0x1701;

// Nested glCallLists stop at this depth, as GL bounds them.
const int MaxListDepth = 64;

// Column-major, as GL keeps its matrices.
struct Matrix {
  double m[16];
};

const Matrix Identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

Matrix Multiply(const Matrix &a, const Matrix &b) {
  Matrix product;
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k)
        sum += a.m[k * 4 + row] * b.m[column * 4 + k];
      product.m[column * 4 + row] = sum;
    }
  }
  return product;
}

// A vertex as the game gave it: object coordinates, and its own texture coordinate and colour.
struct SourceVertex {
  double x, y;
  GLfloat s, t;
  GLfloat colour[4];
};

// A vertex as WebGL draws it: clip coordinates (the matrices are applied here), texture
// coordinate, colour. The layout of the vertex buffer.
struct DrawVertex {
  GLfloat x, y;
  GLfloat s, t;
  GLfloat colour[4];
};

// The state a run of vertices is drawn with; one draw call per run.
struct DrawState {
  GLenum mode; // GL_TRIANGLES or GL_LINES
  bool textured;
  GLuint texture;
  bool blend;
  GLenum blendSource, blendDestination;
};

bool SameState(const DrawState &a, const DrawState &b) {
  return a.mode == b.mode && a.textured == b.textured && (!a.textured || a.texture == b.texture) &&
         a.blend == b.blend &&
         (!a.blend || (a.blendSource == b.blendSource && a.blendDestination == b.blendDestination));
}

struct DrawRun {
  DrawState state;
  GLint first;
  GLsizei count;
};

// A display list: quads and lines as ranges of the lists' one vertex store, between the matrix
// and colour changes recorded with them. A vertex without a texture coordinate or colour of the
// list's own takes the one current when the list runs.
enum class ListOp { Primitive, Translate, Scale, Colour, Call };

struct ListCommand {
  ListOp op;
  GLenum mode;         // Primitive
  size_t first, count; // Primitive: the range of the vertex store
  double a, b, c;      // Translate, Scale; Colour (red, green, blue); Call (the list in a)
};

struct ListVertex {
  SourceVertex vertex;
  bool ownTexCoord, ownColour;
};

struct SubsetState {
  Matrix projection = Identity;
  Matrix modelview = Identity;
  bool projectionCurrent = false; // glMatrixMode: the projection, else the modelview
  GLfloat colour[4] = {1, 1, 1, 1};
  GLfloat texCoord[2] = {0, 0};
  bool textured = false;
  GLuint texture = 0;
  bool blend = false;
  GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
  std::set<GLuint> textures; // every name glGenTextures handed out

  // Between glBegin and glEnd.
  bool inPrimitive = false;
  GLenum primitive = 0;
  std::vector<ListVertex> primitiveVertices;

  // The frame so far, drawn by FlushGlSubset.
  std::vector<DrawVertex> vertices;
  std::vector<DrawRun> runs;

  // Display lists.
  std::map<GLuint, std::vector<ListCommand>> lists; // every name handed out or compiled
  std::vector<ListVertex> listVertices;
  GLuint nextList = 1;
  GLuint listBase = 0;
  GLuint compiling = 0; // the list between glNewList and glEndList; 0 when none
  bool executeToo = false;
  std::vector<ListCommand> pending;
  bool listTexCoordSet = false, listColourSet = false;
  GLfloat listTexCoord[2] = {0, 0}; // the last ones set in the list being compiled
  GLfloat listColour[4] = {1, 1, 1, 1};
  int listDepth = 0;
};

SubsetState &State() {
  static SubsetState state;
  return state;
}

// What belongs to the page's one WebGL context, which lives as long as the page.
struct Programs {
  bool ready = false;
  GLuint plain = 0, textured = 0;
  GLuint buffer = 0;
  size_t bufferBytes = 0;
};

Programs &Gpu() {
  static Programs programs;
  return programs;
}

const GLuint PositionAttribute = 0;
const GLuint TexCoordAttribute = 1;
const GLuint ColourAttribute = 2;

const char VertexShader[] = "attribute vec2 position;\n"
                            "attribute vec2 texCoord;\n"
                            "attribute vec4 colour;\n"
                            "varying vec2 vTexCoord;\n"
                            "varying vec4 vColour;\n"
                            "void main() {\n"
                            "  vTexCoord = texCoord;\n"
                            "  vColour = colour;\n"
                            "  gl_Position = vec4(position, 0.0, 1.0);\n"
                            "}\n";

const char PlainFragmentShader[] = "precision mediump float;\n"
                                   "varying vec4 vColour;\n"
                                   "void main() {\n"
                                   "  gl_FragColor = vColour;\n"
                                   "}\n";

// The modulate environment; an RGB texture's alpha reads as 1.
const char TexturedFragmentShader[] = "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
                                      "precision highp float;\n"
                                      "#else\n"
                                      "precision mediump float;\n"
                                      "#endif\n"
                                      "uniform sampler2D image;\n"
                                      "varying vec2 vTexCoord;\n"
                                      "varying vec4 vColour;\n"
                                      "void main() {\n"
                                      "  gl_FragColor = vColour * texture2D(image, vTexCoord);\n"
                                      "}\n";

GLuint CompileShader(GLenum kind, const char *source) {
  GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

// The sampler stays on texture unit 0, its default. Nothing here asks how the compile went: that
// would wait for it, and a shader this small compiles.
GLuint LinkProgram(const char *fragmentSource) {
  GLuint program = glCreateProgram();
  GLuint vertex = CompileShader(GL_VERTEX_SHADER, VertexShader);
  GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentSource);
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glBindAttribLocation(program, PositionAttribute, "position");
  glBindAttribLocation(program, TexCoordAttribute, "texCoord");
  glBindAttribLocation(program, ColourAttribute, "colour");
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  return program;
}

void MakePrograms() {
  Programs &gpu = Gpu();
  if (gpu.ready)
    return;
  gpu.plain = LinkProgram(PlainFragmentShader);
  gpu.textured = LinkProgram(TexturedFragmentShader);
  glGenBuffers(1, &gpu.buffer);
  gpu.ready = true;
}

// Appends a primitive's vertices to the frame, with the current matrices and state: quads as two
// triangles each, lines as they are. A run with the same state goes on; another state starts one.
void EmitPrimitive(GLenum mode, const std::vector<ListVertex> &source, size_t first, size_t count) {
  SubsetState &state = State();
  bool quads = mode == GlQuads;
  size_t corners = quads ? 4 : 2;
  count -= count % corners;
  if (count == 0)
    return;
  Matrix toClip = Multiply(state.projection, state.modelview);
  DrawState drawState = {quads ? static_cast<GLenum>(GL_TRIANGLES) : static_cast<GLenum>(GL_LINES),
                         state.textured,
                         state.texture,
                         state.blend,
                         state.blendSource,
                         state.blendDestination};
  if (state.runs.empty() || !SameState(state.runs.back().state, drawState))
    state.runs.push_back({drawState, static_cast<GLint>(state.vertices.size()), 0});
  auto emit = [&](const ListVertex &given) {
    const SourceVertex &v = given.vertex;
    const double *m = toClip.m;
    double w = m[3] * v.x + m[7] * v.y + m[15];
    DrawVertex out;
    out.x = static_cast<GLfloat>((m[0] * v.x + m[4] * v.y + m[12]) / w);
    out.y = static_cast<GLfloat>((m[1] * v.x + m[5] * v.y + m[13]) / w);
    out.s = given.ownTexCoord ? v.s : state.texCoord[0];
    out.t = given.ownTexCoord ? v.t : state.texCoord[1];
    for (int i = 0; i < 4; ++i)
      out.colour[i] = given.ownColour ? v.colour[i] : state.colour[i];
    state.vertices.push_back(out);
  };
  static const int QuadTriangles[6] = {0, 1, 2, 0, 2, 3};
  for (size_t i = first; i < first + count; i += corners) {
    if (quads) {
      for (int corner : QuadTriangles)
        emit(source[i + static_cast<size_t>(corner)]);
    } else {
      emit(source[i]);
      emit(source[i + 1]);
    }
  }
  state.runs.back().count = static_cast<GLsizei>(state.vertices.size()) - state.runs.back().first;
}

Matrix &CurrentMatrix() {
  SubsetState &state = State();
  return state.projectionCurrent ? state.projection : state.modelview;
}

void MultiplyCurrent(const Matrix &by) {
  Matrix &current = CurrentMatrix();
  current = Multiply(current, by);
}

void Translate(double x, double y, double z) {
  Matrix by = Identity;
  by.m[12] = x;
  by.m[13] = y;
  by.m[14] = z;
  MultiplyCurrent(by);
}

void Scale(double x, double y, double z) {
  Matrix by = Identity;
  by.m[0] = x;
  by.m[5] = y;
  by.m[10] = z;
  MultiplyCurrent(by);
}

void SetColour(GLfloat red, GLfloat green, GLfloat blue) {
  SubsetState &state = State();
  state.colour[0] = red;
  state.colour[1] = green;
  state.colour[2] = blue;
  state.colour[3] = 1;
}

void RunList(GLuint list);

void RunCommand(const ListCommand &command) {
  SubsetState &state = State();
  switch (command.op) {
  case ListOp::Primitive: {
    EmitPrimitive(command.mode, state.listVertices, command.first, command.count);
    // What the list set last stays current after it, as GL's current values do.
    for (size_t i = command.first; i < command.first + command.count; ++i) {
      const ListVertex &v = state.listVertices[i];
      if (v.ownTexCoord) {
        state.texCoord[0] = v.vertex.s;
        state.texCoord[1] = v.vertex.t;
      }
    }
    return;
  }
  case ListOp::Translate:
    return Translate(command.a, command.b, command.c);
  case ListOp::Scale:
    return Scale(command.a, command.b, command.c);
  case ListOp::Colour:
    return SetColour(static_cast<GLfloat>(command.a), static_cast<GLfloat>(command.b),
                     static_cast<GLfloat>(command.c));
  case ListOp::Call:
    return RunList(static_cast<GLuint>(command.a));
  }
}

void RunList(GLuint list) {
  SubsetState &state = State();
  auto found = state.lists.find(list);
  if (found == state.lists.end() || state.listDepth >= MaxListDepth)
    return;
  ++state.listDepth;
  // A copy: the map may grow while a list runs.
  const std::vector<ListCommand> commands = found->second;
  for (const ListCommand &command : commands)
    RunCommand(command);
  --state.listDepth;
}

// Records the command while a list is compiled; runs it when none is, or when the list is
// compiled and executed.
void Submit(const ListCommand &command) {
  SubsetState &state = State();
  if (state.compiling != 0) {
    state.pending.push_back(command);
    if (!state.executeToo)
      return;
  }
  RunCommand(command);
}

void AddVertex(double x, double y) {
  SubsetState &state = State();
  if (!state.inPrimitive)
    return; // outside glBegin/glEnd a vertex is undefined; it draws nothing
  bool compiling = state.compiling != 0;
  const GLfloat *texCoord = compiling ? state.listTexCoord : state.texCoord;
  const GLfloat *colour = compiling ? state.listColour : state.colour;
  ListVertex vertex;
  vertex.vertex = {x, y, texCoord[0], texCoord[1], {colour[0], colour[1], colour[2], colour[3]}};
  // In a list, what the list itself set belongs to the vertex; the rest is taken when it runs.
  vertex.ownTexCoord = !compiling || state.listTexCoordSet;
  vertex.ownColour = !compiling || state.listColourSet;
  state.primitiveVertices.push_back(vertex);
}

} // namespace

void ZeluMatrixMode(GLenum mode) {
  if (!WebContextIsCurrent())
    return;
  if (mode == GlProjection || mode == GlModelview)
    State().projectionCurrent = mode == GlProjection;
}

void ZeluLoadIdentity(void) {
  if (WebContextIsCurrent())
    CurrentMatrix() = Identity;
}

void ZeluOrtho(double left, double right, double bottom, double top, double zNear, double zFar) {
  if (!WebContextIsCurrent() || left == right || bottom == top || zNear == zFar)
    return; // GL_INVALID_VALUE
  Matrix by = Identity;
  by.m[0] = 2 / (right - left);
  by.m[5] = 2 / (top - bottom);
  by.m[10] = -2 / (zFar - zNear);
  by.m[12] = -(right + left) / (right - left);
  by.m[13] = -(top + bottom) / (top - bottom);
  by.m[14] = -(zFar + zNear) / (zFar - zNear);
  MultiplyCurrent(by);
}

void ZeluTranslated(double x, double y, double z) {
  Submit({ListOp::Translate, 0, 0, 0, x, y, z});
}

void ZeluScalef(GLfloat x, GLfloat y, GLfloat z) {
  Submit({ListOp::Scale, 0, 0, 0, x, y, z});
}

void ZeluBegin(GLenum mode) {
  SubsetState &state = State();
  if (state.inPrimitive)
    return; // GL_INVALID_OPERATION
  state.inPrimitive = true;
  state.primitive = mode;
  state.primitiveVertices.clear();
}

// Quads and lines are drawn; other primitives are not part of this subset.
void ZeluEnd(void) {
  SubsetState &state = State();
  if (!state.inPrimitive)
    return;
  state.inPrimitive = false;
  if (state.primitive != GlQuads && state.primitive != GL_LINES)
    return;
  if (state.compiling != 0) {
    ListCommand command = {ListOp::Primitive,
                           state.primitive,
                           state.listVertices.size(),
                           state.primitiveVertices.size(),
                           0,
                           0,
                           0};
    state.listVertices.insert(state.listVertices.end(), state.primitiveVertices.begin(),
                              state.primitiveVertices.end());
    state.pending.push_back(command);
    if (!state.executeToo)
      return;
  }
  EmitPrimitive(state.primitive, state.primitiveVertices, 0, state.primitiveVertices.size());
}

void ZeluVertex2d(double x, double y) {
  AddVertex(x, y);
}

void ZeluVertex2i(GLint x, GLint y) {
  AddVertex(x, y);
}

// While a list is compiled only, the current values stay as they are.
void ZeluTexCoord2f(GLfloat s, GLfloat t) {
  SubsetState &state = State();
  if (state.compiling != 0) {
    state.listTexCoordSet = true;
    state.listTexCoord[0] = s;
    state.listTexCoord[1] = t;
    if (!state.executeToo)
      return;
  }
  state.texCoord[0] = s;
  state.texCoord[1] = t;
}

// A colour between glBegin and glEnd goes with the vertices after it; outside, a list records it
// as a command of its own.
void ZeluColor3f(GLfloat red, GLfloat green, GLfloat blue) {
  SubsetState &state = State();
  if (state.compiling != 0) {
    state.listColourSet = true;
    GLfloat colour[4] = {red, green, blue, 1};
    for (int i = 0; i < 4; ++i)
      state.listColour[i] = colour[i];
    if (!state.inPrimitive)
      return Submit({ListOp::Colour, 0, 0, 0, red, green, blue});
    if (!state.executeToo)
      return;
  }
  SetColour(red, green, blue);
}

void ZeluColor3ub(GLubyte red, GLubyte green, GLubyte blue) {
  ZeluColor3f(red / 255.0f, green / 255.0f, blue / 255.0f);
}

GLuint ZeluGenLists(GLsizei range) {
  SubsetState &state = State();
  if (range <= 0)
    return 0;
  GLuint first = state.nextList;
  for (GLsizei i = 0; i < range; ++i)
    state.lists[first + static_cast<GLuint>(i)];
  state.nextList += static_cast<GLuint>(range);
  return first;
}

void ZeluNewList(GLuint list, GLenum mode) {
  SubsetState &state = State();
  if (list == 0 || state.compiling != 0 || (mode != GlCompile && mode != GlCompileAndExecute))
    return; // GL_INVALID_VALUE, GL_INVALID_OPERATION, GL_INVALID_ENUM
  state.compiling = list;
  state.executeToo = mode == GlCompileAndExecute;
  state.pending.clear();
  state.listTexCoordSet = false;
  state.listColourSet = false;
}

void ZeluEndList(void) {
  SubsetState &state = State();
  if (state.compiling == 0 || state.inPrimitive)
    return;
  state.lists[state.compiling] = state.pending;
  if (state.compiling >= state.nextList)
    state.nextList = state.compiling + 1;
  state.compiling = 0;
  state.pending.clear();
}

void ZeluListBase(GLuint base) {
  State().listBase = base;
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
    Submit({ListOp::Call, 0, 0, 0, static_cast<double>(State().listBase + offset), 0, 0});
  }
}

// The deleted lists' vertices stay in the store; the game deletes its lists only with its
// context, when the whole store goes.
void ZeluDeleteLists(GLuint list, GLsizei range) {
  for (GLsizei i = 0; i < range; ++i)
    State().lists.erase(list + static_cast<GLuint>(i));
}

void ZeluGenTextures(GLsizei count, GLuint *names) {
  if (!WebContextIsCurrent() || count <= 0 || names == nullptr)
    return;
  glGenTextures(count, names);
  for (GLsizei i = 0; i < count; ++i)
    State().textures.insert(names[i]);
}

// The frame's draws bind their own textures when they are drawn; this binding is also the one
// that uploads and parameters go to, at once.
void ZeluBindTexture(GLenum target, GLuint name) {
  if (!WebContextIsCurrent() || target != GL_TEXTURE_2D)
    return;
  State().texture = name;
  glBindTexture(GL_TEXTURE_2D, name);
}

// OpenGL 1.0's component counts (1 to 4) as internal formats; WebGL takes only the named ones.
void ZeluTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const GLvoid *pixels) {
  if (!WebContextIsCurrent())
    return;
  static const GLint Named[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
  if (internalFormat >= 1 && internalFormat <= 4)
    internalFormat = Named[internalFormat - 1];
  FlushGlSubset(); // draws gathered so far show the texture as it was
  glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

void ZeluTexParameteri(GLenum target, GLenum name, GLint value) {
  if (!WebContextIsCurrent())
    return;
  FlushGlSubset();
  glTexParameteri(target, name, value);
}

void ZeluPixelStorei(GLenum name, GLint value) {
  if (WebContextIsCurrent())
    glPixelStorei(name, value);
}

// Texturing and blending belong to the draws gathered; other capabilities are not used.
void ZeluEnable(GLenum capability) {
  if (capability == GL_TEXTURE_2D)
    State().textured = true;
  else if (capability == GL_BLEND)
    State().blend = true;
}

void ZeluDisable(GLenum capability) {
  if (capability == GL_TEXTURE_2D)
    State().textured = false;
  else if (capability == GL_BLEND)
    State().blend = false;
}

void ZeluBlendFunc(GLenum source, GLenum destination) {
  State().blendSource = source;
  State().blendDestination = destination;
}

void ZeluClear(GLbitfield mask) {
  if (!WebContextIsCurrent())
    return;
  FlushGlSubset();
  glClear(mask);
}

void ZeluClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  if (WebContextIsCurrent())
    glClearColor(red, green, blue, alpha);
}

void ZeluClearDepth(double depth) {
  if (WebContextIsCurrent())
    glClearDepthf(static_cast<GLfloat>(depth));
}

// A popup hears its size when it is created, before it has a rendering context; GL ignores
// calls without one.
void ZeluViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (!WebContextIsCurrent())
    return;
  FlushGlSubset();
  glViewport(x, y, width, height);
}

// Smooth shading only: the game shades smoothly, and every vertex of its primitives has the
// same colour anyway.
void ZeluShadeModel(GLenum) {}

// Hints, which an implementation may ignore.
void ZeluHint(GLenum, GLenum) {}

const GLubyte *ZeluGetString(GLenum name) {
  if (!WebContextIsCurrent())
    return nullptr; // GL answers no query without a context
  const char *text = nullptr;
  if (name == GL_VERSION)
    text = "1.1 zelu-line WebGL";
  else if (name == GL_VENDOR)
    text = "zelu-line";
  else if (name == GL_RENDERER)
    text = "WebGL";
  else if (name == GL_EXTENSIONS)
    text = "";
  return reinterpret_cast<const GLubyte *>(text);
}

void PrepareGlSubset(void) {
  MakePrograms();
}

void FlushGlSubset(void) {
  SubsetState &state = State();
  if (state.runs.empty() || !WebContextIsCurrent()) {
    state.runs.clear();
    state.vertices.clear();
    return;
  }
  MakePrograms();
  Programs &gpu = Gpu();
  glBindBuffer(GL_ARRAY_BUFFER, gpu.buffer);
  size_t bytes = state.vertices.size() * sizeof(DrawVertex);
  if (bytes > gpu.bufferBytes) {
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), state.vertices.data(),
                 GL_DYNAMIC_DRAW);
    gpu.bufferBytes = bytes;
  } else {
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), state.vertices.data());
  }
  const GLsizei stride = sizeof(DrawVertex);
  glEnableVertexAttribArray(PositionAttribute);
  glEnableVertexAttribArray(TexCoordAttribute);
  glEnableVertexAttribArray(ColourAttribute);
  glVertexAttribPointer(PositionAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void *>(offsetof(DrawVertex, x)));
  glVertexAttribPointer(TexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void *>(offsetof(DrawVertex, s)));
  glVertexAttribPointer(ColourAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void *>(offsetof(DrawVertex, colour)));
  const DrawState *previous = nullptr;
  for (const DrawRun &run : state.runs) {
    const DrawState &now = run.state;
    if (previous == nullptr || previous->textured != now.textured)
      glUseProgram(now.textured ? gpu.textured : gpu.plain);
    if (now.textured &&
        (previous == nullptr || !previous->textured || previous->texture != now.texture))
      glBindTexture(GL_TEXTURE_2D, now.texture);
    if (previous == nullptr || previous->blend != now.blend)
      (now.blend ? glEnable : glDisable)(GL_BLEND);
    if (now.blend && (previous == nullptr || previous->blendSource != now.blendSource ||
                      previous->blendDestination != now.blendDestination))
      glBlendFunc(now.blendSource, now.blendDestination);
    glDrawArrays(now.mode, run.first, run.count);
    previous = &now;
  }
  glBindTexture(GL_TEXTURE_2D, state.texture);
  state.runs.clear();
  state.vertices.clear();
}

void ForgetGlSubset(void) {
  // The page's WebGL context outlives every rendering context; what they made goes with the last.
  SubsetState &state = State();
  for (GLuint name : state.textures)
    glDeleteTextures(1, &name);
  state = SubsetState();
}

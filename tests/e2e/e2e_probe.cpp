// Helpers of the end-to-end scripts. `close WINDOW` asks an X window to close the way its title
// bar's close button does (WM_DELETE_WINDOW). `wm-state` keeps the WM_STATE of top-level windows
// as a window manager would, until it is ended. `board SHOT.ppm` reads the game's picture from a
// screenshot of its client area and prints where the board is, how much of the title shows and
// which cells are occupied. `icon WINDOW FILE.bmp` compares the window's icon with a bitmap.
// `compare-scaled PLAIN.ppm SCALED.ppm FACTOR` compares the game on a scaled desktop with the
// game on a plain one. `shortcut FILE.lnk` prints a Windows shortcut's target and working folder.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  const unsigned char *At(int x, int y) const { return &rgb[3 * (size_t(y) * width + x)]; }
};

int CloseWindow(const char *id) {
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr)
    return 2;
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(std::strtoul(id, nullptr, 0));
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}

int IgnoreXErrors(Display *, XErrorEvent *) {
  return 0; // a window may be gone before its state is written
}

void SetWmState(Display *display, Window window, Atom wmState, long state) {
  long value[2] = {state, None};
  XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                  reinterpret_cast<unsigned char *>(value), 2);
  XFlush(display);
}

// Wine waits for a window manager to mark a window Normal before it hides the window again, and
// Withdrawn after, up to two seconds each; on a bare virtual display nobody does. This marks every
// top-level window the moment it is mapped or unmapped, as a window manager would. Like one, it
// also makes the Motif hints known, which SDL writes only when some window manager knows them.
int KeepWmState() {
  // A busy X server may refuse a connection for a moment.
  Display *display = XOpenDisplay(nullptr);
  for (int attempt = 0; display == nullptr && attempt < 100; ++attempt) {
    usleep(50000);
    display = XOpenDisplay(nullptr);
  }
  if (display == nullptr)
    return 2;
  XSetErrorHandler(IgnoreXErrors);
  Atom wmState = XInternAtom(display, "WM_STATE", False);
  XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect)
      SetWmState(display, event.xmap.window, wmState, NormalState);
    else if (event.type == UnmapNotify)
      SetWmState(display, event.xunmap.window, wmState, WithdrawnState);
  }
}

// A header number of a binary PPM, skipping blanks and comments.
bool ReadNumber(FILE *file, int *value) {
  int c = std::fgetc(file);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#')
      while (c != '\n' && c != EOF)
        c = std::fgetc(file);
    c = std::fgetc(file);
  }
  if (c < '0' || c > '9')
    return false;
  *value = 0;
  for (; c >= '0' && c <= '9'; c = std::fgetc(file))
    *value = *value * 10 + (c - '0');
  return true;
}

bool LoadPpm(const char *path, Picture *picture) {
  FILE *file = std::fopen(path, "rb");
  if (file == nullptr)
    return false;
  int maxValue = 0;
  bool ok = std::fgetc(file) == 'P' && std::fgetc(file) == '6' &&
            ReadNumber(file, &picture->width) && ReadNumber(file, &picture->height) &&
            ReadNumber(file, &maxValue) && maxValue == 255;
  if (ok) {
    picture->rgb.resize(3 * size_t(picture->width) * picture->height);
    ok = std::fread(picture->rgb.data(), 1, picture->rgb.size(), file) == picture->rgb.size();
  }
  std::fclose(file);
  return ok;
}

// The grid's lines are drawn in greys of 0.4 and 0.5.
bool Grey(const unsigned char *p) {
  int low = std::min(p[0], std::min(p[1], p[2])), high = std::max(p[0], std::max(p[1], p[2]));
  return high - low <= 24 && low >= 70 && high <= 170;
}

// The grid's left line, which no sprite covers, is the first column with a grey run at least 340
// pixels long; the board's origin is 40 pixels left of it and 90 pixels above the run's top.
bool FindOrigin(const Picture &picture, int *x0, int *y0) {
  for (int x = 0; x < picture.width; ++x) {
    int run = 0;
    for (int y = 0; y < picture.height; ++y) {
      run = Grey(picture.At(x, y)) ? run + 1 : 0;
      if (run >= 340) {
        *x0 = x - 40;
        *y0 = y - run + 1 - 90;
        return true;
      }
    }
  }
  return false;
}

double MeanBrightness(const Picture &picture, int left, int top, int right, int bottom) {
  double sum = 0;
  int count = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, picture.height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, picture.width); ++x, ++count)
      sum += (picture.At(x, y)[0] + picture.At(x, y)[1] + picture.At(x, y)[2]) / 3.0;
  return count > 0 ? sum / count : 0;
}

// Pixels in the title's place in its colour (1, 0.5, 1): red and blue bright, green about half.
int TitlePixels(const Picture &picture, int x0, int y0) {
  int count = 0;
  for (int y = std::max(y0 + 10, 0); y < std::min(y0 + 43, picture.height); ++y)
    for (int x = std::max(x0 + 247, 0); x < std::min(x0 + 474, picture.width); ++x) {
      const unsigned char *p = picture.At(x, y);
      if (p[0] >= 120 && p[2] >= 120 && p[1] * 10 < std::min(p[0], p[2]) * 7 &&
          p[1] * 10 > p[0] * 3)
        ++count;
    }
  return count;
}

// The cells that the snake or the food covers in a picture whose board starts at (x0, y0).
std::vector<bool> OccupiedCells(const Picture &picture, int x0, int y0) {
  std::vector<bool> occupied(14 * 12);
  for (int row = 0; row < 12; ++row)
    for (int column = 0; column < 14; ++column) {
      int left = x0 + 40 + 40 * column, top = y0 + 90 + 30 * row;
      occupied[row * 14 + column] =
          MeanBrightness(picture, left + 4, top + 4, left + 36, top + 26) > 12;
    }
  return occupied;
}

int Board(const char *path) {
  Picture picture;
  if (!LoadPpm(path, &picture)) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 2;
  }
  int x0, y0;
  if (!FindOrigin(picture, &x0, &y0)) {
    std::printf("origin none\n");
    return 1;
  }
  std::printf("origin %d %d\ntitle %d\ncells", x0, y0, TitlePixels(picture, x0, y0));
  // A cell's inside, 4 pixels in from its lines, is black unless a sprite covers it.
  std::vector<bool> occupied = OccupiedCells(picture, x0, y0);
  for (int cell = 0; cell < 14 * 12; ++cell)
    if (occupied[cell])
      std::printf(" %d,%d", cell % 14, cell / 14);
  std::printf("\n");
  return 0;
}

uint32_t LittleEndian(const std::vector<unsigned char> &bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

// One channel of a 32-bit pixel by its mask, as 8 bits (the generator's masks are whole bytes).
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0)
    return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0)
    ++shift;
  return (pixel & mask) >> shift;
}

// Whether window ID's _NET_WM_ICON holds the 32-bit bit-field bitmap FILE, pixel for pixel as
// ARGB; prints the icon sizes the window carries.
int Icon(const char *id, const char *file) {
  FILE *input = std::fopen(file, "rb");
  if (input == nullptr)
    return 2;
  std::vector<unsigned char> bmp;
  int c;
  while ((c = std::fgetc(input)) != EOF)
    bmp.push_back(static_cast<unsigned char>(c));
  std::fclose(input);
  if (bmp.size() < 70 || (LittleEndian(bmp, 28) & 0xFFFF) != 32)
    return 2;
  int width = static_cast<int>(LittleEndian(bmp, 18));
  int height = static_cast<int>(LittleEndian(bmp, 22));
  uint32_t offset = LittleEndian(bmp, 10);
  uint32_t red = LittleEndian(bmp, 54), green = LittleEndian(bmp, 58);
  uint32_t blue = LittleEndian(bmp, 62), alpha = LittleEndian(bmp, 66);
  if (width <= 0 || height <= 0 || offset + size_t(4) * width * height > bmp.size())
    return 2;

  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr)
    return 2;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char *data = nullptr;
  XGetWindowProperty(display, static_cast<Window>(std::strtoul(id, nullptr, 0)),
                     XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 20, False, XA_CARDINAL,
                     &type, &format, &count, &after, &data);
  // Xlib hands 32-bit properties over as longs.
  std::vector<unsigned long> icon;
  if (data != nullptr && format == 32)
    icon.assign(reinterpret_cast<unsigned long *>(data),
                reinterpret_cast<unsigned long *>(data) + count);
  if (data != nullptr)
    XFree(data);
  XCloseDisplay(display);

  bool matches = false;
  for (size_t at = 0; at + 2 <= icon.size();) {
    unsigned long w = icon[at], h = icon[at + 1];
    std::printf("icon %lux%lu\n", w, h);
    if (w == 0 || h == 0 || at + 2 + w * h > icon.size())
      break;
    if (int(w) == width && int(h) == height) {
      int differing = 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          uint32_t p = LittleEndian(bmp, offset + 4 * (size_t(height - 1 - y) * width + x));
          uint32_t argb = Channel(p, alpha) << 24 | Channel(p, red) << 16 | Channel(p, green) << 8 |
                          Channel(p, blue);
          differing += (icon[at + 2 + size_t(y) * w + x] & 0xFFFFFFFFul) != argb;
        }
      std::printf("pixels differing from %s: %d\n", file, differing);
      matches = matches || differing == 0;
    }
    at += 2 + w * h;
  }
  return matches ? 0 : 1;
}

// Compares a screenshot of the game on an unscaled desktop with one on a desktop scaled by a whole
// factor, shrunk by averaging each factor x factor block. The snake moves between the two shots,
// so the cells it or the food covers in either are left out. Prints the count of pixels that
// differ and the largest difference of a channel; succeeds when no pixel differs.
int CompareScaled(const char *plainPath, const char *scaledPath, int factor) {
  Picture plain, scaled;
  if (!LoadPpm(plainPath, &plain) || !LoadPpm(scaledPath, &scaled) || factor < 1 ||
      scaled.width != plain.width * factor || scaled.height != plain.height * factor) {
    std::fprintf(stderr, "cannot compare %s with %s at %d\n", plainPath, scaledPath, factor);
    return 2;
  }
  Picture shrunk;
  shrunk.width = plain.width;
  shrunk.height = plain.height;
  shrunk.rgb.resize(plain.rgb.size());
  for (int y = 0; y < shrunk.height; ++y)
    for (int x = 0; x < shrunk.width; ++x)
      for (int channel = 0; channel < 3; ++channel) {
        int sum = 0;
        for (int dy = 0; dy < factor; ++dy)
          for (int dx = 0; dx < factor; ++dx)
            sum += scaled.At(factor * x + dx, factor * y + dy)[channel];
        shrunk.rgb[3 * (size_t(y) * shrunk.width + x) + channel] =
            static_cast<unsigned char>((sum + factor * factor / 2) / (factor * factor));
      }
  int x0, y0, sx0, sy0;
  if (!FindOrigin(plain, &x0, &y0) || !FindOrigin(shrunk, &sx0, &sy0) || x0 != sx0 || y0 != sy0) {
    std::printf("boards differ\n");
    return 1;
  }
  std::vector<bool> left = OccupiedCells(plain, x0, y0), right = OccupiedCells(shrunk, x0, y0);
  std::vector<bool> masked(plain.rgb.size() / 3);
  int maskedCells = 0;
  for (int cell = 0; cell < 14 * 12; ++cell) {
    if (!left[cell] && !right[cell])
      continue;
    ++maskedCells;
    int cellLeft = x0 + 40 + 40 * (cell % 14), cellTop = y0 + 90 + 30 * (cell / 14);
    for (int y = std::max(cellTop - 1, 0); y <= std::min(cellTop + 30, plain.height - 1); ++y)
      for (int x = std::max(cellLeft - 1, 0); x <= std::min(cellLeft + 40, plain.width - 1); ++x)
        masked[size_t(y) * plain.width + x] = true;
  }
  int differing = 0, largest = 0;
  for (size_t pixel = 0; pixel < masked.size(); ++pixel) {
    if (masked[pixel])
      continue;
    int difference = 0;
    for (int channel = 0; channel < 3; ++channel)
      difference = std::max(
          difference, std::abs(plain.rgb[3 * pixel + channel] - shrunk.rgb[3 * pixel + channel]));
    differing += difference > 0;
    largest = std::max(largest, difference);
  }
  std::printf("%d of %zu pixels differ (largest difference %d) outside the %d cells of the snake "
              "and the food\n",
              differing, masked.size(), largest, maskedCells);
  return differing == 0 ? 0 : 1;
}

// The fields of a Windows shell link (.lnk) that say what it starts and where: the target's local
// path from its LinkInfo, and the working folder from its string data. Prints `target PATH` and
// `workdir PATH`; 1 when the file is no shell link or lacks either.
int Shortcut(const char *path) {
  FILE *input = std::fopen(path, "rb");
  if (input == nullptr)
    return std::fprintf(stderr, "cannot open %s\n", path), 1;
  std::vector<unsigned char> bytes;
  for (int c; (c = std::fgetc(input)) != EOF;)
    bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(input);
  const size_t headerSize = 0x4C;
  if (bytes.size() < headerSize || LittleEndian(bytes, 0) != headerSize)
    return std::fprintf(stderr, "%s: no shell link header\n", path), 1;
  const uint32_t flags = LittleEndian(bytes, 20);
  const uint32_t HasIdList = 0x1, HasLinkInfo = 0x2, HasName = 0x4, HasRelativePath = 0x8,
                 HasWorkingDir = 0x10, IsUnicode = 0x80;
  size_t at = headerSize;
  if ((flags & HasIdList) != 0) {
    if (at + 2 > bytes.size())
      return std::fprintf(stderr, "%s: truncated\n", path), 1;
    at += 2 + (bytes[at] | bytes[at + 1] << 8);
  }
  std::string target, workdir;
  if ((flags & HasLinkInfo) != 0) {
    if (at + 20 > bytes.size())
      return std::fprintf(stderr, "%s: truncated\n", path), 1;
    const size_t infoSize = LittleEndian(bytes, at);
    const size_t basePath = at + LittleEndian(bytes, at + 16);
    if ((LittleEndian(bytes, at + 8) & 1) != 0)
      for (size_t i = basePath; i < at + infoSize && i < bytes.size() && bytes[i] != 0; ++i)
        target += static_cast<char>(bytes[i]);
    at += infoSize;
  }
  // The strings in their order: name, relative path, working folder. Each is a count of
  // characters and the characters; UTF-16 ones are kept when they are ASCII.
  const size_t unit = (flags & IsUnicode) != 0 ? 2 : 1;
  for (uint32_t field : {HasName, HasRelativePath, HasWorkingDir}) {
    if ((flags & field) == 0)
      continue;
    if (at + 2 > bytes.size())
      return std::fprintf(stderr, "%s: truncated\n", path), 1;
    const size_t count = bytes[at] | bytes[at + 1] << 8;
    at += 2;
    if (at + count * unit > bytes.size())
      return std::fprintf(stderr, "%s: truncated\n", path), 1;
    std::string text;
    for (size_t i = 0; i < count; ++i) {
      const unsigned value =
          unit == 2 ? bytes[at + 2 * i] | bytes[at + 2 * i + 1] << 8 : bytes[at + i];
      if (value != 0)
        text += value < 128 ? static_cast<char>(value) : '?';
    }
    at += count * unit;
    if (field == HasWorkingDir)
      workdir = text;
  }
  if (target.empty() || workdir.empty())
    return std::fprintf(stderr, "%s: no target or no working folder\n", path), 1;
  std::printf("target %s\nworkdir %s\n", target.c_str(), workdir.c_str());
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 3 && std::strcmp(argv[1], "close") == 0)
    return CloseWindow(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "board") == 0)
    return Board(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "wm-state") == 0)
    return KeepWmState();
  if (argc == 4 && std::strcmp(argv[1], "icon") == 0)
    return Icon(argv[2], argv[3]);
  if (argc == 5 && std::strcmp(argv[1], "compare-scaled") == 0)
    return CompareScaled(argv[2], argv[3], std::atoi(argv[4]));
  if (argc == 3 && std::strcmp(argv[1], "shortcut") == 0)
    return Shortcut(argv[2]);
  std::fprintf(stderr,
               "usage: %s close WINDOW | wm-state | board SHOT.ppm | icon WINDOW FILE.bmp | "
               "compare-scaled PLAIN.ppm SCALED.ppm FACTOR | shortcut FILE.lnk\n",
               argv[0]);
  return 2;
}

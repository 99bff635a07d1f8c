// ChangeDisplaySettingsA and the fullscreen window on X displays of known sizes: each case starts
// an Xvfb of its own and runs in a child process bound to it (SDL binds a process to one display).
#include "tests/platform/platform_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

// Sets the X server's resource database as a desktop session does (xrdb), with a connection that
// stays open for the rest of the process; desktop_resources.cpp.
bool SetDesktopResources(const char *resources);

namespace {

// An Xvfb on a display number that it picks itself, so that parallel runs do not collide.
class OwnDisplay {
public:
  explicit OwnDisplay(const char *screen) {
    int fds[2];
    if (pipe(fds) != 0)
      return;
    pid = fork();
    if (pid == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
             static_cast<char *>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // The server writes its number and a newline once it is ready; it dies if the pipe closes
    // before it has written both.
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
      number += c;
    close(fds[0]);
    if (!number.empty() && c == '\n')
      name = ":" + number;
  }
  ~OwnDisplay() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  }
  std::string name; // empty when the server did not start
private:
  pid_t pid = -1;
};

// Runs `body` in a child process whose DISPLAY is `display`; its failures are reported there
// and fail this test through its exit status.
void RunOnDisplay(const std::string &display, void (*body)(const void *), const void *context) {
  fflush(stdout);
  pid_t child = fork();
  if (child == 0) {
    setenv("DISPLAY", display.c_str(), 1);
    body(context);
    fflush(stdout);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the child on " << display << " failed (see above), status " << status;
}

struct ModeCase {
  const char *name;
  const char *screen; // Xvfb's -screen argument
  DWORD fields;
  int width;
  int height;
  int bits;
  LONG expected;
  int screenWidth; // the display's own size, which the mode has when it is granted
  int screenHeight;
};

DEVMODEA ModeRequest(const ModeCase &c) {
  DEVMODEA mode;
  memset(&mode, 0, sizeof mode);
  mode.dmSize = sizeof mode;
  mode.dmFields = c.fields;
  mode.dmPelsWidth = static_cast<DWORD>(c.width);
  mode.dmPelsHeight = static_cast<DWORD>(c.height);
  mode.dmBitsPerPel = static_cast<DWORD>(c.bits);
  return mode;
}

void RegisterTestClass() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.lpszClassName = TestClass;
  ASSERT_NE(RegisterClassA(&windowClass), 0);
}

// A granted mode: the popup that covers it is fullscreen until the desktop comes back.
void ExpectFullscreenPopup(const ModeCase &c) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_FALSE(TestCursorVisible());
  HWND popup = CreateClientWindow(PopupStyle, PopupExStyle, c.screenWidth, c.screenHeight,
                                  "zelu fullscreen");
  ASSERT_NE(popup, nullptr);
  ShowWindow(popup, SW_SHOW);
  EXPECT_TRUE(TestWindowFullscreen(popup));
  int width = 0, height = 0;
  TestClientSize(popup, &width, &height);
  EXPECT_EQ(width, c.screenWidth);
  EXPECT_EQ(height, c.screenHeight);
  XGeometry geometry = XWindowGeometry(FindXWindow("zelu fullscreen"));
  EXPECT_TRUE(geometry.viewable);
  EXPECT_EQ(geometry.x, 0);
  EXPECT_EQ(geometry.y, 0);
  EXPECT_EQ(geometry.width, c.screenWidth);
  EXPECT_EQ(geometry.height, c.screenHeight);
  HWND windowed = CreateClientWindow(WindowedStyle, WindowedExStyle, 200, 100);
  EXPECT_FALSE(TestWindowFullscreen(windowed)) << "only a popup covering the mode";
  EXPECT_TRUE(DestroyWindow(windowed));

  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_FALSE(TestDisplayModeChanged());
  EXPECT_FALSE(TestWindowFullscreen(popup)) << "the desktop is back";
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_TRUE(TestCursorVisible());
  EXPECT_TRUE(DestroyWindow(popup));
}

void ChangeModeOnThisDisplay(const void *context) {
  const ModeCase &c = *static_cast<const ModeCase *>(context);
  TestReset();
  RegisterTestClass();
  DEVMODEA mode = ModeRequest(c);
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), c.expected);
  EXPECT_EQ(TestDisplayModeChanged(), c.expected == DISP_CHANGE_SUCCESSFUL);
  if (c.expected == DISP_CHANGE_SUCCESSFUL) {
    ExpectFullscreenPopup(c);
    // The test controls' reset brings the desktop and the cursor back too.
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    ShowCursor(FALSE);
    TestReset();
    EXPECT_FALSE(TestDisplayModeChanged());
    EXPECT_TRUE(TestCursorVisible());
  } else {
    HWND popup = CreateClientWindow(PopupStyle, PopupExStyle, c.width, c.height);
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(TestWindowFullscreen(popup)) << "the mode was refused";
    EXPECT_TRUE(DestroyWindow(popup));
  }
  EXPECT_EQ(TestHandlesHeld(), 0);
}

class DisplayMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(DisplayMode, IsGrantedOnlyWhereTheDisplayOffersIt) {
  OwnDisplay display(GetParam().screen);
  ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
  RunOnDisplay(display.name, ChangeModeOnThisDisplay, &GetParam());
}

const DWORD AllFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
const ModeCase ModeCases[] = {
    {"GamesModeOn640x480", "640x480x24", AllFields, 640, 480, 16, DISP_CHANGE_SUCCESSFUL, 640, 480},
    {"GamesModeOn640x480At16Bits", "640x480x16", AllFields, 640, 480, 16, DISP_CHANGE_SUCCESSFUL,
     640, 480},
    {"GamesModeOn1024x768", "1024x768x24", AllFields, 640, 480, 16, DISP_CHANGE_BADMODE, 1024, 768},
    {"DisplaysOwnSizeAt32Bits", "1024x768x24", AllFields, 1024, 768, 32, DISP_CHANGE_SUCCESSFUL,
     1024, 768},
    {"NoSizeFieldsMeansTheDesktopsSize", "1024x768x24", DM_BITSPERPEL, 0, 0, 16,
     DISP_CHANGE_SUCCESSFUL, 1024, 768},
};
INSTANTIATE_TEST_SUITE_P(Screens, DisplayMode, ::testing::ValuesIn(ModeCases),
                         [](const ::testing::TestParamInfo<ModeCase> &info) {
                           return std::string(info.param.name);
                         });

// The desktop's scale: ZELU_SCALE first, then GDK_SCALE (whole), then Xft.dpi in quarter steps;
// only factors from 1 to 8 count.
TEST(DesktopScale, ComesFromTheSettingsInTheirOrder) {
  struct Case {
    const char *zeluScale;
    const char *gdkScale;
    int xftDpi;
    float expected;
  } cases[] = {
      {nullptr, nullptr, 0, 1},
      {"2", nullptr, 0, 2},
      {"1.5", "3", 192, 1.5f},
      {"0.5", nullptr, 0, 1},
      {"9", nullptr, 0, 1},
      {"2x", nullptr, 144, 1.5f},
      {"", "2", 0, 2},
      {nullptr, "2", 144, 2},
      {nullptr, "1.7", 0, 1},
      {nullptr, "0", 192, 2},
      {nullptr, nullptr, 96, 1},
      {nullptr, nullptr, 120, 1.25f},
      {nullptr, nullptr, 144, 1.5f},
      {nullptr, nullptr, 192, 2},
      {nullptr, nullptr, 100, 1},
      {nullptr, nullptr, 72, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string("ZELU_SCALE ") + (c.zeluScale ? c.zeluScale : "unset") +
                 ", GDK_SCALE " + (c.gdkScale ? c.gdkScale : "unset") + ", Xft.dpi " +
                 std::to_string(c.xftDpi));
    EXPECT_EQ(TestDesktopScaleFrom(c.zeluScale, c.gdkScale, c.xftDpi), c.expected);
  }
}

struct DesktopCase {
  const char *name;
  const char *resources; // the X server's RESOURCE_MANAGER, or null for none
  const char *zeluScale; // null: unset
  int screenWidth;       // of a window whose client area is 640 x 480
  int screenHeight;
};

// A plain window on this desktop: 640 x 480 for the program, the desktop's factor larger on the
// X server.
void ScaleOnThisDisplay(const void *context) {
  const DesktopCase &c = *static_cast<const DesktopCase *>(context);
  if (c.resources != nullptr) {
    ASSERT_TRUE(SetDesktopResources(c.resources));
  }
  unsetenv("GDK_SCALE");
  if (c.zeluScale != nullptr)
    setenv("ZELU_SCALE", c.zeluScale, 1);
  else
    unsetenv("ZELU_SCALE");
  TestReset();
  RegisterTestClass();
  HWND window = CreateClientWindow(WindowedStyle, WindowedExStyle, 640, 480, "zelu scaled");
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  int width = 0, height = 0;
  TestClientSize(window, &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  XGeometry geometry = XWindowGeometry(FindXWindow("zelu scaled"));
  EXPECT_EQ(geometry.width, c.screenWidth);
  EXPECT_EQ(geometry.height, c.screenHeight);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(TestHandlesHeld(), 0);
}

class DesktopScaleOfX11 : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(DesktopScaleOfX11, EnlargesPlainWindowsOnTheScreen) {
  OwnDisplay display("1920x1440x24");
  ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
  RunOnDisplay(display.name, ScaleOnThisDisplay, &GetParam());
}

const DesktopCase DesktopCases[] = {
    {"NothingSaysSo", nullptr, nullptr, 640, 480},
    {"XftDpi144", "Xft.dpi:\t144\n", nullptr, 960, 720},
    {"ZeluScaleBeforeXftDpi", "Xft.dpi:\t144\n", "2", 1280, 960},
};
INSTANTIATE_TEST_SUITE_P(Desktops, DesktopScaleOfX11, ::testing::ValuesIn(DesktopCases),
                         [](const ::testing::TestParamInfo<DesktopCase> &info) {
                           return std::string(info.param.name);
                         });

} // namespace

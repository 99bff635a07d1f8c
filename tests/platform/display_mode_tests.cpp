// ChangeDisplaySettingsA and the fullscreen window on X displays of known sizes: each case starts
// an Xvfb of its own and runs in a child process bound to it (SDL binds a process to one display).
#include "tests/platform/platform_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

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

} // namespace

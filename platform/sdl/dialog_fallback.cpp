// Message boxes that SDL cannot show (an X server without core fonts and no zenity for SDL):
// the player still reads them on standard error and, where the desktop has a dialog program,
// answers them there; without one the game takes the default button, as Enter would.
#include "platform/sdl/dialog_fallback.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

enum class BoxIcon { Information, Warning, Error };

BoxIcon IconOf(UINT type) {
  switch (type & 0xF0) {
  case MB_ICONERROR:
    return BoxIcon::Error;
  case MB_ICONEXCLAMATION:
    return BoxIcon::Warning;
  default:
    return BoxIcon::Information;
  }
}

// What a dialog program's exit told: a button, a close without one, or no box at all.
enum class Outcome { First, Second, Closed, NotShown };

// Runs `argv` with no input and its output dropped, and waits for it; its exit code, or -1 when
// it could not start or did not exit by itself.
int RunAndWait(const std::vector<std::string> &argv) {
  std::vector<char *> args;
  for (const std::string &arg : argv)
    args.push_back(const_cast<char *>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t child;
  int failed = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0)
    return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR)
      return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// zenity: 0 for OK or Yes, 1 for No or a closed box; anything else is a failure (an option it
// does not know, no display).
Outcome AskZenity(const char *caption, const char *text, bool yesNo, BoxIcon icon) {
  const char *kind = yesNo                      ? "--question"
                     : icon == BoxIcon::Error   ? "--error"
                     : icon == BoxIcon::Warning ? "--warning"
                                                : "--info";
  std::vector<std::string> argv = {
      "zenity",    kind,         std::string("--title=") + caption, std::string("--text=") + text,
      "--no-wrap", "--no-markup"};
  if (yesNo) {
    argv.push_back("--ok-label=Yes");
    argv.push_back("--cancel-label=No");
  } else {
    argv.push_back("--ok-label=OK");
  }
  int code = RunAndWait(argv);
  return code == 0 ? Outcome::First : code == 1 ? Outcome::Second : Outcome::NotShown;
}

// kdialog: 0 for Yes or OK, 1 for No; a closed question is No.
Outcome AskKdialog(const char *caption, const char *text, bool yesNo, BoxIcon icon) {
  std::vector<std::string> argv = {"kdialog", "--title", caption};
  if (yesNo) {
    argv.insert(argv.end(), {"--yesno", text, "--yes-label", "Yes", "--no-label", "No"});
  } else {
    const char *kind = icon == BoxIcon::Error     ? "--error"
                       : icon == BoxIcon::Warning ? "--sorry"
                                                  : "--msgbox";
    argv.insert(argv.end(), {kind, text});
  }
  int code = RunAndWait(argv);
  return code == 0 ? Outcome::First : code == 1 ? Outcome::Second : Outcome::NotShown;
}

// xmessage draws with the server's built-in "fixed" font, which every X server has, so it shows
// the box where SDL found no core fonts. Its buttons exit with codes of our choosing, apart from
// its own 1 (no display) and 0 (closed by the window manager).
Outcome AskXmessage(const char *caption, const char *text, bool yesNo) {
  int code =
      RunAndWait({"xmessage", "-title", caption, "-center", "-buttons",
                  yesNo ? "Yes:100,No:101" : "OK:100", "-default", yesNo ? "Yes" : "OK", text});
  return code == 100   ? Outcome::First
         : code == 101 ? Outcome::Second
         : code == 0   ? Outcome::Closed
                       : Outcome::NotShown;
}

// Without a display the dialog programs fail too, and zenity's failure reads as No.
bool HasDisplay() {
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

bool OnKdeDesktop() {
  const char *desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return desktop != nullptr && std::strstr(desktop, "KDE") != nullptr;
}

} // namespace

int AskWithoutSdl(const char *caption, const char *text, UINT type, const char *reason) {
  bool yesNo = (type & 0xF) == MB_YESNO;
  BoxIcon icon = IconOf(type);
  // One block, each line of the text indented under the caption, so that it reads as the box.
  std::string block = std::string("zelu-line: a message box could not be shown (") + reason +
                      "):\n  " + caption + "\n";
  for (const char *line = text; *line != '\0';) {
    const char *end = std::strchr(line, '\n');
    size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
    block += "    " + std::string(line, length) + "\n";
    line += length + (end ? 1 : 0);
  }
  block += yesNo ? "  [Yes] No\n" : "  [OK]\n";
  std::fputs(block.c_str(), stderr);
  std::fflush(stderr);

  Outcome outcome = Outcome::NotShown;
  const char *shownBy = nullptr;
  for (int attempt = 0; attempt < 3 && HasDisplay() && outcome == Outcome::NotShown; ++attempt) {
    // On KDE kdialog is the desktop's own; elsewhere zenity is the commoner.
    int which = attempt < 2 && OnKdeDesktop() ? 1 - attempt : attempt;
    if (which == 0) {
      outcome = AskZenity(caption, text, yesNo, icon);
      shownBy = "zenity";
    } else if (which == 1) {
      outcome = AskKdialog(caption, text, yesNo, icon);
      shownBy = "kdialog";
    } else {
      outcome = AskXmessage(caption, text, yesNo);
      shownBy = "xmessage";
    }
  }
  if (outcome == Outcome::NotShown) {
    std::fprintf(stderr,
                 "zelu-line: no zenity, kdialog or xmessage showed it: taking %s, the "
                 "default button.\n",
                 yesNo ? "Yes" : "OK");
    return yesNo ? IDYES : IDOK;
  }
  std::fprintf(stderr, "zelu-line: asked with %s instead.\n", shownBy);
  if (!yesNo)
    return IDOK;
  // A question closed without a button is No, as with SDL's box.
  return outcome == Outcome::First ? IDYES : IDNO;
}

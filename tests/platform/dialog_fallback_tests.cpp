// A message box that SDL cannot show: it goes to standard error, then to the first dialog program
// on the PATH that shows it (stand-ins here that record their arguments and answer with an exit
// code), else the default button is taken.
#include "platform/sdl/dialog_fallback.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char Question[] = "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use "
                        "Windowed Mode Instead?";

// A stand-in dialog program: its name and how it ends ("exit 0", "kill -9 $$").
struct Program {
  const char *name;
  const char *ending;
};

struct FallbackCase {
  const char *name;
  std::vector<Program> programs; // on the PATH; the PATH holds nothing else
  const char *desktop;           // XDG_CURRENT_DESKTOP, or null
  const char *display;           // DISPLAY, or null (WAYLAND_DISPLAY is always unset)
  UINT type;
  int expected;
  const char *calls;      // the programs started, in order, each line "name arg|arg|..."
  const char *stderrTail; // the last line on standard error
};

void PrintTo(const FallbackCase &c, std::ostream *out) {
  *out << c.name;
}

class DialogFallback : public ::testing::TestWithParam<FallbackCase> {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelu-dialogs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    for (const char *name : Variables) {
      const char *value = std::getenv(name);
      saved.push_back({name, value != nullptr, value ? value : ""});
    }
  }
  void TearDown() override {
    for (const Saved &variable : saved)
      Set(variable.name, variable.set ? variable.value.c_str() : nullptr);
    std::system(("rm -rf '" + folder + "'").c_str());
  }
  static void Set(const char *name, const char *value) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  // Each program appends "name arg|arg|..." to calls.log (shell builtins only: the PATH is ours).
  void Install(const Program &program) {
    std::string file = folder + "/" + program.name;
    std::ofstream script(file);
    script << "#!/bin/sh\n{ printf '%s' '" << program.name << "'; sep=' '\n"
           << "  for arg in \"$@\"; do printf '%s%s' \"$sep\" \"$arg\"; sep='|'; done\n"
           << "  printf '\\n'; } >>'" << folder << "/calls.log'\n"
           << program.ending << "\n";
    script.close();
    ASSERT_EQ(chmod(file.c_str(), 0755), 0);
  }
  std::string Calls() {
    std::ifstream log(folder + "/calls.log");
    std::stringstream text;
    text << log.rdbuf();
    return text.str();
  }
  struct Saved {
    const char *name;
    bool set;
    std::string value;
  };
  static constexpr const char *Variables[] = {"PATH", "XDG_CURRENT_DESKTOP", "DISPLAY",
                                              "WAYLAND_DISPLAY"};
  std::string folder;
  std::vector<Saved> saved;
};

std::string LastLine(const std::string &text) {
  size_t end = text.find_last_not_of('\n');
  size_t start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

TEST_P(DialogFallback, AnswersWithTheFirstProgramThatShowsTheBoxElseTheDefault) {
  const FallbackCase &c = GetParam();
  for (const Program &program : c.programs)
    Install(program);
  Set("PATH", folder.c_str());
  Set("XDG_CURRENT_DESKTOP", c.desktop);
  Set("DISPLAY", c.display);
  Set("WAYLAND_DISPLAY", nullptr);
  const char *text = (c.type & 0xF) == MB_YESNO ? Question : "Program Will Now Close.";
  const char *caption = (c.type & 0xF) == MB_YESNO ? "Zelu GL" : "ERROR";

  ::testing::internal::CaptureStderr();
  int answer = AskWithoutSdl(caption, text, c.type, "Couldn't load font");
  std::string printed = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(answer, c.expected);
  EXPECT_EQ(Calls(), c.calls);
  EXPECT_EQ(LastLine(printed), c.stderrTail);
  // The box itself comes first, whatever shows it afterwards: caption, text line by line, the
  // buttons with the default marked, and SDL's reason.
  std::string block = (c.type & 0xF) == MB_YESNO
                          ? "zelu-line: a message box could not be shown (Couldn't load font):\n"
                            "  Zelu GL\n"
                            "    The Requested Fullscreen Mode Is Not Supported By\n"
                            "    Your Video Card. Use Windowed Mode Instead?\n"
                            "  [Yes] No\n"
                          : "zelu-line: a message box could not be shown (Couldn't load font):\n"
                            "  ERROR\n"
                            "    Program Will Now Close.\n"
                            "  [OK]\n";
  EXPECT_EQ(printed.substr(0, block.size()), block);
}

const UINT QuestionBox = MB_YESNO | MB_ICONEXCLAMATION;
const UINT ErrorBox = MB_OK | MB_ICONERROR;
const char ZenityQuestion[] = "zenity --question|--title=Zelu GL|--text=The Requested Fullscreen "
                              "Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
                              "Instead?|--no-wrap|--no-markup|--ok-label=Yes|--cancel-label=No\n";
const char KdialogQuestion[] = "kdialog --title|Zelu GL|--yesno|The Requested Fullscreen Mode Is "
                               "Not Supported By\nYour Video Card. Use Windowed Mode "
                               "Instead?|--yes-label|Yes|--no-label|No\n";
const char XmessageQuestion[] = "xmessage -title|Zelu GL|-center|-buttons|Yes:100,No:101|-default|"
                                "Yes|The Requested Fullscreen Mode Is Not Supported By\nYour "
                                "Video Card. Use Windowed Mode Instead?\n";

const FallbackCase FallbackCases[] = {
    {"ZenityYes",
     {{"zenity", "exit 0"}, {"kdialog", "exit 0"}},
     nullptr,
     ":9",
     QuestionBox,
     IDYES,
     ZenityQuestion,
     "zelu-line: asked with zenity instead."},
    {"ZenityNo",
     {{"zenity", "exit 1"}},
     nullptr,
     ":9",
     QuestionBox,
     IDNO,
     ZenityQuestion,
     "zelu-line: asked with zenity instead."},
    {"ZenityFailingThenKdialogYes",
     {{"zenity", "exit 255"}, {"kdialog", "exit 0"}},
     nullptr,
     ":9",
     QuestionBox,
     IDYES,
     "zenity --question|--title=Zelu GL|--text=The Requested Fullscreen Mode Is Not Supported "
     "By\nYour Video Card. Use Windowed Mode "
     "Instead?|--no-wrap|--no-markup|--ok-label=Yes|--cancel-label=No\n"
     "kdialog --title|Zelu GL|--yesno|The Requested Fullscreen Mode Is Not Supported By\nYour "
     "Video Card. Use Windowed Mode Instead?|--yes-label|Yes|--no-label|No\n",
     "zelu-line: asked with kdialog instead."},
    {"KdeAsksKdialogFirst",
     {{"zenity", "exit 0"}, {"kdialog", "exit 1"}},
     "KDE",
     ":9",
     QuestionBox,
     IDNO,
     KdialogQuestion,
     "zelu-line: asked with kdialog instead."},
    {"KilledZenityThenXmessageNo",
     {{"zenity", "kill -9 $$"}, {"xmessage", "exit 101"}},
     nullptr,
     ":9",
     QuestionBox,
     IDNO,
     "zenity --question|--title=Zelu GL|--text=The Requested Fullscreen Mode Is Not Supported "
     "By\nYour Video Card. Use Windowed Mode "
     "Instead?|--no-wrap|--no-markup|--ok-label=Yes|--cancel-label=No\n"
     "xmessage -title|Zelu GL|-center|-buttons|Yes:100,No:101|-default|Yes|The Requested "
     "Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?\n",
     "zelu-line: asked with xmessage instead."},
    {"XmessageYes",
     {{"xmessage", "exit 100"}},
     nullptr,
     ":9",
     QuestionBox,
     IDYES,
     XmessageQuestion,
     "zelu-line: asked with xmessage instead."},
    {"XmessageClosedIsNo",
     {{"xmessage", "exit 0"}},
     nullptr,
     ":9",
     QuestionBox,
     IDNO,
     XmessageQuestion,
     "zelu-line: asked with xmessage instead."},
    {"XmessageWithoutDisplayTakesYes",
     {{"xmessage", "exit 1"}},
     nullptr,
     ":9",
     QuestionBox,
     IDYES,
     XmessageQuestion,
     "zelu-line: no zenity, kdialog or xmessage showed it: taking Yes, the default button."},
    {"NothingTakesYes",
     {},
     nullptr,
     ":9",
     QuestionBox,
     IDYES,
     "",
     "zelu-line: no zenity, kdialog or xmessage showed it: taking Yes, the default button."},
    {"WithoutDisplayNothingIsAsked",
     {{"zenity", "exit 1"}, {"xmessage", "exit 101"}},
     nullptr,
     nullptr,
     QuestionBox,
     IDYES,
     "",
     "zelu-line: no zenity, kdialog or xmessage showed it: taking Yes, the default button."},
    {"ErrorWithNothingTakesOk",
     {},
     nullptr,
     ":9",
     ErrorBox,
     IDOK,
     "",
     "zelu-line: no zenity, kdialog or xmessage showed it: taking OK, the default button."},
    {"ErrorClosedInZenityIsOk",
     {{"zenity", "exit 1"}},
     nullptr,
     ":9",
     ErrorBox,
     IDOK,
     "zenity --error|--title=ERROR|--text=Program Will Now "
     "Close.|--no-wrap|--no-markup|--ok-label=OK\n",
     "zelu-line: asked with zenity instead."},
    {"ErrorInKdialog",
     {{"kdialog", "exit 0"}},
     nullptr,
     ":9",
     ErrorBox,
     IDOK,
     "kdialog --title|ERROR|--error|Program Will Now Close.\n",
     "zelu-line: asked with kdialog instead."},
    {"ErrorInXmessage",
     {{"xmessage", "exit 100"}},
     nullptr,
     ":9",
     ErrorBox,
     IDOK,
     "xmessage -title|ERROR|-center|-buttons|OK:100|-default|OK|Program Will Now Close.\n",
     "zelu-line: asked with xmessage instead."},
};

INSTANTIATE_TEST_SUITE_P(Desktops, DialogFallback, ::testing::ValuesIn(FallbackCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace

// The process entry of the native build: answers --version and --help, finds the game's Data/
// folder, then hands over to the program's WinMain as the Windows C runtime does. Executables
// link this as the zelu_entry object library (test programs keep GoogleTest's main).
#include "platform/win32.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char HelpText[] =
    "Usage: zelu-line [--help | --version]\n"
    "\n"
    "Zelu's Line: steer a snake around a board whose edges wrap, eat the food and grow.\n"
    "\n"
    "Keys:\n"
    "  Arrow keys  steer\n"
    "  Space       start a new game after it ended\n"
    "  F1          switch between fullscreen and windowed mode\n"
    "  Escape      quit\n"
    "A gamepad plays too: D-pad or left stick to steer, A or Start for Space, Y for F1, Back to\n"
    "quit. SDL_GAMECONTROLLERCONFIG describes a pad that SDL does not know.\n"
    "\n"
    "The pictures and sounds come from Data/ in the current directory, else from Data/ beside\n"
    "the program, else from the installed data folder " ZELU_DATA_FROM_EXE " (relative to the\n"
    "program's folder).\n";

bool HoldsGameData(const std::string &folder) {
  struct stat info;
  return stat((folder + "/Data/Font.bmp").c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// folder + "/" + relative, with each leading "../" taking off one of the folder's components.
std::string Joined(std::string folder, const char *relative) {
  while (std::strncmp(relative, "../", 3) == 0) {
    const std::size_t slash = folder.find_last_of('/');
    folder.erase(slash == std::string::npos || slash == 0 ? 1 : slash);
    relative += 3;
  }
  return folder == "/" ? folder + relative : folder + "/" + relative;
}

// Makes the first folder that holds Data/Font.bmp the current directory: the current directory
// itself, the program's folder, or the installed data folder, found from the program's folder
// so that a moved install still works. When none holds it, the game starts anyway and reports
// the missing file with its own message; this line says where we looked.
void ChangeToDataFolder() {
  std::vector<std::string> tried;
  char cwd[4096];
  tried.push_back(getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".");
  if (HoldsGameData(tried[0]))
    return;
  if (char *base = SDL_GetBasePath()) {
    std::string programFolder = base;
    SDL_free(base);
    while (programFolder.size() > 1 && programFolder.back() == '/')
      programFolder.pop_back();
    tried.push_back(programFolder);
    tried.push_back(Joined(programFolder, ZELU_DATA_FROM_EXE));
  }
  for (std::size_t i = 1; i < tried.size(); ++i)
    if (HoldsGameData(tried[i]) && chdir(tried[i].c_str()) == 0)
      return;
  std::string line = "zelu-line: no Data/Font.bmp in ";
  for (std::size_t i = 0; i < tried.size(); ++i)
    line += (i == 0 ? "" : i + 1 == tried.size() ? " or " : ", ") + tried[i];
  std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace

int main(int argc, char **argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("zelu-line %s\n", ZELU_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(HelpText, stdout);
      return 0;
    }
  }
  ChangeToDataFolder();

  // WinMain's command line is the arguments after the program's name, separated by spaces.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1)
      commandLine += ' ';
    commandLine += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW);
}

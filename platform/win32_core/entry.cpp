// The process entry of the native build: main hands over to the program's WinMain, as the
// Windows C runtime does. The game executable compiles this file itself (it is not part of the
// platform library, so that test programs keep their own main).
#include "platform/win32.h"

#include <string>

int main(int argc, char **argv) {
  // WinMain's command line is the arguments after the program's name, separated by spaces.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1)
      commandLine += ' ';
    commandLine += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW);
}

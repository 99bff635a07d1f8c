// The process entry of the browser build: main hands over to the program's WinMain. The page
// has no command line, and Data/ is preloaded beside the program.
#include "platform/win32.h"

int main() {
  char commandLine[] = "";
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOW);
}

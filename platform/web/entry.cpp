// The process entry of the browser build: main hands over to the program's WinMain. The page
// has no command line, and Data/ is embedded in the program.
#include "platform/win32.h"
#include "platform/web/platform.h"

#include <emscripten.h>

int main() {
  MakePageContextEarly();
  char commandLine[] = "";
  int code = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOW);
  // A main that has yielded to the page returns to no one who would end the runtime: end it here,
  // with WinMain's code, from a fresh turn of the page's event loop, where the runtime's way of
  // ending (an exception) is caught.
  emscripten_sleep(0);
  emscripten_force_exit(code);
  return code;
}

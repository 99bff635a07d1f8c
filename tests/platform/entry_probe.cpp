// A program whose WinMain checks what platform/sdl's main hands it and answers with an exit code:
// 7 when the arguments arrive as Win32's command line, another code for each thing that is wrong.
// Given the single argument "where", it prints the current directory instead and returns 0, so
// that a test can see which Data/ folder main chose.
#include "platform/win32.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand) {
  if (commandLine != nullptr && strcmp(commandLine, "where") == 0) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr)
      return 1;
    std::printf("WinMain in %s\n", cwd);
    return 0;
  }
  if (instance == nullptr || instance != GetModuleHandleA(nullptr))
    return 1;
  if (previousInstance != nullptr)
    return 2;
  if (commandLine == nullptr || strcmp(commandLine, "seven two words") != 0)
    return 3;
  if (showCommand != SW_SHOW)
    return 4;
  return 7;
}

// The web build has no test controls: every platform call asks these and finds nothing armed.
#include "platform/win32_core/test_hooks.h"

bool TestHookFails(const char *) {
  return false;
}
void TestHookHeld(int) {}
bool TestHookVirtualMicros(uint64_t *) {
  return false;
}
bool TestHookClockIsVirtual() {
  return false;
}
bool TestHookNoPerformanceCounter() {
  return false;
}
int64_t TestHookCounterFrequency() {
  return 0;
}
void TestHookQueueFoundEmpty() {}
uint64_t TestHookVirtualNow() {
  return 0;
}
void TestHookWaitVirtual(uint64_t) {}
bool TestHookNoHighResolutionTimer() {
  return false;
}

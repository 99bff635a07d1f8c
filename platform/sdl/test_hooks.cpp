// The hook table's one pointer: null in the game, set by the test controls (testing.cpp) when a
// test program links them.
#include "platform/sdl/test_hooks.h"

const PlatformHooks *platformHooks = nullptr;

// The test controls' gamepads (platform/testing.h), kept apart from the other controls. Internal
// to the test controls.
#pragma once

// Detaches every pad the tests attached (TestReset).
void DetachTestGamepads();

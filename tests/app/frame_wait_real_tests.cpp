// The frame's wait on this build's real clock and timers (under Wine for the Windows build): the
// sleep it gets, frames of at least 10 ms, and everything given back at the end.
#include "app/frame_clock.h"
#include "app/frame_wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Under Wine, whose timers' waits end on whole milliseconds, the wait sleeps with ntdll's delay;
// everywhere else on a timer.
TEST(FrameWaitRealClock, SleepsOnWinesDelayUnderWineAndOnATimerElsewhere) {
#ifdef _WIN32
  bool underWine = std::getenv("WINEPREFIX") != nullptr; // cmake/wine_run.sh sets it
#else
  bool underWine = false;
#endif
  OpenFrameWait();
  EXPECT_EQ(FrameWait.wineDelay != nullptr, underWine);
  EXPECT_EQ(FrameWait.timer != nullptr, !underWine);
  CloseFrameWait();
}

TEST(FrameWaitRealClock, FramesLastAtLeastTenMillisecondsOnTheSystemsSleep) {
  StartFrameClock();
  ASSERT_TRUE(FrameClock.usesCounter);
  OpenFrameWait();
  ASSERT_TRUE(FrameWait.timer != nullptr || FrameWait.wineDelay != nullptr);
  std::printf("sleep: %s\n", FrameWait.wineDelay != nullptr ? "Wine's NtDelayExecution"
                             : FrameWait.raisedResolution
                                 ? "ordinary timer, with timeBeginPeriod(1)"
                                 : "high-resolution timer");
  double shortest = 1e9, longest = 0;
  for (int i = 0; i < 50; ++i) {
    int64_t start, end;
    ASSERT_TRUE(ReadFrameClockTicks(&start));
    WaitOutFrame(start, 10.0);
    ASSERT_TRUE(ReadFrameClockTicks(&end));
    double length = FrameClockMillisBetween(start, end);
    EXPECT_GE(length, 10.0) << i;
    shortest = std::min(shortest, length);
    longest = std::max(longest, length);
  }
  // The longest frame shows how late wakes came on this machine now; it is no test of it.
  std::printf("frames of %.3f to %.3f ms; wake margin now %.3f ms\n", shortest, longest,
              FrameWait.wakeMarginMillis);
  CloseFrameWait();
  EXPECT_EQ(FrameWait.timer, nullptr);
  EXPECT_FALSE(FrameWait.raisedResolution);
}

} // namespace

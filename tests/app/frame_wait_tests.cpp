// The frame's wait on the virtual clock: the timer it makes (high resolution, else the raised
// system resolution, else none), how long a frame lasts and how much of it is asleep, the wake
// margin under late wakes, and the timer or clock failing.
#include "app/frame_clock.h"
#include "app/frame_wait.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FrameWaitTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestReset();
    UseStep(1);
    heldAtStart = TestHandlesHeld();
  }
  // Each clock reading moves the virtual clock on by `micros`.
  void UseStep(uint64_t micros) {
    StepMicros = micros;
    TestUseVirtualClock(3000000, micros);
  }
  void TearDown() override {
    CloseFrameWait();
    TestReset();
  }
  // Runs one frame whose drawing takes `workMicros`; returns its length in microseconds, from
  // the start reading to the reading that ends the wait.
  uint64_t Frame(uint64_t workMicros = 0) {
    uint64_t before = TestClockMicros();
    int64_t start;
    ReadFrameClockTicks(&start);
    TestAdvanceClockMicros(workMicros);
    WaitOutFrame(start, 10.0);
    return TestClockMicros() - before - StepMicros;
  }
  int heldAtStart = 0;
  uint64_t StepMicros = 1;
};

struct OpenCase {
  const char *name;
  bool noHighResolution; // CreateWaitableTimerExW refuses the high-resolution flag
  int failedCreations;   // CreateWaitableTimerExW calls that fail outright
  bool refusePeriod;     // timeBeginPeriod fails
  bool timer;            // a timer results
  bool raised;           // timeBeginPeriod(1) is in force
};

const OpenCase openCases[] = {
    {"HighResolution", false, 0, false, true, false},
    {"NoHighResolution", true, 0, false, true, true},
    {"HighResolutionFails", false, 1, false, true, true},
    {"NoTimerAtAll", false, 2, false, false, true},
    {"PeriodRefused", true, 0, true, true, false},
};

class FrameWaitOpen : public FrameWaitTest, public ::testing::WithParamInterface<OpenCase> {};

// Whatever the system offers, a frame lasts 10 ms, and whatever was taken is given back.
TEST_P(FrameWaitOpen, MakesTheBestTimerAndReleasesItAll) {
  const OpenCase &c = GetParam();
  TestSetNoHighResolutionTimer(c.noHighResolution);
  if (c.failedCreations > 0)
    TestFailCall("CreateWaitableTimerExW", 1);
  if (c.failedCreations > 1)
    TestFailCall("CreateWaitableTimerExW", 2);
  if (c.refusePeriod)
    TestFailCall("timeBeginPeriod");
  StartFrameClock();
  OpenFrameWait();
  EXPECT_EQ(FrameWait.timer != nullptr, c.timer);
  EXPECT_EQ(FrameWait.raisedResolution, c.raised);
  EXPECT_EQ(TestCallCount("timeBeginPeriod"),
            c.timer && !c.noHighResolution && !c.failedCreations ? 0 : 1);
  EXPECT_EQ(TestHandlesHeld(), heldAtStart + (c.timer ? 1 : 0));

  for (int i = 0; i < 5; ++i) {
    uint64_t before = TestWaitedMicros();
    uint64_t length = Frame(1000);
    EXPECT_GE(length, 10000u) << i;
    EXPECT_LE(length, 10000u + StepMicros) << i;
    // Asleep for all but the wake margin (2 ms at first) and a few readings, or not at all
    // without a timer.
    uint64_t asleepAtLeast = c.timer ? 9000u - 2000u - 5 * StepMicros : 0u;
    uint64_t asleepAtMost = c.timer ? 9000u : 0u;
    EXPECT_GE(TestWaitedMicros() - before, asleepAtLeast) << i;
    EXPECT_LE(TestWaitedMicros() - before, asleepAtMost) << i;
  }

  CloseFrameWait();
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_EQ(TestCallCount("timeEndPeriod"), c.raised ? 1 : 0);
  EXPECT_EQ(FrameWait.timer, nullptr);
  EXPECT_FALSE(FrameWait.raisedResolution);
}

INSTANTIATE_TEST_SUITE_P(Systems, FrameWaitOpen, ::testing::ValuesIn(openCases),
                         [](const ::testing::TestParamInfo<OpenCase> &info) {
                           return std::string(info.param.name);
                         });

// With punctual wakes the margin narrows to its floor: a frame spins some 50 us of its 10 ms.
TEST_F(FrameWaitTest, PunctualWakesLeaveAlmostTheWholeFrameAsleep) {
  StartFrameClock();
  OpenFrameWait();
  for (int i = 0; i < 300; ++i)
    Frame(300);
  uint64_t before = TestWaitedMicros();
  uint64_t length = Frame(300);
  EXPECT_GE(length, 10000u);
  EXPECT_LE(length, 10000u + StepMicros);
  EXPECT_GE(TestWaitedMicros() - before, 9700u - 100u);
  EXPECT_LT(FrameWait.wakeMarginMillis, 0.1);
}

struct LatenessCase {
  uint64_t latenessMicros;
  uint64_t firstFrameAtMost; // the first frame sleeps all but some 2 ms
  uint64_t laterFramesAtMost;
};

class FrameWaitLateness : public FrameWaitTest,
                          public ::testing::WithParamInterface<LatenessCase> {};

// Late wakes widen the margin, so that after the first two frames every frame ends on time
// again, up to a margin of 4 ms: wakes later than that make frames late rather than spin more of
// them.
TEST_P(FrameWaitLateness, LateWakesWidenTheMarginUpToFourMilliseconds) {
  const LatenessCase &c = GetParam();
  UseStep(10);
  TestSetWaitLatenessMicros(c.latenessMicros);
  StartFrameClock();
  OpenFrameWait();
  EXPECT_LE(Frame(), c.firstFrameAtMost);
  for (int i = 1; i < 200; ++i) {
    uint64_t before = TestWaitedMicros();
    uint64_t length = Frame();
    EXPECT_GE(length, 10000u) << i;
    if (i > 1) {
      EXPECT_LE(length, c.laterFramesAtMost) << i;
    }
    EXPECT_GE(TestWaitedMicros() - before, 6000u) << i; // asleep but for 4 ms at most
  }
  // Lateness gone: the margin shrinks back within a few hundred frames.
  TestSetWaitLatenessMicros(0);
  for (int i = 0; i < 300; ++i)
    Frame();
  EXPECT_LT(FrameWait.wakeMarginMillis, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Lateness, FrameWaitLateness,
                         ::testing::Values(LatenessCase{500, 10010, 10010},
                                           LatenessCase{2600, 10700, 10010},
                                           LatenessCase{8000, 16100, 14150},
                                           LatenessCase{50000, 58100, 56150}),
                         [](const ::testing::TestParamInfo<LatenessCase> &info) {
                           return "Late" + std::to_string(info.param.latenessMicros) + "us";
                         });

// A stray late wake among punctual ones makes its own frame late and leaves the margin narrow:
// the frames after it spin no more than before.
TEST_F(FrameWaitTest, AStrayLateWakeMakesOneFrameLateAndWidensNothing) {
  StartFrameClock();
  OpenFrameWait();
  for (int i = 0; i < 50; ++i)
    Frame(300);
  TestSetWaitLatenessMicros(2000);
  EXPECT_GT(Frame(300), 11000u); // too late for the narrow margin: this one frame ends late
  TestSetWaitLatenessMicros(0);
  EXPECT_LT(FrameWait.wakeMarginMillis, 0.1);
  uint64_t before = TestWaitedMicros();
  for (int i = 0; i < 100; ++i)
    EXPECT_LE(Frame(300), 10000u + StepMicros) << i;
  // Spun: some 0.1 ms a frame.
  uint64_t spun = 100 * 9700 - (TestWaitedMicros() - before);
  EXPECT_LE(spun, 100u * 100);
}

// Late wakes that come back within the history widen the margin and keep it wide between them:
// after the first two, each one ends its frame on time; once they stop, it narrows again.
TEST_F(FrameWaitTest, LateWakesThatRecurKeepEveryLaterFrameOnTime) {
  StartFrameClock();
  OpenFrameWait();
  for (int i = 0; i < 50; ++i)
    Frame(300);
  int late = 0;
  for (int i = 0; i < 100; ++i) {
    TestSetWaitLatenessMicros(i % 6 == 0 ? 1500 : 0);
    if (Frame(300) > 10000u + StepMicros)
      ++late;
  }
  EXPECT_EQ(late, 2); // the first two late wakes; every later one finds the margin wide
  EXPECT_GT(FrameWait.wakeMarginMillis, 2.0); // 1.5 x 1.5 ms + the floor
  TestSetWaitLatenessMicros(0);
  for (int i = 0; i < 20; ++i)
    Frame(300);
  EXPECT_LT(FrameWait.wakeMarginMillis, 0.1);
}

// What is done between the sleep and the spin counts as lateness of the wake: once it has recurred
// the margin holds it, and every frame ends at 10 ms, not that much later.
TEST_F(FrameWaitTest, WorkBetweenTheSleepAndTheSpinComesOutOfTheMargin) {
  StartFrameClock();
  OpenFrameWait();
  for (int i = 0; i < 40; ++i) {
    uint64_t before = TestClockMicros();
    int64_t start;
    ReadFrameClockTicks(&start);
    TestAdvanceClockMicros(1000);
    SleepThroughFrame(start, 10.0);
    TestAdvanceClockMicros(200);
    SpinOutFrame(start, 10.0);
    uint64_t length = TestClockMicros() - before - StepMicros;
    EXPECT_GE(length, 10000u) << i;
    if (i >= 2) { // the second frame's margin has seen it once only
      EXPECT_LE(length, 10000u + StepMicros) << i;
    }
  }
  EXPECT_GE(FrameWait.wakeMarginMillis, 0.2 * 1.5);
  EXPECT_LT(FrameWait.wakeMarginMillis, 0.5);
}

struct ResumeCase {
  const char *name;
  uint64_t workMicros; // the first frame's drawing
  uint64_t gapMicros;  // from the end of its wait to the next frame's start reading
  bool fromLastEnd;    // the next frame counts from the first one's end
};

const ResumeCase resumeCases[] = {
    {"LoopWork", 1000, 60, true},
    {"JustUnderAMillisecond", 1000, 990, true},
    {"AfterAnOverlongFrame", 15000, 60, true},
    {"HeldUp", 1000, 1500, false},
    {"HeldUpLong", 1000, 50000, false},
};

class FrameWaitResume : public FrameWaitTest, public ::testing::WithParamInterface<ResumeCase> {};

// A frame that begins right after the last one's wait counts from that wait's end: the loop's work
// between them comes out of the next frame instead of lengthening each. One that begins later
// counts from its own start, and the frames after a hold-up are not rushed; nor are those after
// an overlong frame, whose end is the real one, not the 10 ms it missed.
TEST_P(FrameWaitResume, ABackToBackFrameCountsFromTheLastOnesEnd) {
  const ResumeCase &c = GetParam();
  StartFrameClock();
  OpenFrameWait();
  Frame(c.workMicros);
  uint64_t lastEnd = TestClockMicros();
  TestAdvanceClockMicros(c.gapMicros);
  uint64_t startReading = TestClockMicros();
  int64_t start;
  ASSERT_TRUE(ReadFrameStartTicks(&start));
  TestAdvanceClockMicros(1000);
  WaitOutFrame(start, 10.0);
  uint64_t expectedEnd = (c.fromLastEnd ? lastEnd : startReading) + 10000;
  EXPECT_GE(TestClockMicros(), expectedEnd);
  EXPECT_LE(TestClockMicros(), expectedEnd + 2 * StepMicros);
}

INSTANTIATE_TEST_SUITE_P(Gaps, FrameWaitResume, ::testing::ValuesIn(resumeCases),
                         [](const ::testing::TestParamInfo<ResumeCase> &info) {
                           return std::string(info.param.name);
                         });

// The first frame, and one after a wait that ended on a failed reading, count from their own start:
// the end of an earlier frame is never taken for theirs.
TEST_F(FrameWaitTest, AFrameWithNoWaitBeforeItCountsFromItsOwnStart) {
  StartFrameClock();
  OpenFrameWait();
  int64_t start, reading;
  ASSERT_TRUE(ReadFrameStartTicks(&start));
  ASSERT_TRUE(ReadFrameClockTicks(&reading));
  EXPECT_NEAR(FrameClockMillisBetween(start, reading), StepMicros / 1000.0, 1e-6);
  Frame(1000);
  // A wait whose first reading fails ends at once, so the last frame's end is still near.
  ASSERT_TRUE(ReadFrameClockTicks(&start));
  TestFailCall("QueryPerformanceCounter", 1);
  WaitOutFrame(start, 10.0);
  ASSERT_TRUE(ReadFrameStartTicks(&start));
  ASSERT_TRUE(ReadFrameClockTicks(&reading));
  EXPECT_NEAR(FrameClockMillisBetween(start, reading), StepMicros / 1000.0, 1e-6);
}

// A frame whose work took the whole 10 ms or more does not wait, and does not sleep: the wait
// reads the clock twice (before the sleep and before the spin), and that is all.
TEST_F(FrameWaitTest, AnOverlongFrameGetsNoWait) {
  StartFrameClock();
  OpenFrameWait();
  uint64_t before = TestWaitedMicros();
  EXPECT_EQ(Frame(10000), 10000u + 2 * StepMicros);
  EXPECT_EQ(Frame(15000), 15000u + 2 * StepMicros);
  EXPECT_EQ(TestWaitedMicros(), before);
}

// A timer that cannot be set or waited on leaves that frame to the spin: it still lasts 10 ms.
TEST_F(FrameWaitTest, AFailingTimerCallSpinsThatFrame) {
  StartFrameClock();
  OpenFrameWait();
  for (const char *call : {"SetWaitableTimer", "WaitForSingleObject"}) {
    TestFailCall(call);
    uint64_t before = TestWaitedMicros();
    uint64_t length = Frame(2000);
    EXPECT_GE(length, 10000u) << call;
    EXPECT_LE(length, 10000u + StepMicros) << call;
    if (std::string(call) == "SetWaitableTimer") {
      EXPECT_EQ(TestWaitedMicros(), before);
    }
    EXPECT_GE(Frame(2000), 10000u) << call; // and the next frame sleeps again
    EXPECT_GT(TestWaitedMicros(), before + 5000) << call;
  }
}

// A counter that stops answering must not hold the game: the wait ends at the first failed
// reading, before the sleep or after it, and the frame's start falls back to the last good one.
TEST_F(FrameWaitTest, AFailedCounterReadingEndsTheWaitInsteadOfHangingIt) {
  StartFrameClock();
  OpenFrameWait();
  Frame();
  int64_t start;
  ASSERT_TRUE(ReadFrameClockTicks(&start));
  int calls = TestCallCount("QueryPerformanceCounter");
  TestFailCall("QueryPerformanceCounter", 1); // the reading before the sleep
  uint64_t before = TestClockMicros();
  WaitOutFrame(start, 10.0);
  EXPECT_LT(TestClockMicros() - before, 100u);
  EXPECT_EQ(TestCallCount("QueryPerformanceCounter"), calls + 1);

  ASSERT_TRUE(ReadFrameClockTicks(&start));
  TestFailCall("QueryPerformanceCounter", 2); // the reading after the sleep
  before = TestClockMicros();
  WaitOutFrame(start, 10.0);
  EXPECT_LT(TestClockMicros() - before, 10000u);

  // Every reading fails from now on: frames pass at once, unpaced but not hung.
  for (int n = 1; n <= 100; ++n)
    TestFailCall("QueryPerformanceCounter", n);
  for (int i = 0; i < 20; ++i) {
    before = TestClockMicros();
    ReadFrameClockTicks(&start);
    WaitOutFrame(start, 10.0);
    EXPECT_EQ(TestClockMicros(), before) << i;
  }
}

} // namespace

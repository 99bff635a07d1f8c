// The frame clock over both of its time sources, driven by the platform's virtual clock: the
// record it keeps, the milliseconds it reports, the spans between two readings at any running
// time, the multimedia timer's wrap and a failing counter.
#include "app/frame_clock.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class FrameClockTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestReset();
    TestUseVirtualClock(5000000); // 5 s into the platform's time, not 0
  }
  void TearDown() override { TestReset(); }
};

struct CounterCase {
  int64_t frequency;
  uint64_t elapsedMicros;
};

class FrameClockCounter : public FrameClockTest,
                          public ::testing::WithParamInterface<CounterCase> {};

TEST_P(FrameClockCounter, CountsWithThePerformanceCounter) {
  const CounterCase &c = GetParam();
  TestSetCounterFrequency(c.frequency);
  LARGE_INTEGER before;
  QueryPerformanceCounter(&before);
  StartFrameClock();

  EXPECT_TRUE(FrameClock.usesCounter);
  EXPECT_EQ(FrameClock.ticksPerSecond, c.frequency);
  EXPECT_EQ(FrameClock.secondsPerTick, static_cast<float>(1.0 / static_cast<double>(c.frequency)));
  EXPECT_EQ(FrameClock.counterStart, before.QuadPart);
  EXPECT_EQ(FrameClock.counterLast, FrameClock.counterStart);
  EXPECT_EQ(FrameClock.timerStart, 0u);
  EXPECT_EQ(FrameClock.timerLast, 0u);

  TestAdvanceClockMicros(c.elapsedMicros);
  double expected = static_cast<double>(c.elapsedMicros) / 1000.0;
  // Exact up to the single-precision secondsPerTick (a relative 6e-8) and the float result.
  EXPECT_NEAR(FrameClockMillis(), expected, expected * 2e-7 + 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, FrameClockCounter,
                         ::testing::Values(CounterCase{10000000, 1000000},
                                           CounterCase{3579545, 1000000},
                                           CounterCase{1000000000, 10000},
                                           CounterCase{2400000000, 123456789},
                                           CounterCase{1000, 10000}));

TEST_F(FrameClockTest, FallsBackToTheMultimediaTimer) {
  TestSetNoPerformanceCounter(true);
  DWORD now = timeGetTime();
  StartFrameClock();

  EXPECT_FALSE(FrameClock.usesCounter);
  EXPECT_EQ(FrameClock.ticksPerSecond, 1000);
  EXPECT_EQ(FrameClock.secondsPerTick, 0.001f);
  EXPECT_EQ(FrameClock.timerStart, now);
  EXPECT_EQ(FrameClock.timerLast, now);
  EXPECT_EQ(FrameClock.counterStart, 0);
  EXPECT_EQ(FrameClock.counterLast, 0);

  // Whole milliseconds: n times 0.001f times 1000 is within a relative 5e-8 of n, and rounding to
  // a float adds at most half a float step (a relative 6e-8). The timer's sub-millisecond part
  // never shows.
  const uint64_t steps[] = {1000, 9000, 990000, 600000000};
  uint64_t elapsed = 0;
  for (uint64_t step : steps) {
    TestAdvanceClockMicros(step);
    elapsed += step;
    double millis = static_cast<double>(elapsed / 1000);
    EXPECT_NEAR(FrameClockMillis(), millis, millis * 1.1e-7) << elapsed;
    TestAdvanceClockMicros(999);
    EXPECT_NEAR(FrameClockMillis(), millis, millis * 1.1e-7) << elapsed;
    TestAdvanceClockMicros(1);
    elapsed += 1000;
  }
}

TEST_F(FrameClockTest, MultimediaTimerWrapKeepsTheElapsedTime) {
  TestSetNoPerformanceCounter(true);
  TestSetTimeGetTime(0xFFFFFFFFu - 4); // 5 ms before the wrap
  StartFrameClock();
  EXPECT_EQ(FrameClock.timerStart, 0xFFFFFFFFu - 4);
  TestAdvanceClockMicros(12000);
  EXPECT_FLOAT_EQ(FrameClockMillis(), 12.0f);
  TestAdvanceClockMicros(3000000000ull); // far past the wrap
  EXPECT_NEAR(FrameClockMillis(), 3000012.0f, 1.0f);
}

TEST_F(FrameClockTest, FailingFrequencyQueryFallsBackToo) {
  TestFailCall("QueryPerformanceFrequency");
  StartFrameClock();
  EXPECT_FALSE(FrameClock.usesCounter);
  EXPECT_EQ(FrameClock.ticksPerSecond, 1000);
  TestAdvanceClockMicros(25000);
  EXPECT_FLOAT_EQ(FrameClockMillis(), 25.0f);
}

TEST_F(FrameClockTest, ZeroRecordReadsZeroAndRestartCountsFromTheNewMoment) {
  FrameClock = FrameClockRecord{};
  TestAdvanceClockMicros(7000000);
  EXPECT_EQ(FrameClockMillis(), 0.0f);

  StartFrameClock();
  TestAdvanceClockMicros(40000);
  EXPECT_NEAR(FrameClockMillis(), 40.0f, 1e-3);
  StartFrameClock();
  TestAdvanceClockMicros(5000);
  EXPECT_NEAR(FrameClockMillis(), 5.0f, 1e-3);
}

TEST_F(FrameClockTest, StartZeroesTheOtherSourcesFields) {
  std::memset(&FrameClock, 0xAB, sizeof FrameClock);
  StartFrameClock();
  ASSERT_TRUE(FrameClock.usesCounter);
  EXPECT_EQ(FrameClock.timerStart, 0u);
  EXPECT_EQ(FrameClock.timerLast, 0u);

  std::memset(&FrameClock, 0xAB, sizeof FrameClock);
  TestSetNoPerformanceCounter(true);
  StartFrameClock();
  ASSERT_FALSE(FrameClock.usesCounter);
  EXPECT_EQ(FrameClock.counterStart, 0);
  EXPECT_EQ(FrameClock.counterLast, 0);
}

struct SpanCase {
  const char *name;
  bool counter;
  uint64_t hours;     // after the clock's start
  bool nearTimerWrap; // the span ends past the multimedia timer's wrap
};

const SpanCase spanCases[] = {
    {"Counter0h", true, 0, false},         {"Counter10h", true, 10, false},
    {"Counter100h", true, 100, false},     {"Counter1000h", true, 1000, false},
    {"Counter10000h", true, 10000, false}, {"Timer0h", false, 0, false},
    {"Timer10h", false, 10, false},        {"Timer100h", false, 100, false},
    {"Timer1000h", false, 1000, false},    {"Timer10000h", false, 10000, false},
    {"TimerWrap", false, 0, true},         {"Timer10000hWrap", false, 10000, true},
};

class FrameClockSpan : public FrameClockTest, public ::testing::WithParamInterface<SpanCase> {};

// Two readings 10 ms apart are 10 ms apart however long the clock has run, while the float
// milliseconds since the start have long lost that precision.
TEST_P(FrameClockSpan, TenMillisecondsAreTenAtAnyRunningTime) {
  const SpanCase &c = GetParam();
  TestSetNoPerformanceCounter(!c.counter);
  StartFrameClock();
  ASSERT_EQ(FrameClock.usesCounter, c.counter);
  TestAdvanceClockMicros(c.hours * 3600 * 1000000);
  if (c.nearTimerWrap)
    TestSetTimeGetTime(0xFFFFFFFFu - 3); // 4 ms before the wrap
  int64_t from, to;
  ASSERT_TRUE(ReadFrameClockTicks(&from));
  TestAdvanceClockMicros(10000);
  ASSERT_TRUE(ReadFrameClockTicks(&to));
  EXPECT_EQ(FrameClockMillisBetween(from, to), 10.0);
  TestAdvanceClockMicros(2500);
  ASSERT_TRUE(ReadFrameClockTicks(&to));
  // The timer counts whole milliseconds.
  EXPECT_EQ(FrameClockMillisBetween(from, to), c.counter ? 12.5 : 12.0);
}

INSTANTIATE_TEST_SUITE_P(RunningTimes, FrameClockSpan, ::testing::ValuesIn(spanCases),
                         [](const ::testing::TestParamInfo<SpanCase> &info) {
                           return std::string(info.param.name);
                         });

// A counter that fails at the start is not used; one that fails later stands still at its last
// good reading, for the ticks and for the milliseconds alike.
TEST_F(FrameClockTest, AFailedCounterReadingKeepsTheLastGoodOne) {
  TestFailCall("QueryPerformanceCounter");
  StartFrameClock();
  EXPECT_FALSE(FrameClock.usesCounter);
  EXPECT_EQ(FrameClock.ticksPerSecond, 1000);
  EXPECT_EQ(FrameClock.counterStart, 0);

  StartFrameClock();
  ASSERT_TRUE(FrameClock.usesCounter);
  TestAdvanceClockMicros(30000);
  int64_t good;
  ASSERT_TRUE(ReadFrameClockTicks(&good));
  EXPECT_EQ(FrameClock.counterLast, good);
  TestAdvanceClockMicros(5000);
  TestFailCall("QueryPerformanceCounter", 1);
  TestFailCall("QueryPerformanceCounter", 2);
  int64_t ticks = -1;
  EXPECT_FALSE(ReadFrameClockTicks(&ticks));
  EXPECT_EQ(ticks, good);
  EXPECT_NEAR(FrameClockMillis(), 30.0f, 1e-3);
  EXPECT_NEAR(FrameClockMillis(), 35.0f, 1e-3);
  EXPECT_TRUE(ReadFrameClockTicks(&ticks));
  EXPECT_EQ(FrameClockMillisBetween(good, ticks), 5.0);
}

} // namespace

// The time sources of the native platform: the performance counter, timeGetTime and its wrap,
// on the real clock and on the test controls' virtual clock; waitable timers and the timer
// resolution requests, which wait on either clock.
#include "platform/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#if __has_include(<sys/prctl.h>)
#include <sys/prctl.h>
#endif

namespace {

class Clock : public ::testing::Test {
protected:
  void SetUp() override { TestReset(); }
  void TearDown() override { TestReset(); }
};

TEST_F(Clock, TheRealCounterIsMonotonicAndKeepsTime) {
  LARGE_INTEGER frequency, previous, now;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  ASSERT_GT(frequency.QuadPart, 0);
  ASSERT_TRUE(QueryPerformanceCounter(&previous));
  LARGE_INTEGER start = previous;
  DWORD startMillis = timeGetTime();
  for (int i = 0; i < 100000; ++i) {
    ASSERT_TRUE(QueryPerformanceCounter(&now));
    ASSERT_GE(now.QuadPart, previous.QuadPart) << "reading " << i;
    previous = now;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  QueryPerformanceCounter(&now);
  double counted = static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
  DWORD millis = timeGetTime() - startMillis;
  EXPECT_GE(counted, 0.050);
  EXPECT_LT(counted, 2.0);
  EXPECT_GE(millis, 49u);
  EXPECT_LT(millis, 2000u);
}

TEST_F(Clock, TheVirtualClockStepsAtEveryReading) {
  TestUseVirtualClock(1000000, 250);
  TestSetCounterFrequency(1000000);
  LARGE_INTEGER frequency, first, second;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 1000000);
  ASSERT_TRUE(QueryPerformanceCounter(&first));
  ASSERT_TRUE(QueryPerformanceCounter(&second));
  EXPECT_EQ(first.QuadPart, 1000250);
  EXPECT_EQ(second.QuadPart - first.QuadPart, 250);
  TestAdvanceClockMicros(1000000);
  EXPECT_EQ(timeGetTime(), 2000u) << "2 000 750 us: 1 s + 1 s + 3 steps of 250 us";
}

TEST_F(Clock, TimeGetTimeWrapsModulo2To32) {
  TestUseVirtualClock(0, 0);
  TestSetTimeGetTime(0xFFFFFFF0u);
  DWORD before = timeGetTime();
  EXPECT_EQ(before, 0xFFFFFFF0u);
  TestAdvanceClockMicros(0x20 * 1000);
  DWORD after = timeGetTime();
  EXPECT_EQ(after, 0x10u);
  EXPECT_EQ(after - before, 0x20u) << "the unsigned difference still counts the time";
}

TEST_F(Clock, WithoutACounterTheFrequencyCallFailsAndTimeGetTimeGoesOn) {
  TestUseVirtualClock(5000000, 0);
  TestSetNoPerformanceCounter(true);
  LARGE_INTEGER frequency;
  frequency.QuadPart = 99;
  EXPECT_FALSE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 0);
  EXPECT_EQ(timeGetTime(), 5000u);
  TestAdvanceClockMicros(1500);
  EXPECT_EQ(timeGetTime(), 5001u) << "whole milliseconds";
}

struct CounterCase {
  int64_t frequency;
  uint64_t micros;
  int64_t counts;
};

TEST_F(Clock, TheVirtualCounterConvertsExactlyAtAnyFrequency) {
  const CounterCase cases[] = {
      {10000000, 123456789, 1234567890},
      {3579545, 1000000000000ull, 3579545000000ll},     // the ACPI timer, after 11.6 days
      {1000, 1500, 1},                                  // counts are whole: 1.5 ms is 1 count
      {2400000000ll, 36000000000ull, 86400000000000ll}, // 2.4 GHz after 10 hours: no overflow
  };
  for (const CounterCase &c : cases) {
    TestUseVirtualClock(c.micros, 0);
    TestSetCounterFrequency(c.frequency);
    LARGE_INTEGER count;
    ASSERT_TRUE(QueryPerformanceCounter(&count));
    EXPECT_EQ(count.QuadPart, c.counts) << c.frequency << " Hz at " << c.micros << " us";
  }
}

TEST_F(Clock, TestResetBringsTheRealClockBack) {
  TestUseVirtualClock(0, 0);
  TestSetCounterFrequency(1234);
  TestSetNoPerformanceCounter(true);
  TestReset();
  LARGE_INTEGER frequency, first, second;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_NE(frequency.QuadPart, 1234);
  QueryPerformanceCounter(&first);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  QueryPerformanceCounter(&second);
  EXPECT_GT(second.QuadPart, first.QuadPart) << "the real counter moves on its own";
}

// A timer set 2.5 ms ahead ends a wait no earlier than that on the real clock, and resets.
TEST_F(Clock, ARealTimerWaitEndsAtItsDueTime) {
  for (DWORD flags : {static_cast<DWORD>(CREATE_WAITABLE_TIMER_HIGH_RESOLUTION), 0u}) {
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, flags, TIMER_ALL_ACCESS);
    ASSERT_NE(timer, nullptr);
    LARGE_INTEGER due;
    due.QuadPart = -25000; // 2.5 ms, relative
    auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::microseconds(2500));
    // Reset by the wait: a bounded wait now times out after its time.
    before = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(timer, 2), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(2));
    EXPECT_TRUE(CloseHandle(timer));
  }
}

#ifdef PR_SET_TIMERSLACK
// Linux ends a sleep up to the thread's timer slack late (50 us unless asked otherwise), which
// the frame's wait would spin out: a timer's sleep asks for none.
TEST_F(Clock, ARealTimerWaitSleepsWithoutTimerSlack) {
  ASSERT_EQ(prctl(PR_SET_TIMERSLACK, 50000UL, 0UL, 0UL, 0UL), 0);
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
  ASSERT_NE(timer, nullptr);
  LARGE_INTEGER due;
  due.QuadPart = -10000; // 1 ms, relative
  ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL), 1);
  EXPECT_TRUE(CloseHandle(timer));
}
#endif

// On the virtual clock a wait moves the clock on to the due time (rounded up to a microsecond),
// plus the lateness asked for, and counts that as waited.
TEST_F(Clock, AVirtualTimerWaitMovesTheVirtualClockOn) {
  TestUseVirtualClock(7000000, 3);
  int held = TestHandlesHeld();
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(TestHandlesHeld(), held + 1);
  LARGE_INTEGER due;
  due.QuadPart = -12345; // 1234.5 us
  ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(TestClockMicros(), 7000000u); // setting it reads no time
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(TestClockMicros(), 7001235u);
  EXPECT_EQ(TestWaitedMicros(), 1235u);

  TestSetWaitLatenessMicros(400);
  ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(TestClockMicros(), 7001235u + 1235u + 400u);
  // A due time already past: the wait ends at once, late by the lateness alone.
  due.QuadPart = 0;
  ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(TestClockMicros(), 7002870u + 400u);
  // Not set: a bounded wait times out after its milliseconds; an endless one fails at once.
  EXPECT_EQ(WaitForSingleObject(timer, 5), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(TestClockMicros(), 7003270u + 5000u + 400u);
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_FAILED);

  EXPECT_TRUE(CloseHandle(timer));
  EXPECT_EQ(TestHandlesHeld(), held);
  EXPECT_FALSE(CloseHandle(timer));
  EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_FAILED);
}

// What the layer refuses: what it does not provide, the high-resolution flag where the controls
// act as an older Windows, and armed failures.
TEST_F(Clock, TimerCallsRefuseWhatTheyDoNotProvide) {
  TestUseVirtualClock();
  EXPECT_EQ(CreateWaitableTimerExW(nullptr, u"named", 0, TIMER_ALL_ACCESS), nullptr);
  EXPECT_EQ(CreateWaitableTimerExW(nullptr, nullptr, 0x1 /* manual reset */, TIMER_ALL_ACCESS),
            nullptr);
  TestSetNoHighResolutionTimer(true);
  EXPECT_EQ(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                   TIMER_ALL_ACCESS),
            nullptr);
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  ASSERT_NE(timer, nullptr);
  LARGE_INTEGER due;
  due.QuadPart = 10000; // absolute times are not provided
  EXPECT_FALSE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  due.QuadPart = -10000;
  EXPECT_FALSE(SetWaitableTimer(timer, &due, 5, nullptr, nullptr, FALSE)); // nor periods
  EXPECT_FALSE(SetWaitableTimer(nullptr, &due, 0, nullptr, nullptr, FALSE));
  TestFailCall("SetWaitableTimer");
  EXPECT_FALSE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  TestFailCall("WaitForSingleObject");
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_FAILED);
  EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
  TestFailCall("CreateWaitableTimerExW");
  EXPECT_EQ(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS), nullptr);
  EXPECT_TRUE(CloseHandle(timer));

  EXPECT_EQ(timeBeginPeriod(0), static_cast<MMRESULT>(TIMERR_NOCANDO));
  EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
  EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
  TestFailCall("timeBeginPeriod");
  EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO));
  EXPECT_EQ(TestCallCount("timeBeginPeriod"), 3);
}

} // namespace

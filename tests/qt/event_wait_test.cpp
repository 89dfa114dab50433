#include <sys/resource.h>

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <thread>

#include "qt_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds ProcessCpuTime() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto micro = [](timeval t) { return std::chrono::microseconds(t.tv_sec * 1000000 + t.tv_usec); };
  return std::chrono::duration_cast<std::chrono::milliseconds>(micro(usage.ru_utime) +
                                                               micro(usage.ru_stime));
}

using EventWaitTest = QtToolkitTest;

TEST_F(EventWaitTest, TimeOutReturnsZeroAfterSleepingNotSpinning) {
  TakeEvents();
  const auto cpuBefore = ProcessCpuTime();
  const auto start = Clock::now();
  int kind = -1;
  // A system event that queues nothing ends a wait with -1; the time-out ends it with 0.
  while (kind == -1) kind = NextEvent(300);
  const auto waited = Clock::now() - start;
  EXPECT_EQ(kind, 0);
  EXPECT_GE(waited, std::chrono::milliseconds(290));
  EXPECT_LT(ProcessCpuTime() - cpuBefore, std::chrono::milliseconds(100));
}

TEST_F(EventWaitTest, WakeFromAnotherThreadEndsABlockedWait) {
  TakeEvents();
  std::thread waker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    InstalledNativeToolkit()->Wake();
  });
  const auto start = Clock::now();
  const std::int32_t kind = NextEvent();
  waker.join();
  EXPECT_EQ(kind, -1);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(90));
}

TEST_F(EventWaitTest, EventPostedDuringTheWaitIsReturned) {
  QTimer::singleShot(50, [] { QueueEvent(0x10003, -65535, -65535, -65535, PostCustom); });
  std::int32_t kind = -1;
  while (kind == -1) kind = NextEvent(5000);
  EXPECT_EQ(kind, 0x10003);
}

TEST_F(EventWaitTest, QtQuitBecomesTheQuitMenuEvent) {
  TakeEvents();
  QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{MenuEvent, -4, ApplicationMenuWindow, 0}}));
}

struct TimerCount {
  int fired = 0;
  std::int64_t timer = 0;
};

void CountFiring(std::int64_t timer, void* context) {
  auto* count = static_cast<TimerCount*>(context);
  count->timer = timer;
  ++count->fired;
}

TEST_F(EventWaitTest, TimersFireInsideTheWaitUntilRemoved) {
  TimerCount count;
  const std::int64_t timer = AddTimer(10, CountFiring, &count);
  ASSERT_NE(timer, 0);
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (count.fired < 3 && Clock::now() < deadline) NextEvent(100);
  EXPECT_GE(count.fired, 3);
  EXPECT_EQ(count.timer, timer);

  RemoveTimer(timer);
  const int fired = count.fired;
  while (NextEvent(60) != 0) {
  }
  EXPECT_EQ(count.fired, fired);
}

void FireOnceThenStop(std::int64_t timer, void* context) {
  CountFiring(timer, context);
  RemoveTimer(timer);
  QueueEvent(0x10050, 0, 0, 0, PostCustom);
}

TEST_F(EventWaitTest, ATimerMayRemoveItselfFromItsOwnCallback) {
  TimerCount count;
  AddTimer(5, FireOnceThenStop, &count);
  std::int32_t kind = -1;
  while (kind == -1) kind = NextEvent(5000);
  EXPECT_EQ(kind, 0x10050);
  while (NextEvent(40) != 0) {
  }
  EXPECT_EQ(count.fired, 1);
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"

namespace {

class EventQueueTest : public ::testing::Test {
 protected:
  headless::Platform platform;

  // Reads every queued event without waiting for the desktop.
  std::vector<std::int32_t> Drain() {
    std::vector<std::int32_t> kinds;
    for (;;) {
      const std::int32_t kind = NextEvent(0);
      if (kind <= 0) return kinds;
      kinds.push_back(kind);
    }
  }
};

TEST_F(EventQueueTest, DeliversFirstInFirstOutWithAllFields) {
  QueueEvent(GadgetEvent, 12, 1, SubtypeChange, 0);
  QueueEvent(MenuEvent, 5, 0, 0, 0);
  QueueEvent(0x10003, -65535, -65535, -65535, PostCustom);

  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(EventNumber(), 12);
  EXPECT_EQ(EventWindowNumber(), 1);
  EXPECT_EQ(EventSubtype(), SubtypeChange);
  ASSERT_EQ(NextEvent(0), MenuEvent);
  EXPECT_EQ(EventNumber(), 5);
  ASSERT_EQ(NextEvent(0), 0x10003);
  EXPECT_EQ(EventWindowNumber(), -65535);
  EXPECT_EQ(NextEvent(0), 0) << "an empty queue times out";
}

TEST_F(EventQueueTest, CoalescesIdenticalToolkitEventsAgainstTheTailOnly) {
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);  // same as the tail: dropped
  QueueEvent(MenuEvent, 1, 0, 0, 0);
  QueueEvent(MenuEvent, 1, 0, 0, 0);                // dropped
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);  // tail differs: kept
  QueueEvent(GadgetEvent, 12, 1, SubtypeChange, 0); // type differs: kept
  QueueEvent(GadgetEvent, 12, 1, SubtypeChange, PostNoCoalesce);  // flag 2: kept
  EXPECT_EQ(Drain(), (std::vector<std::int32_t>{GadgetEvent, MenuEvent, GadgetEvent, GadgetEvent,
                                                GadgetEvent}));
}

TEST_F(EventQueueTest, NeverCoalescesApplicationKinds) {
  QueueEvent(0x10001, -65535, -65535, -65535, 0);
  QueueEvent(0x10001, -65535, -65535, -65535, 0);
  EXPECT_EQ(Drain(), (std::vector<std::int32_t>{0x10001, 0x10001}));
}

// A desktop whose windows post events of their own while they are being created.
class ChattyWindowToolkit final : public headless::Toolkit {
 public:
  NativeHandle CreateWindow(std::int64_t number, const WindowSpec& spec) override {
    QueueEvent(GadgetEvent, 30, number, SubtypeChange, 0);
    QueueEvent(GadgetEvent, 31, number, SubtypeChange, PostWhileSuspended);
    QueueEvent(0x10002, -65535, -65535, -65535, PostCustom);
    return headless::Toolkit::CreateWindow(number, spec);
  }
};

TEST_F(EventQueueTest, SuspensionWhileAWindowOpensDropsOnlyUnflaggedRecords) {
  ChattyWindowToolkit chatty;
  InstallNativeToolkit(&chatty);
  NewWindow(8, 0, 0, 10, 10, "", 0);
  std::vector<std::int64_t> objects;
  while (NextEvent(0) > 0) objects.push_back(EventNumber());
  EXPECT_EQ(objects, (std::vector<std::int64_t>{31, -65535}));

  QueueEvent(GadgetEvent, 30, 8, SubtypeChange, 0);
  EXPECT_EQ(NextEvent(0), GadgetEvent) << "posting resumes once the window is open";
  InstallNativeToolkit(nullptr);
  InstallNativeToolkit(&platform.toolkit);
}

int releasedCount = 0;
void CountRelease(void* data) {
  ++releasedCount;
  delete static_cast<int*>(data);
}

TEST_F(EventQueueTest, ReleasesDataWhenTheNextEventIsRead) {
  releasedCount = 0;
  QueueEvent(0x10010, 0, 0, 0, PostCustom, new int(42), CountRelease);
  QueueEvent(0x10011, 0, 0, 0, PostCustom);
  ASSERT_EQ(NextEvent(0), 0x10010);
  EXPECT_EQ(*static_cast<int*>(EventData()), 42);
  EXPECT_EQ(releasedCount, 0) << "the payload stays valid while its event is current";
  ASSERT_EQ(NextEvent(0), 0x10011);
  EXPECT_EQ(releasedCount, 1);
  EXPECT_EQ(EventData(), nullptr);
}

TEST_F(EventQueueTest, ReleasesDataOfRecordsThatAreNeverQueued) {
  releasedCount = 0;
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(1), CountRelease);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(2), CountRelease);  // coalesced
  EXPECT_EQ(releasedCount, 1);
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  NextEvent(0);
  EXPECT_EQ(releasedCount, 2);
}

TEST_F(EventQueueTest, WakesTheWaitByKindAndFlag) {
  const int before = platform.toolkit.WakeCount();
  QueueEvent(MenuEvent, 1, 0, 0, 0);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 1) << "menu events always wake";
  QueueEvent(4, 0, 0, 0, PostWake);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 1) << "kind 4 never wakes";

  platform.toolkit.PushSystemEvent([] {});  // a system event is pending: it ends the wait
  QueueEvent(GadgetEvent, 2, 1, 0, 0);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 1);
  QueueEvent(0x10001, -65535, -65535, -65535, PostCustom);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 2) << "flag 4 wakes regardless";
  platform.toolkit.HandlePendingEvents();
  QueueEvent(GadgetEvent, 9, 1, 0, 0);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 3) << "nothing pending: any kind wakes";
}

TEST_F(EventQueueTest, ReadingAnEmptyQueueHandsOneSystemEventToTheDesktop) {
  int handled = 0;
  platform.toolkit.PushSystemEvent([&handled] { ++handled; });
  platform.toolkit.PushSystemEvent([&handled] { ++handled; });
  EXPECT_EQ(NextEvent(), -1) << "a system event that queues nothing";
  EXPECT_EQ(handled, 1);
  platform.toolkit.PushSystemEvent([] { QueueEvent(MenuEvent, 9, 0, 0, 0); });
  EXPECT_EQ(NextEvent(), -1);
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(NextEvent(), MenuEvent);
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "platform/command_numbers.h"
#include "platform/event_queue.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"

namespace {

using Kinds = std::vector<std::int32_t>;

class EventQueueTest : public ::testing::Test {
 protected:
  // The kinds of every queued event, read without waiting for the desktop.
  static Kinds Drain() {
    Kinds kinds;
    for (std::int32_t kind; (kind = NextEvent(0)) > 0;) kinds.push_back(kind);
    return kinds;
  }

  headless::Platform platform;
};

TEST_F(EventQueueTest, DeliversFirstInFirstOutWithAllFields) {
  QueueEvent(GadgetEvent, 12, 1, SubtypeChange, 0);
  QueueEvent(HotkeyEvent3, -65535, -65534, -65533, PostCustom);
  using Record = std::vector<std::int64_t>;
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ((Record{EventNumber(), EventWindowNumber(), EventSubtype()}), (Record{12, 1, 768}));
  ASSERT_EQ(NextEvent(0), HotkeyEvent3);
  EXPECT_EQ((Record{EventNumber(), EventWindowNumber(), EventSubtype()}),
            (Record{-65535, -65534, -65533}));
  EXPECT_EQ(NextEvent(0), 0) << "an empty queue times out";
}

TEST_F(EventQueueTest, CoalescesIdenticalToolkitEventsAgainstTheTailOnly) {
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);  // as the tail: dropped
  QueueEvent(MenuEvent, 1, 0, 0, 0);
  QueueEvent(MenuEvent, 1, 0, 0, 0);                 // dropped
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);   // the tail differs: kept
  QueueEvent(GadgetEvent, 12, 1, SubtypeChange, 0);  // the type differs: kept
  QueueEvent(GadgetEvent, 13, 1, SubtypeChange, 0);  // the object differs: kept
  QueueEvent(GadgetEvent, 13, 2, SubtypeChange, 0);  // the window differs: kept
  QueueEvent(GadgetEvent, 13, 2, SubtypeChange, PostNoCoalesce);
  QueueEvent(HotkeyEvent1, -65535, -65535, -65535, 0);  // application kinds never coalesce
  QueueEvent(HotkeyEvent1, -65535, -65535, -65535, 0);
  EXPECT_EQ(Drain(), (Kinds{GadgetEvent, MenuEvent, GadgetEvent, GadgetEvent, GadgetEvent,
                            GadgetEvent, GadgetEvent, HotkeyEvent1, HotkeyEvent1}));
}

// A desktop whose windows post events of their own while they are being created.
class ChattyWindowToolkit final : public headless::Toolkit {
 public:
  NativeHandle CreateWindow(std::int64_t number, const WindowSpec& spec) override {
    QueueEvent(GadgetEvent, 30, number, SubtypeChange, 0);
    QueueEvent(GadgetEvent, 31, number, SubtypeChange, PostWhileSuspended);
    QueueEvent(HotkeyEvent2, -65535, -65535, -65535, PostCustom);
    return headless::Toolkit::CreateWindow(number, spec);
  }
};

TEST_F(EventQueueTest, WhileAWindowOpensOnlyFlaggedRecordsAreQueued) {
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

int released = 0;
void CountRelease(void* data) {
  ++released;
  delete static_cast<int*>(data);
}

TEST_F(EventQueueTest, DataLivesWhileItsEventIsCurrentAndDroppedRecordsReleaseTheirs) {
  released = 0;
  QueueEvent(0x10010, 0, 0, 0, PostCustom, new int(42), CountRelease);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(1), CountRelease);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(2), CountRelease);  // coalesced
  EXPECT_EQ(released, 1);
  ASSERT_EQ(NextEvent(0), 0x10010);
  EXPECT_EQ(*static_cast<int*>(EventData()), 42);
  EXPECT_EQ(released, 1);
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(released, 2);
  NextEvent(0);
  EXPECT_EQ(released, 3);
  EXPECT_EQ(EventData(), nullptr);

  NewWindow(1, 0, 0, 10, 10, "", 0);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(3), CountRelease);
  DestroyWindow(1);
  EXPECT_EQ(released, 4) << "a destroyed window's events release their data";
}

TEST_F(EventQueueTest, WakesTheWaitByKindAndFlag) {
  const int before = platform.toolkit.WakeCount();
  QueueEvent(MenuEvent, 1, 0, 0, 0);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 1) << "menu events always wake";
  QueueEvent(QuietEvent, 0, 0, 0, PostWake);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 1) << "the quiet kind never wakes";

  platform.toolkit.PushSystemEvent([] {});  // a pending system event ends the wait anyway
  QueueEvent(GadgetEvent, 2, 1, 0, 0);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 1);
  QueueEvent(HotkeyEvent1, -65535, -65535, -65535, PostCustom);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 2) << "the wake flag wakes regardless";
  platform.toolkit.HandlePendingEvents();
  QueueEvent(GadgetEvent, 9, 1, 0, 0);
  EXPECT_EQ(platform.toolkit.WakeCount(), before + 3) << "nothing pending: any kind wakes";
}

TEST_F(EventQueueTest, ReadingAnEmptyQueueHandsOneSystemEventToTheDesktop) {
  platform.toolkit.PushSystemEvent([] {});
  platform.toolkit.PushSystemEvent([] { QueueEvent(MenuEvent, 9, 0, 0, 0); });
  EXPECT_EQ(NextEvent(), -1) << "a system event that queued nothing";
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 1u);
  EXPECT_EQ(NextEvent(), MenuEvent);
}

}  // namespace

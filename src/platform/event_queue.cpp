#include "platform/event_queue.h"

#include <algorithm>

namespace {

bool SameEvent(const EventRecord& a, const EventRecord& b) {
  return a.Event == b.Event && a.Object == b.Object && a.Window == b.Window && a.Type == b.Type;
}

void ReleaseData(EventRecord& record) {
  if (record.DataRelease != nullptr && record.Data != nullptr) record.DataRelease(record.Data);
  record.Data = nullptr;
  record.DataRelease = nullptr;
}

}  // namespace

bool EventQueue::Post(const EventRecord& record) {
  EventRecord copy = record;
  if (Suspended() && (record.Flags & PostWhileSuspended) == 0) {
    ReleaseData(copy);
    return false;
  }
  if (record.Event < FirstCustomEvent && (record.Flags & PostNoCoalesce) == 0 &&
      !records_.empty() && SameEvent(records_.back(), record)) {
    ReleaseData(copy);
    return false;
  }
  records_.push_back(copy);
  return true;
}

EventRecord EventQueue::TakeHead() {
  EventRecord head = records_.front();
  records_.pop_front();
  return head;
}

void EventQueue::RemoveWindowEvents(std::int64_t window) {
  auto concerns = [window](EventRecord& r) {
    if (r.Window != window || r.Event >= FirstCustomEvent) return false;
    ReleaseData(r);
    return true;
  };
  records_.erase(std::remove_if(records_.begin(), records_.end(), concerns), records_.end());
}

void EventQueue::Clear() {
  for (EventRecord& r : records_) ReleaseData(r);
  records_.clear();
}

bool PostingWakes(const EventRecord& record, bool systemEventPending) {
  if (record.Event == QuietEvent) return false;
  if (record.Event == MenuEvent || (record.Flags & PostWake) != 0) return true;
  return !systemEventPending;
}

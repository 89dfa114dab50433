#pragma once

#include <cstdint>
#include <deque>

#include "platform/event_record.h"

// The one first-in-first-out queue of the program. Posting appends, reading takes the head;
// identical toolkit records posted back to back collapse into one, application kinds never do.
class EventQueue {
 public:
  // Returns whether the record was appended (false: dropped while suspended, or coalesced).
  bool Post(const EventRecord& record);
  bool Empty() const { return records_.empty(); }
  EventRecord TakeHead();
  void RemoveWindowEvents(std::int64_t window);
  void Clear();

  void Suspend() { ++suspended_; }
  void Resume() { --suspended_; }
  bool Suspended() const { return suspended_ > 0; }

 private:
  std::deque<EventRecord> records_;
  int suspended_ = 0;
};

// A kind the queue carries that never ends a blocked wait by itself.
inline constexpr std::int32_t QuietEvent = 4;

// Whether posting `record` must end a blocked wait for system events at once.
bool PostingWakes(const EventRecord& record, bool systemEventPending);

#pragma once

// A Qt toolkit installed for one test, and the events it queued.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <ostream>
#include <vector>

#include "platform/command_numbers.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/toolkit.h"

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

struct QueuedEvent {
  std::int32_t kind = 0;
  std::int64_t object = 0, window = 0, type = 0;
  bool operator==(const QueuedEvent&) const = default;
};
using Events = std::vector<QueuedEvent>;

inline void PrintTo(const QueuedEvent& e, std::ostream* out) {
  *out << "{" << e.kind << ", " << e.object << ", " << e.window << ", " << e.type << "}";
}

class QtToolkitTest : public ::testing::Test {
 protected:
  QtToolkitTest() { InstallNativeToolkit(&toolkit); }
  ~QtToolkitTest() override { InstallNativeToolkit(nullptr); }

  // Every event queued so far, handling what the desktop has pending without waiting.
  static Events TakeEvents() {
    Events events;
    for (int turn = 0; turn < 1000; ++turn) {
      const std::int32_t kind = NextEvent(0);
      if (kind == 0) break;
      if (kind > 0) events.push_back({kind, EventNumber(), EventWindowNumber(), EventSubtype()});
    }
    return events;
  }
  static QWidget* Widget(std::int64_t gadget) {
    return static_cast<QWidget*>(GadgetHandle(gadget));
  }
  static QWidget* WindowWidget(std::int64_t window) {
    return static_cast<QWidget*>(WindowObject(window));
  }

  QtToolkit toolkit;
};

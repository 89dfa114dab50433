#pragma once

// A Qt toolkit installed for one test, and the events it queued.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <vector>

#include "platform/command_numbers.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/toolkit.h"

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

// Each event as {kind, object, window, type}.
using Events = std::vector<std::vector<std::int64_t>>;

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

#pragma once

// The desktop session as start-up sees it: an X11 display, a Wayland one or none, the tray-only
// presence, the watch on the light/dark appearance, and the capture tool for the session.

#include <QObject>

#include "platform/host.h"

class QtHost final : public QObject, public Host {
 public:
  // `desktop` is false when no Qt application could be made (no display).
  explicit QtHost(bool desktop) : desktop_(desktop) {}
  ~QtHost() override;

  bool Supported() override;
  std::string Requirement() override;
  void BecomeAccessory() override;
  void ObserveAppearance(bool on) override;
  std::string CaptureToolName() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool desktop_;
  bool observing_ = false;
  bool dark_ = false;
};

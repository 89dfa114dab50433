#pragma once

// The whole headless desktop, installed for the life of the object.

#include <string>
#include <vector>

#include "platform/headless/headless_hotkeys.h"
#include "platform/headless/headless_requesters.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/host.h"
#include "platform/notifications.h"

namespace headless {

class Host final : public ::Host {
 public:
  explicit Host(Toolkit& toolkit) : toolkit_(toolkit) {}
  void SetSupported(bool supported) { supported_ = supported; }
  bool IsAccessory() const { return accessory_; }

  bool Supported() override { return supported_; }
  std::string Requirement() override { return "Sorry, this program needs an X11 desktop session."; }
  void BecomeAccessory() override { accessory_ = true; }
  void ObserveAppearance(bool on) override { toolkit_.SetAppearanceObserved(on); }

 private:
  Toolkit& toolkit_;
  bool supported_ = true;
  bool accessory_ = false;
};

// Notifications as a person would have seen them, in order.
class Notifications final : public Notifier {
 public:
  void Notify(const Notification& notification) override { shown.push_back(notification); }
  std::vector<Notification> shown;
};

class Platform {
 public:
  Platform();
  ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  Toolkit toolkit;
  Requesters requesters;
  Hotkeys hotkeys{toolkit};
  Host host{toolkit};
  Notifications notifications;
};

}  // namespace headless

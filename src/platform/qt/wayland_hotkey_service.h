#pragma once

// System-wide hot keys on Wayland, through the desktop's GlobalShortcuts portal: the program's
// keys are bound together in one portal session, in a fresh session whenever they change, and
// the portal's Activated signal reports a press. Where the portal offers no GlobalShortcuts, no
// key can be had and Offered() says so.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/hotkey_service.h"

class WaylandHotkeyService final : public QObject, public HotkeyService {
  Q_OBJECT

 public:
  WaylandHotkeyService();
  ~WaylandHotkeyService() override;

  bool InstallHandler(HotkeyPressedFunction handler) override;
  using HotkeyService::RegisterKey;
  bool RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey,
                   std::string_view purpose) override;
  bool UnregisterKey(HotkeyId hotkey) override;
  bool Offered() const override { return offered_; }

 private slots:
  void OnActivated(const QDBusMessage& signal);
  void OnResponse(uint response, const QVariantMap& results);

 private:
  struct Key {
    HotkeyId hotkey;
    QString id;
    QString description;
    QString trigger;
  };
  enum class Step { Idle, Creating, Binding };

  void ScheduleBinding();
  void Bind();
  void CloseSession();
  // Calls a portal method whose answer comes as the Response signal of a request object.
  void Request(const QString& method, QVariantList arguments, QVariantMap options);
  void Settle(const char* problem);

  QDBusConnection bus_;
  bool offered_ = false;
  HotkeyPressedFunction handler_ = nullptr;
  std::vector<Key> keys_;
  // The session the keys are bound in; empty while none is.
  QString session_;
  Step step_ = Step::Idle;
  bool scheduled_ = false;
  // The keys changed while a binding was on its way: it is done again once that one settles.
  bool again_ = false;
  QString request_;
  int tokens_ = 0;
};

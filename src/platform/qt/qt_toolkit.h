#pragma once

// The toolkit on Qt Widgets: windows are Qt tool windows, gadgets are widgets, menus QMenus,
// the status item a QSystemTrayIcon; every key press is offered to the core first.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <QFont>
#include <QIcon>
#include <QObject>
#include <QPixmap>

#include "platform/native_toolkit.h"

class QMenu;
class QSystemTrayIcon;
class StatusNotifierWait;
class QTimer;
class QWidget;

class QtToolkit final : public QObject, public NativeToolkit {
 public:
  QtToolkit();
  ~QtToolkit() override;

  NativeHandle CreateWindow(std::int64_t number, const WindowSpec& spec) override;
  void DestroyWindow(NativeHandle window) override;
  void SetWindowFloating(NativeHandle window, bool on) override;
  Rect WindowContentRect(NativeHandle window) override;
  void SetWindowContentRect(NativeHandle window, const Rect& rect) override;
  void SetWindowTitle(NativeHandle window, std::string_view title) override;
  std::string WindowTitle(NativeHandle window) override;
  void SetWindowBackground(NativeHandle window, std::int64_t rgb, int cornerRadius) override;
  void SetWindowOpacity(NativeHandle window, double opacity) override;
  void ActivateWindow(NativeHandle window) override;
  std::int64_t ActiveWindow() override;
  std::int64_t FocusedGadget() override;
  void FocusGadget(NativeHandle gadget) override;

  NativeHandle CreateGadget(NativeHandle window, std::int64_t number,
                            const GadgetSpec& spec) override;
  void FreeGadget(NativeHandle gadget) override;
  void SetGadgetState(NativeHandle gadget, std::int64_t state) override;
  std::int64_t GadgetState(NativeHandle gadget) override;
  void SetGadgetText(NativeHandle gadget, std::string_view text) override;
  std::string GadgetText(NativeHandle gadget) override;
  void AddGadgetItem(NativeHandle gadget, int position, std::string_view text,
                     NativeHandle image) override;
  void SetGadgetItemText(NativeHandle gadget, int item, std::string_view text) override;
  std::string GadgetItemText(NativeHandle gadget, int item) override;
  int CountGadgetItems(NativeHandle gadget) override;
  void DisableGadget(NativeHandle gadget, bool disabled) override;
  void SetGadgetToolTip(NativeHandle gadget, std::string_view text) override;
  void SetGadgetPlaceholder(NativeHandle gadget, std::string_view text) override;
  void SetGadgetFont(NativeHandle gadget, NativeHandle font) override;
  void SetGadgetColor(NativeHandle gadget, int colorType, std::int64_t rgb) override;

  NativeHandle CreateFont(std::string_view family, double size) override;
  void ReleaseFont(NativeHandle font) override;
  NativeHandle LoadImage(std::string_view path) override;
  NativeHandle LoadThemeIcon(std::string_view name) override;
  int ImageWidth(NativeHandle image) override;
  int ImageHeight(NativeHandle image) override;
  void ResizeImage(NativeHandle image, int width, int height) override;
  void SetImageSize(NativeHandle image, double width, double height) override;
  void ReleaseImage(NativeHandle image) override;

  NativeHandle CreateMenu(std::int64_t number) override;
  void AddMenuItem(NativeHandle menu, std::int64_t item, std::string_view text,
                   NativeHandle image) override;
  void AddMenuSeparator(NativeHandle menu) override;
  NativeHandle AddSubMenu(NativeHandle menu, std::string_view text, NativeHandle image) override;
  void SetMenuItemDisabled(NativeHandle menu, std::int64_t item, bool disabled) override;
  void SetMenuItemTitle(NativeHandle menu, std::int64_t item, std::string_view text) override;
  void FreeMenu(NativeHandle menu) override;

  bool CreateStatusItem() override;
  void SetStatusItemImage(NativeHandle image) override;
  void SetStatusItemMenu(NativeHandle menu) override;
  void RemoveStatusItem() override;
  // The status item's icon, for those who look at it (tests, the tray).
  QSystemTrayIcon* StatusItem() const { return statusItem_.get(); }

  std::vector<DisplayRect> Displays() override;
  Point PointerLocation() override;
  double MainDisplayScale() override;

  void StartTimer(std::int64_t timer, int intervalMs) override;
  void StopTimer(std::int64_t timer) override;

  bool IsDarkAppearance() override;

  bool ProcessSystemEvent(int timeoutMs) override;
  bool SystemEventPending() override { return handling_; }
  void Wake() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool FilterKeyEvent(QEvent* event);
  void MakeStatusItem();

  std::vector<std::unique_ptr<QFont>> fonts_;
  std::vector<std::unique_ptr<QPixmap>> images_;
  std::vector<std::unique_ptr<QMenu>> menus_;
  std::map<std::int64_t, std::unique_ptr<QTimer>> timers_;
  std::unique_ptr<QSystemTrayIcon> statusItem_;
  // Until the tray is there (Wayland), the item waits here with the image and menu it will get.
  std::unique_ptr<StatusNotifierWait> statusWait_;
  QIcon statusIcon_;
  QMenu* statusMenu_ = nullptr;
  // Inside a wait the event being handled ends it anyway: posting need not wake it.
  bool handling_ = false;
  // Qt hands one key press over several times: first as a shortcut override, then as the
  // press itself, each passed up the parent chain. The core sees it once; the answer is kept.
  struct OfferedKey {
    const QEvent* event = nullptr;
    bool consumed = false;
  } offered_;
  struct OverrideAnswer {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    bool consumed = false;
    bool valid = false;
  } override_;
};

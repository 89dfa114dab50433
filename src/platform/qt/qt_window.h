#pragma once

// A toolkit window: a top-level tool window (no task-bar entry) whose close button only reports.

#include <cstdint>

#include <QColor>
#include <QWidget>

class ToolkitWindow final : public QWidget {
 public:
  ToolkitWindow(std::int64_t number, std::uint32_t flags);
  std::int64_t Number() const { return number_; }
  // Restores the window flags that the style flags ask for, plus on-top when floating.
  void ApplyFlags(bool floating);
  // Fills the window with `color` and cuts its corners round. The cut is a window shape, so it
  // holds also where no compositor blends windows.
  void SetPlate(const QColor& color, int cornerRadius);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShapeCorners();

  std::int64_t number_;
  std::uint32_t flags_;
  int cornerRadius_ = 0;
  bool watchingScreen_ = false;
};

// The toolkit numbers carried by gadget widgets; -1 for a widget that is not a gadget.
void MarkGadget(QWidget* widget, std::int64_t number, std::int64_t window);
std::int64_t GadgetNumberOf(const QWidget* widget);
std::int64_t GadgetWindowOf(const QWidget* widget);

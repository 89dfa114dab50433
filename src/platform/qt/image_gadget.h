#pragma once

// An image gadget: a label showing a picture that reports clicks.

#include <cstdint>

#include <QLabel>

class ImageGadget final : public QLabel {
 public:
  ImageGadget(std::int64_t number, std::int64_t window, QWidget* parent);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::int64_t number_;
  std::int64_t window_;
};

#include "platform/qt/image_gadget.h"

#include <QMouseEvent>

#include "platform/native_toolkit.h"

ImageGadget::ImageGadget(std::int64_t number, std::int64_t window, QWidget* parent)
    : QLabel(parent), number_(number), window_(window) {}

void ImageGadget::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (rect().contains(event->position().toPoint())) {
    PostToolkitEvent(GadgetEvent, number_, window_, SubtypeClick);
  }
}

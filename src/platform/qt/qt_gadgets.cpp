#include "platform/qt/qt_toolkit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/image_gadget.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window.h"

namespace {

QWidget* AsWidget(NativeHandle handle) {
  return static_cast<QWidget*>(handle);
}

void Post(std::int64_t gadget, std::int64_t window, std::int64_t type) {
  PostToolkitEvent(GadgetEvent, gadget, window, type);
}

QComboBox* NewPopUp(std::int64_t number, std::int64_t window, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  // activated also reports choosing the item that is already selected.
  QObject::connect(combo, &QComboBox::activated,
                   [number, window](int) { Post(number, window, SubtypeChange); });
  return combo;
}

QComboBox* NewEditCombo(std::int64_t number, std::int64_t window, QWidget* parent) {
  QComboBox* combo = NewPopUp(number, window, parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  QLineEdit* edit = combo->lineEdit();
  QObject::connect(edit, &QLineEdit::textEdited,
                   [number, window](const QString&) { Post(number, window, SubtypeChange); });
  QObject::connect(edit, &QLineEdit::editingFinished,
                   [number, window] { Post(number, window, SubtypeEditEnd); });
  QObject::connect(
      qApp, &QApplication::focusChanged, combo,
      [combo, number, window](QWidget* old, QWidget* now) {
        const bool inside = now != nullptr && (now == combo || combo->isAncestorOf(now));
        const bool wasInside = old != nullptr && (old == combo || combo->isAncestorOf(old));
        if (inside && !wasInside) Post(number, window, SubtypeFocus);
      });
  return combo;
}

QLineEdit* NewShortcutField(const std::string& text, QWidget* parent) {
  auto* field = new QLineEdit(QtText(text), parent);
  // The field records key presses (through the key hooks) and takes no typed or pasted text.
  field->setAlignment(Qt::AlignCenter);
  field->setAttribute(Qt::WA_InputMethodEnabled, false);
  field->setContextMenuPolicy(Qt::NoContextMenu);
  field->setAcceptDrops(false);
  return field;
}

QWidget* NewGadgetWidget(std::int64_t number, std::int64_t window, const GadgetSpec& spec,
                         QWidget* parent) {
  switch (spec.kind) {
    case GadgetKind::Text: {
      auto* label = new QLabel(QtText(spec.text), parent);
      if ((spec.flags & TextCentred) != 0) label->setAlignment(Qt::AlignCenter);
      return label;
    }
    case GadgetKind::Button: {
      auto* button = new QPushButton(QtText(spec.text), parent);
      QObject::connect(button, &QPushButton::clicked,
                       [number, window] { Post(number, window, SubtypeClick); });
      return button;
    }
    case GadgetKind::Checkbox: {
      auto* box = new QCheckBox(QtText(spec.text), parent);
      // clicked comes after the box has toggled, so the state read in the handler is new.
      QObject::connect(box, &QCheckBox::clicked,
                       [number, window] { Post(number, window, SubtypeClick); });
      return box;
    }
    case GadgetKind::PopUp: return NewPopUp(number, window, parent);
    case GadgetKind::EditCombo: return NewEditCombo(number, window, parent);
    case GadgetKind::Image: {
      auto* image = new ImageGadget(number, window, parent);
      if (spec.image != nullptr) image->setPixmap(*static_cast<QPixmap*>(spec.image));
      image->setAlignment(Qt::AlignCenter);
      return image;
    }
    case GadgetKind::Shortcut: return NewShortcutField(spec.text, parent);
  }
  return nullptr;
}

}  // namespace

NativeHandle QtToolkit::CreateGadget(NativeHandle window, std::int64_t number,
                                     const GadgetSpec& spec) {
  auto* parent = static_cast<ToolkitWindow*>(window);
  QWidget* widget = NewGadgetWidget(number, parent->Number(), spec, parent);
  if (widget == nullptr) return nullptr;
  MarkGadget(widget, number, parent->Number());
  if (spec.font != nullptr) widget->setFont(*static_cast<QFont*>(spec.font));
  widget->setGeometry(spec.x, spec.y, spec.width, spec.height);
  widget->show();
  return widget;
}

void QtToolkit::FreeGadget(NativeHandle gadget) {
  delete AsWidget(gadget);
}

void QtToolkit::SetGadgetState(NativeHandle gadget, std::int64_t state) {
  QWidget* widget = AsWidget(gadget);
  if (auto* box = qobject_cast<QCheckBox*>(widget)) {
    box->setChecked(state != 0);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (state >= 0 && state < combo->count()) combo->setCurrentIndex(static_cast<int>(state));
  }
}

std::int64_t QtToolkit::GadgetState(NativeHandle gadget) {
  QWidget* widget = AsWidget(gadget);
  if (auto* box = qobject_cast<QCheckBox*>(widget)) return box->isChecked() ? 1 : 0;
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentIndex();
  return 0;
}

void QtToolkit::SetGadgetText(NativeHandle gadget, std::string_view text) {
  QWidget* widget = AsWidget(gadget);
  const QString qtext = QtText(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(qtext);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(qtext);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->setCurrentText(qtext);
  } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
    field->setText(qtext);
  }
}

std::string QtToolkit::GadgetText(NativeHandle gadget) {
  QWidget* widget = AsWidget(gadget);
  if (auto* label = qobject_cast<QLabel*>(widget)) return StdText(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return StdText(button->text());
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return StdText(combo->currentText());
  if (auto* field = qobject_cast<QLineEdit*>(widget)) return StdText(field->text());
  return {};
}

void QtToolkit::AddGadgetItem(NativeHandle gadget, int position, std::string_view text,
                              NativeHandle image) {
  auto* combo = qobject_cast<QComboBox*>(AsWidget(gadget));
  if (combo == nullptr) return;
  const int at = position < 0 || position > combo->count() ? combo->count() : position;
  const QIcon icon = image == nullptr ? QIcon() : QIcon(*static_cast<QPixmap*>(image));
  combo->insertItem(at, icon, QtText(text));
}

void QtToolkit::SetGadgetItemText(NativeHandle gadget, int item, std::string_view text) {
  auto* combo = qobject_cast<QComboBox*>(AsWidget(gadget));
  if (combo != nullptr && item >= 0 && item < combo->count()) {
    combo->setItemText(item, QtText(text));
  }
}

std::string QtToolkit::GadgetItemText(NativeHandle gadget, int item) {
  auto* combo = qobject_cast<QComboBox*>(AsWidget(gadget));
  if (combo == nullptr || item < 0 || item >= combo->count()) return {};
  return StdText(combo->itemText(item));
}

int QtToolkit::CountGadgetItems(NativeHandle gadget) {
  auto* combo = qobject_cast<QComboBox*>(AsWidget(gadget));
  return combo == nullptr ? 0 : combo->count();
}

void QtToolkit::DisableGadget(NativeHandle gadget, bool disabled) {
  AsWidget(gadget)->setEnabled(!disabled);
}

void QtToolkit::SetGadgetToolTip(NativeHandle gadget, std::string_view text) {
  AsWidget(gadget)->setToolTip(QtText(text));
}

void QtToolkit::SetGadgetPlaceholder(NativeHandle gadget, std::string_view text) {
  QWidget* widget = AsWidget(gadget);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) widget = combo->lineEdit();
  if (auto* field = qobject_cast<QLineEdit*>(widget)) field->setPlaceholderText(QtText(text));
}

void QtToolkit::SetGadgetFont(NativeHandle gadget, NativeHandle font) {
  AsWidget(gadget)->setFont(font == nullptr ? QFont() : *static_cast<QFont*>(font));
}

void QtToolkit::SetGadgetColor(NativeHandle gadget, int colorType, std::int64_t rgb) {
  QWidget* widget = AsWidget(gadget);
  if (colorType != ColorFront) return;
  if (rgb < 0) {
    widget->setPalette(QPalette());
    return;
  }
  // The value holds red in its low byte: 0xBBGGRR.
  const QColor color(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                     static_cast<int>((rgb >> 16) & 0xFF));
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(role, color);
  }
  widget->setPalette(palette);
}

#include "platform/qt/qt_toolkit.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "platform/menu_item_text.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr const char* ItemNumberProperty = "toolkitItem";

QMenu* AsMenu(NativeHandle handle) {
  return static_cast<QMenu*>(handle);
}

QIcon IconOf(NativeHandle image) {
  return image == nullptr ? QIcon() : QIcon(*static_cast<QPixmap*>(image));
}

// The key equivalent as Qt shows it: Command is the Super key, Control the Ctrl key.
QKeySequence SequenceOf(const MenuItemText& text) {
  if (text.keyEquivalent.size() != 1) return {};
  const char16_t c = text.keyEquivalent[0];
  int key = 0;
  if (c >= CharacterF1 && c < CharacterF1 + 12) {
    key = Qt::Key_F1 + (c - CharacterF1);
  } else {
    key = QChar(c).toUpper().unicode();
  }
  Qt::KeyboardModifiers modifiers;
  if (text.modifierMask & ModifierShift) modifiers |= Qt::ShiftModifier;
  if (text.modifierMask & ModifierControl) modifiers |= Qt::ControlModifier;
  if (text.modifierMask & ModifierOption) modifiers |= Qt::AltModifier;
  if (text.modifierMask & ModifierCommand) modifiers |= Qt::MetaModifier;
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

void ApplyText(QAction* action, std::string_view text) {
  const MenuItemText parsed = ReadMenuItemText(text);
  // "&" never marks a mnemonic here; the reader already removed every one.
  action->setText(QtText(parsed.title));
  action->setShortcut(SequenceOf(parsed));
}

QAction* FindItem(QMenu* menu, std::int64_t item) {
  for (QAction* action : menu->actions()) {
    if (QMenu* sub = action->menu()) {
      if (QAction* found = FindItem(sub, item)) return found;
      continue;
    }
    const QVariant number = action->property(ItemNumberProperty);
    if (number.isValid() && number.value<qint64>() == item) return action;
  }
  return nullptr;
}

}  // namespace

NativeHandle QtToolkit::CreateMenu(std::int64_t) {
  menus_.push_back(std::make_unique<QMenu>());
  return menus_.back().get();
}

void QtToolkit::AddMenuItem(NativeHandle menu, std::int64_t item, std::string_view text,
                            NativeHandle image) {
  auto* action = new QAction(IconOf(image), QString(), AsMenu(menu));
  ApplyText(action, text);
  action->setProperty(ItemNumberProperty, QVariant::fromValue<qint64>(item));
  // The hint is shown; the key itself acts only while the menu is open.
  action->setShortcutContext(Qt::WidgetShortcut);
  action->setShortcutVisibleInContextMenu(true);
  QObject::connect(action, &QAction::triggered,
                   [item] { PostToolkitEvent(MenuEvent, item, 0, 0); });
  AsMenu(menu)->addAction(action);
}

void QtToolkit::AddMenuSeparator(NativeHandle menu) {
  AsMenu(menu)->addSeparator();
}

NativeHandle QtToolkit::AddSubMenu(NativeHandle menu, std::string_view text, NativeHandle image) {
  QMenu* sub = AsMenu(menu)->addMenu(IconOf(image), QtText(ReadMenuItemText(text).title));
  return sub;
}

void QtToolkit::SetMenuItemDisabled(NativeHandle menu, std::int64_t item, bool disabled) {
  if (QAction* action = FindItem(AsMenu(menu), item)) action->setEnabled(!disabled);
}

void QtToolkit::SetMenuItemTitle(NativeHandle menu, std::int64_t item, std::string_view text) {
  if (QAction* action = FindItem(AsMenu(menu), item)) ApplyText(action, text);
}

void QtToolkit::FreeMenu(NativeHandle menu) {
  if (statusMenu_ == menu) SetStatusItemMenu(nullptr);
  std::erase_if(menus_, [menu](const auto& m) { return m.get() == menu; });
}

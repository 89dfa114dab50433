// Looks at the status items of the session's tray over D-Bus as a tray host would:
//   tray_probe items                 the registered items, one "service/path" a line
//   tray_probe menu ITEM             the item's menu: "id <TAB> label <TAB> enabled" a line,
//                                    submenu rows indented by two spaces a level
//   tray_probe click ITEM LABEL      sends "clicked" to the menu row with that label
//   tray_probe context ITEM          asks the item for its context menu, at the top right
// Exit status 0 done, 1 not found, 2 wrong words.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString Menu = QStringLiteral("com.canonical.dbusmenu");

struct Row {
  int id = 0;
  QVariantMap properties;
  QList<Row> children;
};

QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
  call.setArguments(arguments);
  return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

QVariant Property(const QString& service, const QString& path, const QString& interface,
                  const QString& name) {
  const QDBusMessage reply = Call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                  QStringLiteral("Get"), {interface, name});
  return reply.arguments().value(0).value<QDBusVariant>().variant();
}

// (ia{sv}av), the children as variants that hold the same structure.
Row ReadRow(const QDBusArgument& argument) {
  Row row;
  argument.beginStructure();
  argument >> row.id >> row.properties;
  argument.beginArray();
  while (!argument.atEnd()) {
    QDBusVariant child;
    argument >> child;
    row.children.push_back(ReadRow(child.variant().value<QDBusArgument>()));
  }
  argument.endArray();
  argument.endStructure();
  return row;
}

std::optional<std::pair<QString, QString>> MenuOf(const QString& item) {
  const qsizetype slash = item.indexOf(QLatin1Char('/'));
  const QString service = slash < 0 ? item : item.left(slash);
  const QString path = slash < 0 ? QStringLiteral("/StatusNotifierItem") : item.mid(slash);
  const QVariant menu =
      Property(service, path, QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Menu"));
  if (!menu.isValid()) return std::nullopt;
  return std::make_pair(service, menu.value<QDBusObjectPath>().path());
}

std::optional<Row> Layout(const QString& service, const QString& path) {
  const QDBusMessage reply =
      Call(service, path, Menu, QStringLiteral("GetLayout"), {0, -1, QStringList()});
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  return ReadRow(reply.arguments().value(1).value<QDBusArgument>());
}

void Print(const Row& row, int depth) {
  for (const Row& child : row.children) {
    if (child.properties.value(QStringLiteral("type")).toString() == QStringLiteral("separator")) {
      continue;
    }
    const bool enabled = child.properties.value(QStringLiteral("enabled"), true).toBool();
    std::printf("%*s%d\t%s\t%s\n", depth * 2, "", child.id,
                qPrintable(child.properties.value(QStringLiteral("label")).toString()),
                enabled ? "enabled" : "disabled");
    Print(child, depth + 1);
  }
}

std::optional<int> Find(const Row& row, const QString& label) {
  for (const Row& child : row.children) {
    if (child.properties.value(QStringLiteral("label")).toString() == label) return child.id;
    if (const std::optional<int> found = Find(child, label)) return found;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QStringList words = application.arguments().mid(1);
  const QString verb = words.value(0);
  if (verb == QStringLiteral("items") && words.size() == 1) {
    const QStringList items = Property(Watcher, QStringLiteral("/StatusNotifierWatcher"), Watcher,
                                       QStringLiteral("RegisteredStatusNotifierItems"))
                                  .toStringList();
    for (const QString& item : items) std::printf("%s\n", qPrintable(item));
    return items.isEmpty() ? 1 : 0;
  }
  if (words.size() < 2) return 2;
  if (verb == QStringLiteral("context") && words.size() == 2) {
    const QString item = words[1];
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    const QDBusMessage reply =
        Call(item.left(slash), item.mid(slash), QStringLiteral("org.kde.StatusNotifierItem"),
             QStringLiteral("ContextMenu"), {1270, 10});
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : 1;
  }
  const auto menu = MenuOf(words[1]);
  if (!menu) return 1;
  const std::optional<Row> layout = Layout(menu->first, menu->second);
  if (!layout) return 1;
  if (verb == QStringLiteral("menu") && words.size() == 2) {
    Print(*layout, 0);
    return 0;
  }
  if (verb == QStringLiteral("click") && words.size() == 3) {
    const std::optional<int> id = Find(*layout, words[2]);
    if (!id) return 1;
    const QDBusMessage reply =
        Call(menu->first, menu->second, Menu, QStringLiteral("Event"),
             {*id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : 1;
  }
  return 2;
}

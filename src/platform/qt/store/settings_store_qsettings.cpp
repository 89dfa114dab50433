#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

#include "platform/files.h"
#include "platform/user_defaults.h"

// QSettings writes its INI file through a temporary file that replaces the old one by rename,
// so a write that is interrupted leaves the previous file intact.

namespace {

std::unique_ptr<QSettings> store;

QString KeyName(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// QSettings guards each write with a lock file beside the settings. A writer killed between
// creating that file and naming itself in it leaves it empty, and every later write would wait
// half a minute for it to age. Only one instance of the program writes, so it is abandoned.
void ClearAbandonedLock() {
  QLockFile lock(store->fileName() + QStringLiteral(".lock"));
  qint64 pid = 0;
  QString host;
  QString application;
  if (!lock.getLockInfo(&pid, &host, &application)) lock.removeStaleLockFile();
}

void WritePending() {
  if (!store) return;
  ClearAbandonedLock();
  store->sync();
}

}  // namespace

std::string UserDefaultsFilePath() {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "vantorshot/VantorShot.ini";
}

void OpenUserDefaults() {
  CloseUserDefaults();
  const std::string path = UserDefaultsFilePath();
  if (path.empty()) return;
  store = std::make_unique<QSettings>(QFile::decodeName(path.c_str()), QSettings::IniFormat);
}

void CloseUserDefaults() {
  WritePending();
  store.reset();
}

std::int64_t UserDefaultsInteger(std::string_view key) {
  if (!store) return 0;
  bool whole = false;
  const qlonglong value = store->value(KeyName(key)).toLongLong(&whole);
  return whole ? value : 0;
}

std::optional<std::string> UserDefaultsString(std::string_view key) {
  if (!store) return std::nullopt;
  const QVariant value = store->value(KeyName(key));
  // The file holds every value as text; numbers appear typed only while a write is pending.
  // Lists, byte arrays and encoded variants are not texts.
  switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::LongLong: return value.toString().toStdString();
    default: return std::nullopt;
  }
}

void SetUserDefaultsInteger(std::string_view key, std::int64_t value) {
  if (store) store->setValue(KeyName(key), QVariant::fromValue<qlonglong>(value));
}

void SetUserDefaultsString(std::string_view key, std::string_view value) {
  if (store) {
    store->setValue(KeyName(key),
                    QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
  }
}

void SynchronizeUserDefaults() {
  WritePending();
}

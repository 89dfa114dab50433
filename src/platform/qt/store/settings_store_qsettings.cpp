#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QString>
#include <QSysInfo>
#include <QTimer>
#include <QVariant>

#include <map>
#include <memory>

#include "platform/files.h"
#include "platform/user_defaults.h"

// QSettings writes its INI file through a temporary file that replaces the old one by rename,
// so a write that is interrupted leaves the previous file intact. Where the file's name is a
// link, the new file replaces the link's target and the link stays.

namespace {

// A store that writes only when asked. QSettings would otherwise write on its own from the
// event loop, and wait there for as long as another holds the file's lock.
class Store final : public QSettings {
 public:
  using QSettings::QSettings;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::UpdateRequest) return true;
    return QSettings::event(event);
  }
};

std::unique_ptr<Store> store;
// Changes not yet written; they read before the file's values. Kept out of the store until
// the file is fit to write, since QSettings writes what it holds when it is destroyed.
std::map<QString, QVariant> pending;
// Whether the store's file was found unfit and said so since the store opened.
bool refusalTold = false;
// Writes again a moment after another writer held the file; only where an event loop runs it.
std::unique_ptr<QTimer> retry;
constexpr int RetryMs = 200;

QString KeyName(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// Whether the process that wrote a lock can still hold it: a process of that number and name
// runs on this machine. A lock from a killed writer, from before the machine was renamed, or
// from a number since taken by another program is abandoned.
bool HolderLives(qint64 pid, const QString& host, const QString& application) {
  if (host != QSysInfo::machineHostName() || pid <= 0) return false;
  if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  const QString running = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
  return application.isEmpty() || running.isEmpty() || QFileInfo(running).fileName() == application;
}

// True when the file's lock is free now, after clearing one whose holder is gone; false while
// a live writer holds it.
bool LockFree(const QString& file) {
  QLockFile lock(file + QStringLiteral(".lock"));
  if (lock.tryLock(0)) return true;
  // A lock that cannot even be made (no folder yet, no right to write) holds no one back:
  // writing makes the folder or fails on its own.
  if (lock.error() != QLockFile::LockFailedError) return true;
  qint64 pid = 0;
  QString host;
  QString application;
  if (lock.getLockInfo(&pid, &host, &application) && HolderLives(pid, host, application)) {
    return false;
  }
  lock.removeStaleLockFile();
  return lock.tryLock(0);
}

// A line QSettings would drop when it rewrites the file: neither empty, a section nor a key.
bool ForeignLine(const QByteArray& line) {
  const QByteArray text = line.trimmed();
  if (text.isEmpty()) return false;
  if (text.startsWith('[')) return !text.endsWith(']');
  return text.startsWith(';') || text.startsWith('#') || !text.contains('=');
}

// Why the file at path must not be rewritten, or nullptr when it may be.
// A rewrite replaces the file with a new one of ours: a file of another user would change hands
// and its lines would be lost, a dangling link would create a file wherever it points, and
// lines that are not settings would be dropped.
const char* Unfit(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0) return nullptr;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "it is a link to nothing";
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if (info.st_uid != geteuid()) {
    return S_ISLNK(link.st_mode) ? "it is a link to a file of another user"
                                 : "it belongs to another user";
  }
  QFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  while (!file.atEnd()) {
    if (ForeignLine(file.readLine())) return "it holds lines that are not settings";
  }
  return nullptr;
}

// False, saying why once a store, when the file is unfit to write now.
bool FitToUse(const std::string& path) {
  const char* why = Unfit(path);
  if (why == nullptr) return true;
  if (!refusalTold)
    std::fprintf(stderr, "vantorshot: settings are not saved in %s: %s\n", path.c_str(), why);
  refusalTold = true;
  return false;
}

void WritePending() {
  if (!store) return;
  if (!pending.empty() && !FitToUse(QFile::encodeName(store->fileName()).toStdString())) return;
  if (!LockFree(store->fileName())) {
    if (QCoreApplication::instance() != nullptr && !retry->isActive()) retry->start();
    return;
  }
  for (const auto& [name, value] : pending) store->setValue(name, value);
  pending.clear();
  store->sync();
}

QVariant Lookup(std::string_view key) {
  const QString name = KeyName(key);
  const auto found = pending.find(name);
  return found != pending.end() ? found->second : store->value(name);
}

}  // namespace

std::string UserDefaultsFilePath() {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "vantorshot/VantorShot.ini";
}

bool OpenUserDefaults() {
  CloseUserDefaults();
  const std::string path = UserDefaultsFilePath();
  if (path.empty()) return true;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
  refusalTold = false;
  // Reading takes the lock too: one left behind by a writer that is gone must not hold it up.
  const QString file = QFile::decodeName(path.c_str());
  LockFree(file);
  store = std::make_unique<Store>(file, QSettings::IniFormat);
  retry = std::make_unique<QTimer>();
  retry->setSingleShot(true);
  retry->setInterval(RetryMs);
  QObject::connect(retry.get(), &QTimer::timeout, [] { WritePending(); });
  return true;
}

void CloseUserDefaults() {
  WritePending();
  retry.reset();
  store.reset();
  pending.clear();
}

std::int64_t UserDefaultsInteger(std::string_view key) {
  if (!store) return 0;
  bool whole = false;
  const qlonglong value = Lookup(key).toLongLong(&whole);
  return whole ? value : 0;
}

std::optional<std::string> UserDefaultsString(std::string_view key) {
  if (!store) return std::nullopt;
  const QVariant value = Lookup(key);
  // The file holds every value as text; numbers appear typed only while a write is pending.
  // Lists, byte arrays and encoded variants are not texts.
  switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::LongLong: return value.toString().toStdString();
    default: return std::nullopt;
  }
}

void SetUserDefaultsInteger(std::string_view key, std::int64_t value) {
  if (store) pending[KeyName(key)] = QVariant::fromValue<qlonglong>(value);
}

void SetUserDefaultsString(std::string_view key, std::string_view value) {
  if (store) {
    pending[KeyName(key)] = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
  }
}

void SynchronizeUserDefaults() {
  WritePending();
}

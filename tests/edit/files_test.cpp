#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "command_line.h"
#include "picture_export.h"
#include "replace_file.h"

namespace {

QImage noisyPicture() {
  QImage image(97, 61, QImage::Format_RGB32);
  // Smooth where JPEG is good, with a little noise that any lossless format must keep exactly.
  QRandomGenerator random(7);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      image.setPixel(x, y, qRgb(x * 2, y * 4, (x + y + random.bounded(4)) % 256));
    }
  }
  QPainter(&image).fillRect(10, 10, 40, 30, QColor(0, 90, 200));
  return image;
}

double meanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(EditFiles, SaveRoundTripsInEveryFormat) {
  struct Row {
    const char* name;
    double tolerance;  // mean difference per channel
  };
  const Row rows[] = {{"a.png", 0}, {"a.bmp", 0}, {"a.tiff", 0}, {"a.jpg", 4}, {"a.pdf", 0}};
  QTemporaryDir dir;
  const QImage picture = noisyPicture();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QString path = dir.filePath(row.name);
    ASSERT_EQ(savePicture(picture, path, *formatForPath(path)), "");
    QString readable = path;
    if (path.endsWith(".pdf")) {
      // The page holds the picture as one lossless image; take it out as it is.
      ASSERT_EQ(QProcess::execute("pdfimages", {"-png", path, dir.filePath("page")}), 0);
      readable = dir.filePath("page-000.png");
    }
    QImage back(readable);
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_LE(meanDifference(back, picture), row.tolerance);
  }
}

TEST(EditFiles, SaveReplacesTheFileAndKeepsItsPermissions) {
  QTemporaryDir dir;
  QString path = dir.filePath("shot.png");
  ASSERT_EQ(replaceFile(path.toStdString(), "old"), "");
  ::chmod(path.toLocal8Bit(), 0640);
  ASSERT_EQ(savePicture(noisyPicture(), path, ImageFormat::Png), "");
  EXPECT_EQ(QImage(path).size(), noisyPicture().size());
  struct stat info {};
  ASSERT_EQ(::stat(path.toLocal8Bit(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"shot.png"});
  EXPECT_NE(replaceFile(dir.path().toStdString(), "x"), "");
}

TEST(EditFiles, AKilledSaveLeavesTheOriginalIntact) {
  QTemporaryDir dir;
  QString path = dir.filePath("shot.png");
  const std::string original = "the unchanged original";
  ASSERT_EQ(replaceFile(path.toStdString(), original), "");
  pid_t child = ::fork();
  if (child == 0) {
    // The file size limit kills the saving process (SIGXFSZ) in the middle of its writing.
    struct rlimit fileSize {
      64 * 1024, 64 * 1024
    }, core{0, 0};
    ::setrlimit(RLIMIT_CORE, &core);
    ::setrlimit(RLIMIT_FSIZE, &fileSize);
    replaceFile(path.toStdString(), std::string(1 << 20, 'n'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_EQ(readAll(path).toStdString(), original);
}

TEST(EditWords, CommandLine) {
  struct Row {
    QStringList words;
    bool pin, clipboard;
    QString file;
    bool complains;
  };
  const Row rows[] = {
      {{"a.png"}, false, false, "a.png", false},
      {{"--pin", "a.png"}, true, false, "a.png", false},
      {{"--clipboard"}, false, true, "", false},
      {{"--pin", "--clipboard"}, true, true, "", false},
      {{"--", "--odd.png"}, false, false, "--odd.png", false},
      {{}, false, false, "", true},
      {{"a.png", "b.png"}, false, false, "a.png", true},
      {{"--clipboard", "a.png"}, false, true, "a.png", true},
      {{"--frobnicate", "a.png"}, false, false, "a.png", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.words.join(' ').toStdString());
    EditRequest request = parseEditWords(row.words);
    EXPECT_EQ(request.problem.isEmpty(), !row.complains);
    if (row.complains) continue;
    EXPECT_EQ(request.pin, row.pin);
    EXPECT_EQ(request.fromClipboard, row.clipboard);
    EXPECT_EQ(request.file, row.file);
  }
}

}  // namespace

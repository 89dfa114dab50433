#include "picture_reading.h"

#include <QImageReader>

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

#ifdef __linux__
struct Mapping {
  void* start;
  std::size_t length;
};

void unmap(void* mapping) {
  auto* pages = static_cast<Mapping*>(mapping);
  munmap(pages->start, pages->length);
  delete pages;
}
#endif

// Room for a picture of `size` in `format`, in memory the kernel may back with huge pages: a 4K
// picture is otherwise 8,100 fresh pages, and where the first touch of each costs as much as it
// does on virtual machines, that is a third of the decoding time. A null image where it cannot
// be had; the reader then makes its own.
QImage hugePageImage(QSize size, QImage::Format format) {
#ifdef __linux__
  constexpr std::size_t kHugePage = 2u << 20;
  const int depth = QImage::toPixelFormat(format).bitsPerPixel();
  if (size.isEmpty() || depth != 32) return {};
  const std::size_t stride = static_cast<std::size_t>(size.width()) * 4;
  const std::size_t bytes = stride * static_cast<std::size_t>(size.height());
  if (bytes < kHugePage) return {};
  const std::size_t length = bytes + kHugePage;
  void* start = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (start == MAP_FAILED) return {};
  auto* pixels = reinterpret_cast<uchar*>(
      (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1));
  madvise(pixels, bytes, MADV_HUGEPAGE);
  return QImage(pixels, size.width(), size.height(), static_cast<qsizetype>(stride), format, unmap,
                new Mapping{start, length});
#else
  Q_UNUSED(size);
  Q_UNUSED(format);
  return {};
#endif
}

}  // namespace

ReadPicture readPicture(const QString& file) {
  QImageReader reader(file);
  reader.setAutoTransform(true);
  // The reader decodes into an image of the size and format it is about to make.
  ReadPicture read{hugePageImage(reader.size(), reader.imageFormat()), {}};
  if (!reader.read(&read.picture)) {
    read.picture = QImage();
    read.problem = "cannot read " + file + ": " + reader.errorString();
  }
  return read;
}

#include "picture_reading.h"

#include <QImageReader>

ReadPicture readPicture(const QString& file) {
  QImageReader reader(file);
  reader.setAutoTransform(true);
  ReadPicture read{reader.read(), {}};
  if (read.picture.isNull()) read.problem = "cannot read " + file + ": " + reader.errorString();
  return read;
}

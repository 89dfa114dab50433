#pragma once

#include <QImage>
#include <QString>

struct ReadPicture {
  QImage picture;
  QString problem;  // when there is no picture: "cannot read FILE: why"
};

// The file's picture, turned as its orientation says. Safe on any thread once the application
// object exists.
ReadPicture readPicture(const QString& file);

#pragma once

// The program's UTF-8 texts and Qt's strings.

#include <string>
#include <string_view>

#include <QString>

inline QString QtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string StdText(const QString& text) {
  return text.toStdString();
}

#include "platform/toolkit.h"

#include "platform/toolkit_state.h"

using namespace toolkit_core;

// Fonts.

std::int64_t NewFont(std::int64_t number, std::string_view family, double size) {
  if (N() == nullptr) return 0;
  if (number != AutoNumber) ReleaseFont(number);
  NativeHandle native = N()->CreateFont(family, size);
  if (native == nullptr) return 0;
  const std::int64_t chosen = T().fonts.Choose(number);
  T().fonts.records[chosen] = native;
  return chosen;
}

void* FontHandle(std::int64_t number) {
  NativeHandle* font = T().fonts.Find(number);
  return font == nullptr ? nullptr : *font;
}

void ReleaseFont(std::int64_t number) {
  NativeHandle* font = T().fonts.Find(number);
  if (font == nullptr) return;
  if (T().defaultFont == *font) T().defaultFont = nullptr;
  N()->ReleaseFont(*font);
  T().fonts.records.erase(number);
}

// Images.

std::int64_t LoadImage(std::int64_t number, std::string_view path) {
  if (N() == nullptr) return 0;
  NativeHandle native = N()->LoadImage(path);
  if (native == nullptr) return 0;
  if (number != AutoNumber) FreeImage(number);
  const std::int64_t chosen = T().images.Choose(number);
  T().images.records[chosen] = native;
  return chosen;
}

std::int64_t LoadSymbolImage(std::int64_t number, std::string_view themeName,
                             std::string_view fallbackPath) {
  if (N() == nullptr) return 0;
  NativeHandle native = N()->LoadThemeIcon(themeName);
  if (native == nullptr) return LoadImage(number, fallbackPath);
  if (number != AutoNumber) FreeImage(number);
  const std::int64_t chosen = T().images.Choose(number);
  T().images.records[chosen] = native;
  return chosen;
}

int ImageExists(std::int64_t number) {
  return T().images.Find(number) != nullptr ? 1 : 0;
}
void* ImageHandle(std::int64_t number) {
  return ImageOf(number);
}

int ImageWidth(std::int64_t number) {
  NativeHandle image = ImageOf(number);
  return image == nullptr ? 0 : N()->ImageWidth(image);
}

int ImageHeight(std::int64_t number) {
  NativeHandle image = ImageOf(number);
  return image == nullptr ? 0 : N()->ImageHeight(image);
}

void ResizeImage(std::int64_t number, int width, int height) {
  if (NativeHandle image = ImageOf(number)) N()->ResizeImage(image, width, height);
}

void SetImageSize(std::int64_t number, double width, double height) {
  if (NativeHandle image = ImageOf(number)) N()->SetImageSize(image, width, height);
}

void FreeImage(std::int64_t number) {
  NativeHandle image = ImageOf(number);
  if (image == nullptr) return;
  N()->ReleaseImage(image);
  T().images.records.erase(number);
}

#include "menu/icon_loading.h"

#include <array>

#include "menu/image_slots.h"
#include "platform/toolkit.h"

namespace {

struct IconFiles {
  const char* application;
  std::array<const char*, 8> menuBar;  // slots 0-7
};

// MenuIcon 0 shows design 2 and MenuIcon 1 design 1, so the first two files are swapped.
constexpr IconFiles SingleResolution = {
    "fancy_app_icon.png",
    {"app_icon2.png", "app_icon1.png", "app_icon3.png", "app_icon4.png", "inv_app_icon2.png",
     "inv_app_icon1.png", "inv_app_icon3.png", "inv_app_icon4.png"}};
constexpr IconFiles DoubleResolution = {
    "fancy_app_iconx2.png",
    {"app_icon2x2.png", "app_icon1x2.png", "app_icon3x2.png", "app_icon4x2.png",
     "inv_app_icon2x2.png", "inv_app_icon1x2.png", "inv_app_icon3x2.png", "inv_app_icon4x2.png"}};

constexpr int ApplicationIconPixels = 128;
constexpr double ApplicationIconPointsOnDoubleScale = 64;
constexpr double MenuBarIconPoints = 18;

// Fractional scales (1.25, 1.5, 1.75 are common on Linux desktops) take the nearer set rather
// than no icon at all: a status item without an image cannot be found or clicked.
const IconFiles& FilesForScale(double scale) {
  return scale >= 1.5 ? DoubleResolution : SingleResolution;
}

}  // namespace

void* LoadIconImage(std::int64_t slot, const std::string& path) {
  FreeImage(slot);
  LoadImage(slot, path);
  if (!ImageExists(slot)) return nullptr;
  if (ImageWidth(slot) <= 0 || ImageHeight(slot) <= 0) {
    FreeImage(slot);
    return nullptr;
  }
  return ImageHandle(slot);
}

void LoadMenuIcons(const std::string& resources) {
  double scale = MainDisplayScale();
  if (scale <= 0) scale = 1.0;  // a display that does not say counts as single resolution
  const IconFiles& files = FilesForScale(scale);

  if (LoadIconImage(ApplicationIconImage, resources + files.application) != nullptr) {
    ResizeImage(ApplicationIconImage, ApplicationIconPixels, ApplicationIconPixels);
    if (scale >= 2.0) {
      SetImageSize(ApplicationIconImage, ApplicationIconPointsOnDoubleScale,
                   ApplicationIconPointsOnDoubleScale);
    }
  }
  for (std::int64_t slot = 0; slot < 2 * MenuIconCount; ++slot) {
    LoadIconImage(slot, resources + files.menuBar[static_cast<std::size_t>(slot)]);
    SetImageSize(slot, MenuBarIconPoints, MenuBarIconPoints);
  }
}

void LoadMenuSymbols(const std::string& resources) {
  // The desktop's own icons match the rest of its menus; ours stand in where its theme has none.
  struct Symbol {
    std::int64_t slot;
    const char* themeName;
    const char* file;
  };
  static constexpr Symbol Symbols[] = {{DisplaySymbolImage, "video-display", "symbol_display.png"},
                                       {WindowSymbolImage, "window-new", "symbol_window.png"},
                                       {ScissorsSymbolImage, "edit-cut", "symbol_scissors.png"},
                                       {FolderSymbolImage, "folder", "symbol_folder.png"}};
  for (const Symbol& symbol : Symbols) {
    if (LoadSymbolImage(symbol.slot, symbol.themeName, resources + symbol.file) == 0) {
      FreeImage(symbol.slot);
    }
  }
  LoadIconImage(BlankSymbolImage, resources + "symbol_blank.png");
}

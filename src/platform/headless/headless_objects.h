#pragma once

// What the headless desktop holds for each native object: the state a person would see.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/native_toolkit.h"

namespace headless {

struct Image {
  std::string path;
  int width = 0, height = 0;  // pixels
  double pointWidth = 0, pointHeight = 0;
};

struct Font {
  std::string family;
  double size = 0;
};

struct Window;

struct Gadget {
  std::int64_t number = 0;
  GadgetKind kind = GadgetKind::Text;
  Window* window = nullptr;
  Rect frame;
  std::string text;
  std::int64_t state = 0;
  std::vector<std::string> items;
  std::vector<Image*> itemImages;  // beside items, null where an item has none
  std::string placeholder;
  std::uint32_t flags = 0;
  bool disabled = false;
  std::string toolTip;
  Font* font = nullptr;
  std::int64_t color = -1;
  Image* image = nullptr;
};

struct Window {
  std::int64_t number = 0;
  Rect frame;  // content rectangle
  std::string title;
  std::uint32_t flags = 0;
  bool visible = false;
  bool floating = false;
  std::vector<Gadget*> gadgets;
  Gadget* focused = nullptr;
};

struct Menu;

struct MenuItem {
  std::int64_t number = -1;  // -1 for separators and submenu holders
  std::string text;          // as given, hint included
  std::string title;
  std::string keyEquivalent;
  std::uint32_t modifierMask = 0;
  Image* image = nullptr;
  bool separator = false;
  bool disabled = false;
  std::unique_ptr<Menu> submenu;
};

struct Menu {
  std::int64_t number = 0;  // the toolkit menu it belongs to
  std::vector<MenuItem> items;
};

struct StatusItem {
  bool present = false;
  Image* image = nullptr;
  Menu* menu = nullptr;
};

}  // namespace headless

// An item of a menu built from a menu file: a caption, the text it stands
// for (a filter, a text to insert), or a separator, or a submenu.
#pragma once

#include <string>
#include <vector>

struct TMenuEntry {
  std::u16string caption;
  std::u16string text;
  bool separator = false;
  bool enabled = true;
  std::vector<TMenuEntry> children;  // a submenu when not empty

  static TMenuEntry Item(std::u16string caption, std::u16string text) {
    TMenuEntry e;
    e.caption = std::move(caption);
    e.text = std::move(text);
    return e;
  }
  static TMenuEntry Separator() {
    TMenuEntry e;
    e.caption = u"-";
    e.separator = true;
    return e;
  }
};

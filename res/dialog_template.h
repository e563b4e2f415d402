// A dialog described as data: its frame and its controls in template order,
// every rectangle in dialog units of the dialog's font.
#pragma once

#include <span>

namespace quillmark::res {

enum class ControlKind { PushButton, Edit, Label, ListView, Icon, ComboBox, CheckBox };

// Style bits; each kind reads the ones that concern it.
enum ControlStyle : unsigned {
  kNoStyle = 0,
  kHidden = 1u << 0,         // created invisible
  kNoTabStop = 1u << 1,
  kDefaultButton = 1u << 2,  // Enter presses it
  kMultiline = 1u << 3,
  kReadOnly = 1u << 4,
  kHorizontalScroll = 1u << 5,
  kVerticalScroll = 1u << 6,
  kAlignRight = 1u << 7,
  kCenterVertically = 1u << 8,
  kNoPrefix = 1u << 9,       // "&" is shown, not a mnemonic
  kNotify = 1u << 10,        // a label that reports clicks
  kReportView = 1u << 11,
  kSingleSelection = 1u << 12,
  kNoSortHeader = 1u << 13,
  kDisabled = 1u << 14,
  kDropDownList = 1u << 15,  // a combo box whose text is picked, never typed
};

constexpr unsigned operator|(ControlStyle a, ControlStyle b) { return unsigned(a) | unsigned(b); }
constexpr unsigned operator|(unsigned a, ControlStyle b) { return a | unsigned(b); }

struct DialogRect {
  int x;
  int y;
  int width;
  int height;
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // UTF-8
  DialogRect rect;
  unsigned styles;
  std::span<const char* const> items = {};  // a combo box's items, UTF-8, in order
};

struct DialogTemplate {
  int id;
  const char* title;     // UTF-8
  const char* fontFace;  // as the original system names it
  int fontPoints;
  int width;
  int height;
  std::span<const ControlTemplate> controls;  // template order = tab order
};

}  // namespace quillmark::res

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/LayoutCheck.h"
#include "ui/Control.h"

class Form;
class KeyHintLine;
class Label;
class Logger;
class ModalForms;
class Resources;

// The items of the main window and where they go on the screen: each item with the placer that
// positions it for a screen size, the check that they fit the screen, the compact layout for a
// smaller one, the notice shown instead of them when even that does not fit, and the key-hint
// line on a spare row. Owns the items (a modal form's panel only while it is shown).
class ScreenLayout {
 public:
  // Where an item goes on a screen of the given size.
  using Placer = std::function<Position(int width, int height)>;
  // Appends the items of the screen for the current size and compactness.
  using Builder = std::function<void()>;

  ScreenLayout(Logger* logger, Resources* resources);
  ~ScreenLayout();
  ScreenLayout(const ScreenLayout&) = delete;
  ScreenLayout& operator=(const ScreenLayout&) = delete;

  // The screen's columns and rows; (-1, -1) without a screen.
  static Size ScreenSize();

  // Appends an item placed where it was created, whatever the screen size; takes ownership.
  void Append(Control* item);
  void Append(Control* item, Placer placer);
  // Builds the screen in full where it fits, otherwise compactly, and checks the fit.
  void LayOut(const Builder& build);
  // Lays the screen out again for the current size; the modal form and the focus stay.
  void Relayout(ModalForms* modal, const Builder& build);
  // Clears the screen and draws every item (only the notice while the screen is too small).
  void Draw(Form* form);
  // Draws the key hints when they changed; form is the modal form or null.
  void ShowHint(Form* form);
  // Destroys the items, the notice and the hints, with a log line for each item.
  void Destroy();

  bool TooSmall() const { return tooSmall; }
  // True while the blank rows between the blocks are left out, for a screen too small for the
  // full layout.
  bool Compact() const { return compact; }
  ControlList& Items() { return items; }
  const ControlList& Items() const { return items; }

 private:
  struct Slot {
    Control* item;
    Placer placer;
    Size size;
  };

  void build(const Builder& builder);
  LayoutCheck::Blocks blocksAt(int width, int height) const;
  bool fitsScreen() const;
  void checkFit();
  void addNotice(const Size& screen);
  void addHint();
  void destroyItems(bool logged);
  std::vector<int> pathOf(Control* control) const;
  Control* controlAt(const std::vector<int>& path) const;

  Logger* logger;
  Resources* resources;
  ControlList items;
  std::vector<Slot> slots;
  bool tooSmall = false;
  bool compact = false;
  std::unique_ptr<Label> notice;
  // Absent without a spare row.
  std::unique_ptr<KeyHintLine> hint;
};

#pragma once

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "ui/Bind.h"
#include "ui/Control.h"
#include "ui/Keys.h"
#include "ui/Mouse.h"
#include "ui/SelectDrawing.h"

// Drawn at the left and right ends of a selector.
inline constexpr const char* PREVIOUS_SELECTOR = "<";
inline constexpr const char* NEXT_SELECTOR = ">";

// One key of a fixed, ordered map of keys to display texts, changed with the left and right
// arrow keys or by clicking the arrows at its two ends. K is int or std::string. A bound value
// is written back when the selector loses the focus.
template <typename K>
class Select : public Control {
 public:
  static constexpr const char* TYPE = "Select";
  using Items = std::map<K, std::string>;

  // Takes ownership of position and size. Throws "Select for empty data" for no items and
  // "Key value not belongs data" for an initial key that is not among them.
  Select(Logger* logger, std::string name, Position* position, Size* size, const Items& items,
         K initial)
      : Control(logger, TYPE, std::move(name), position, size, true),
        items(items),
        initialValue(initial),
        value(initial) {
    if (this->items.empty()) {
      log("Select " + this->name + " set empty data.");
      throw "Select for empty data";
    }
    requireItem(initial);
  }

  // The longest display text plus the two arrows, one row high.
  static Size CalculateSizeForContent(const Items& items) {
    int width = 0;
    for (const auto& item : items)
      width = std::max(width, Size(item.second).width);
    return Size(width + 2, 1);
  }
  Size CalculateSize() override { return CalculateSizeForContent(items); }

  K GetValue() const { return value; }
  bool IsModified() const { return value != initialValue; }

  // Throws "Key value not belongs data" for a key that is not among the items.
  void SetValue(K key) {
    if (key == value)
      return;
    requireItem(key);
    if (bind) {
      bind->Set(key);
      value = bind->Get();
    } else {
      value = key;
    }
    if (rendered)
      Render();
  }

  // Replaces any previous bind; the bound value becomes the current and the initial key.
  void SetBind(typename Bind<K>::Getter getter, typename Bind<K>::Setter setter) {
    log("Select::SetBind on " + name + ".");
    bind = std::make_unique<Bind<K>>(std::move(getter), std::move(setter));
    value = bind->Get();
    if (rendered)
      Render();
    initialValue = value;
  }

  void Refresh() {
    if (bind)
      value = bind->Get();
    if (rendered)
      Render();
  }

  // Both wrap around. A current key that is not among the items (a bound value from elsewhere)
  // is logged and left as it is.
  void selectNext() {
    auto current = items.find(value);
    if (current == items.end()) {
      log("Select::selectNext cant't find current pair by value.");
      return;
    }
    auto next = std::next(current) == items.end() ? items.begin() : std::next(current);
    moveTo(next->first);
  }

  void selectPrevious() {
    auto current = items.find(value);
    if (current == items.end()) {
      log("Select::selectPrevious cant't find current pair by value.");
      return;
    }
    auto previous = current == items.begin() ? std::prev(items.end()) : std::prev(current);
    moveTo(previous->first);
  }

  bool isPreviousButtonPosition(const Position* point) {
    Area print = GetPrintArea();
    return print.Valid() && SelectDrawing::IsFirstCell(print, point);
  }

  bool isNextButtonPosition(const Position* point) {
    Area print = GetPrintArea();
    return print.Valid() && SelectDrawing::IsLastCellOfFirstRow(print, point);
  }

  void Render() override {
    Area print = GetPrintArea();
    if (!print.Valid())
      return;
    auto shown = items.find(value);
    SelectDrawing::Draw(print, IsActive(), shown == items.end() ? "" : shown->second);
    rendered = true;
  }

  bool OnKeyPress(int key) override {
    if (key == Keys::Left)
      selectPrevious();
    else if (key == Keys::Right)
      selectNext();
    else
      return false;
    return true;
  }

  bool OnMouseClick(Mouse* mouse) override {
    bool handled = Control::OnMouseClick(mouse);
    if (!handled)
      return false;
    std::unique_ptr<Position> point(mouse->GetPosition());
    if (isPreviousButtonPosition(point.get()))
      selectPrevious();
    else if (isNextButtonPosition(point.get()))
      selectNext();
    return handled;
  }

  void Blur() override {
    if (bind)
      contain("Select::Blur " + name, [this] { bind->Set(value); });
    Control::Blur();
  }

 private:
  void requireItem(const K& key) {
    if (items.count(key) == 0) {
      log("Select::SetValue " + keyText(key) + " key value not belongs data.");
      throw "Key value not belongs data";
    }
  }

  void moveTo(const K& key) {
    if (key == value)
      return;
    value = key;
    if (rendered)
      Render();
  }

  static std::string keyText(int key) { return std::to_string(key); }
  static std::string keyText(const std::string& key) { return key; }

  Items items;
  K initialValue;
  K value;
  std::unique_ptr<Bind<K>> bind;
};

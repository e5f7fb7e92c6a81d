#pragma once

#include <string>

#include "ui/Select.h"

// A text selector that starts at a stored key, which may lie outside its items (a settings file
// edited by hand). Such a key is kept and shown empty; an arrow key or a click on an arrow then
// moves to an item: the next one is the first item, the previous one the last.
class StoredKeySelect : public Select<std::string> {
 public:
  // Takes ownership of position; the size is measured from the items. Throws "Select for empty
  // data" for no items.
  StoredKeySelect(Logger* logger, std::string name, Position* position, const Items& items,
                  std::string stored);

  bool OnKeyPress(int pressed) override;
  bool OnMouseClick(Mouse* mouse) override;

 private:
  bool outsideItems() const { return items.count(GetValue()) == 0; }

  Items items;
  std::string key;
};

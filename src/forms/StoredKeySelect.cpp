#include "forms/StoredKeySelect.h"
#include "ui/Keys.h"

#include <memory>

StoredKeySelect::StoredKeySelect(Logger* logger, std::string name, Position* position,
                                 const Items& items, std::string stored)
    : Select<std::string>(logger, std::move(name), position, nullptr, items,
                          items.empty() ? stored : items.begin()->first),
      items(items),
      key(std::move(stored)) {
  // The selector itself only takes keys among its items; the stored key enters through a bind
  // to this control's own copy, which also makes it the initial key.
  SetBind([this] { return key; }, [this](std::string value) { key = std::move(value); });
}

bool StoredKeySelect::OnKeyPress(int pressed) {
  if (!outsideItems())
    return Select<std::string>::OnKeyPress(pressed);
  if (pressed == Keys::Right)
    SetValue(items.begin()->first);
  else if (pressed == Keys::Left)
    SetValue(items.rbegin()->first);
  else
    return false;
  return true;
}

bool StoredKeySelect::OnMouseClick(Mouse* mouse) {
  if (!outsideItems())
    return Select<std::string>::OnMouseClick(mouse);
  // Outside the items a click only takes the focus, as on any control: Select would pick an item.
  bool handled = Control::OnMouseClick(mouse);  // NOLINT(bugprone-parent-virtual-call)
  if (!handled)
    return false;
  std::unique_ptr<Position> point(mouse->GetPosition());
  if (isPreviousButtonPosition(point.get()))
    SetValue(items.rbegin()->first);
  else if (isNextButtonPosition(point.get()))
    SetValue(items.begin()->first);
  return handled;
}

#include "forms/FocusCycle.h"

#include <algorithm>

#include "app/Logger.h"

void FocusCycle::Switch(bool back) {
  if (Control::SwitchActive(back))
    return;
  Control* current = Control::GetActive();
  if (current == nullptr) {
    focusFirst();
    return;
  }
  if (Control* parent = current->GetParent()) {
    if (parent->IsModal() || parent->GetParent())
      return;
    current = parent;
  }
  focusAfter(current, back);
}

void FocusCycle::focusFirst() {
  auto first =
      std::find_if(items->begin(), items->end(), [](Control* item) { return item->Focusable(); });
  if (first != items->end())
    (*first)->Focus();
}

// The first focusable item after current in the direction given gets the focus.
void FocusCycle::focusAfter(Control* current, bool back) {
  auto found = std::find(items->begin(), items->end(), current);
  if (found == items->end()) {
    logger->Write("Window::switchControl found control " + current->GetName() +
                  " that out of this scope.");
    return;
  }
  int count = static_cast<int>(items->size());
  int start = static_cast<int>(found - items->begin());
  int step = back ? count - 1 : 1;
  for (int index = (start + step) % count; index != start; index = (index + step) % count) {
    if ((*items)[index]->Focusable()) {
      (*items)[index]->Focus();
      return;
    }
  }
}

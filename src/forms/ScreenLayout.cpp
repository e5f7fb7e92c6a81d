#include "forms/ScreenLayout.h"

#include <curses.h>

#include <algorithm>

#include "app/Logger.h"
#include "app/Resources.h"
#include "forms/Form.h"
#include "forms/KeyHintLine.h"
#include "forms/ModalForms.h"
#include "ui/Label.h"
#include "ui/Panel.h"

ScreenLayout::ScreenLayout(Logger* logger, Resources* resources)
    : logger(logger), resources(resources) {}

ScreenLayout::~ScreenLayout() {
  destroyItems(false);
}

Size ScreenLayout::ScreenSize() {
  if (stdscr == nullptr)
    return Size(-1, -1);
  return Size(getmaxx(stdscr), getmaxy(stdscr));
}

void ScreenLayout::Append(Control* item) {
  std::unique_ptr<Position> at(item->GetPosition());
  Position fixed = *at;
  Append(item, [fixed](int, int) { return fixed; });
}

void ScreenLayout::Append(Control* item, Placer placer) {
  items.push_back(item);
  slots.push_back({item, std::move(placer), item->CalculateSize()});
}

void ScreenLayout::LayOut(const Builder& builder) {
  compact = false;
  build(builder);
  if (!fitsScreen()) {
    destroyItems(false);
    compact = true;
    build(builder);
  }
  checkFit();
}

// Items appended before the screen is built stay, without their places.
void ScreenLayout::build(const Builder& builder) {
  slots.clear();
  builder();
}

void ScreenLayout::Relayout(ModalForms* modal, const Builder& builder) {
  Form* form = modal->Current();
  Control* formPanel = form ? form->GetPanel() : nullptr;
  std::vector<int> activePath = formPanel ? std::vector<int>() : pathOf(Control::GetActive());
  std::vector<int> beforeFormPath = pathOf(modal->FocusBefore());
  if (formPanel)
    items.pop_back();
  destroyItems(false);
  LayOut(builder);
  if (formPanel) {
    items.push_back(formPanel);
    modal->SetFocusBefore(controlAt(beforeFormPath));
  } else if (Control* focused = controlAt(activePath)) {
    focused->Focus();
  }
}

// Curses compares the new picture with what the terminal shows and sends only the cells that
// differ, so a closing form costs the cells it covered, not the whole screen.
void ScreenLayout::Draw(Form* form) {
  erase();
  if (tooSmall) {
    notice->Render();
    return;
  }
  for (Control* item : items)
    item->Render();
  if (hint)
    hint->Forget();
  ShowHint(form);
}

// The hints are not drawn while the screen is too small.
void ScreenLayout::ShowHint(Form* form) {
  if (!hint || tooSmall)
    return;
  hint->Show(form);
}

void ScreenLayout::Destroy() {
  destroyItems(true);
  notice.reset();
  hint.reset();
}

LayoutCheck::Blocks ScreenLayout::blocksAt(int width, int height) const {
  LayoutCheck::Blocks blocks;
  for (const Slot& slot : slots) {
    Position at = slot.placer(width, height);
    blocks.push_back({at.x, at.y, slot.size.width, slot.size.height});
  }
  return blocks;
}

bool ScreenLayout::fitsScreen() const {
  Size screen = ScreenSize();
  return LayoutCheck::Fits(blocksAt(screen.width, screen.height), screen.width, screen.height);
}

// The screen is too small while the laid-out items leave it or overlap.
void ScreenLayout::checkFit() {
  tooSmall = !fitsScreen();
  notice.reset();
  hint.reset();
  if (tooSmall)
    addNotice(ScreenSize());
  else
    addHint();
}

// The notice names the size that makes room and how to leave.
void ScreenLayout::addNotice(const Size& screen) {
  Size needed =
      LayoutCheck::Needed([this](int width, int height) { return blocksAt(width, height); });
  auto cells = [](const Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
  };
  std::string text = resources->texts["TERMINAL_TOO_SMALL"] + cells(needed) + "\n" +
                     resources->texts["TERMINAL_TOO_SMALL_ESCAPE"];
  logger->Write("Window::checkFit " + cells(screen) + " is too small for " + cells(needed) + ".");
  notice = std::make_unique<Label>(logger, "TooSmallLabel", new Position(0, 0),
                                   new Size(std::max(screen.width, 0), std::max(screen.height, 0)),
                                   text, Theme::Basic);
}

// The hints take the row above the bottom buttons when no item is there, in the compact layout
// only: the full layout stays exactly as it has always been drawn.
void ScreenLayout::addHint() {
  if (!compact)
    return;
  Size screen = ScreenSize();
  LayoutCheck::Blocks blocks = blocksAt(screen.width, screen.height);
  blocks.push_back({0, screen.height - 3, screen.width, 1});
  if (!LayoutCheck::Fits(blocks, screen.width, screen.height))
    return;
  hint = std::make_unique<KeyHintLine>(logger, resources, screen.height - 3, screen.width);
}

void ScreenLayout::destroyItems(bool logged) {
  for (size_t index = 0; index < items.size(); ++index) {
    if (logged)
      logger->Write("Destroy window item[" + std::to_string(index) + "].");
    delete items[index];
  }
  if (logged)
    logger->Write("Clear window items list.");
  items.clear();
  slots.clear();
  if (logged)
    logger->Write("Window items destroyed.");
}

// The indexes that lead from the items down to control; empty when it is not there.
std::vector<int> ScreenLayout::pathOf(Control* control) const {
  std::vector<int> path;
  for (Control* item = control; item; item = item->GetParent()) {
    Control* parent = item->GetParent();
    int count = parent ? parent->GetItemsCount() : static_cast<int>(items.size());
    int index = 0;
    while (index < count && (parent ? parent->GetItem(index) : items[index]) != item)
      ++index;
    if (index == count)
      return {};
    path.insert(path.begin(), index);
  }
  return path;
}

Control* ScreenLayout::controlAt(const std::vector<int>& path) const {
  Control* control = nullptr;
  for (int index : path) {
    int count = control ? control->GetItemsCount() : static_cast<int>(items.size());
    if (index >= count)
      return nullptr;
    control = control ? control->GetItem(index) : items[index];
  }
  return control;
}

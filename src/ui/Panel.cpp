#include "ui/Panel.h"

#include <curses.h>

#include <algorithm>

#include "ui/Mouse.h"
#include "ui/Style.h"
#include "util/String.h"

Panel::Panel(Logger* logger, std::string name, Position* position, Size* size, std::string title,
             const ControlList* items)
    : Control(logger, TYPE, std::move(name), position, size, true),
      innerPosition(std::make_unique<Position>(*this->position)),
      title(std::move(title)) {
  if (items)
    this->items = *items;
}

Panel::~Panel() {
  innerPosition.reset();
  innerSize.reset();
  for (size_t index = 0; index < items.size(); ++index) {
    log("Destroy panel item[" + std::to_string(index) + "].");
    delete items[index];
  }
  log("Clear panel items list.");
  items.clear();
  log("Panel items destroyed.");
}

Size Panel::CalculateSizeForContent(const std::string& title, const ControlList* items) {
  int titleWidth = String::LengthW(title);
  Size content = CalculateEnumSize(items ? *items : ControlList());
  int width = std::max(titleWidth, content.width);
  if (width <= 0 && content.height <= 0)
    return Size(1, 1);
  return Size(width + 2, content.height + 2);
}

Size Panel::CalculateSize() {
  return CalculateSizeForContent(title, &items);
}

Control* Panel::GetItem(int index) {
  if (index < 0 || index >= GetItemsCount()) {
    log("Panel::GetItem OutOfRange - Total: " + std::to_string(items.size()) +
        " Try: " + std::to_string(index));
    throw "OutOfRangeException";
  }
  return items[index];
}

Control* Panel::GetItem(const std::string& itemName) {
  for (Control* item : items)
    if (item->GetName() == itemName)
      return item;
  return nullptr;
}

int Panel::AddItem(Control* item) {
  if (item == nullptr || std::find(items.begin(), items.end(), item) != items.end())
    return -1;
  items.push_back(item);
  return GetItemsCount() - 1;
}

// Only an item of this panel is destroyed: anything else is not the panel's to delete.
void Panel::RemoveItem(Control* item) {
  auto found = std::find(items.begin(), items.end(), item);
  if (item == nullptr || found == items.end())
    return;
  items.erase(found);
  delete item;
}

Area Panel::GetInnerArea(bool global) {
  Size extent = innerSize ? *innerSize : Size(0, 0);
  Area inner(innerPosition.get(), &extent);
  if (global)
    GlobalizeArea(&inner, parent);
  return inner;
}

bool Panel::Focusable() {
  if (!Control::Focusable())
    return false;
  return std::any_of(items.begin(), items.end(), [](Control* item) { return item->Focusable(); });
}

bool Panel::holdsActive() const {
  return active != nullptr && (active == this || active->IsInside(this));
}

void Panel::Focus() {
  if (!Control::Focusable())
    return;
  if (pendingMouse && routeClick())
    return;
  if (holdsActive() || pendingMouse)
    return;
  for (Control* item : items) {
    if (item->Focusable()) {
      item->Focus();
      return;
    }
  }
}

// Hands the pending click to the first item under it; true when an item was under it.
bool Panel::routeClick() {
  std::unique_ptr<Position> point(pendingMouse->GetPosition());
  for (Control* item : items) {
    if (!item->BelongsPosition(point.get()))
      continue;
    if (item->OnMouseClick(pendingMouse))
      pendingMouse = nullptr;
    return true;
  }
  return false;
}

bool Panel::OnMouseClick(Mouse* mouse) {
  pendingMouse = mouse;
  bool handled = Control::OnMouseClick(mouse);
  if (pendingMouse) {
    pendingMouse = nullptr;
    return false;
  }
  return handled;
}

void Panel::Render() {
  Area print = GetPrintArea();
  if (!innerSize)
    innerSize = std::make_unique<Size>(std::max(size->width - 2, 0), std::max(size->height - 2, 0));
  if (!drawable(print))
    return;
  drawBorders();
  Refresh();
  rendered = true;
}

// A panel that cannot be seen counts as rendered; one cut to nothing is not drawn either.
bool Panel::drawable(const Area& print) {
  if (!print.Valid()) {
    rendered = true;
    return false;
  }
  std::unique_ptr<Size> extent(print.GetSize());
  return extent->width != 0 && extent->height != 0;
}

void Panel::blinking() {
  drawBorders();
}

void Panel::Refresh() {
  log("Panel " + name + " refresing.");
  clearContainer();
  log("Panel " + name + " child item count " + std::to_string(items.size()));
  for (size_t index = 0; index < items.size(); ++index) {
    Control* item = items[index];
    log("Rendering panel " + name + " item[" + std::to_string(index) + "] " + item->GetName() +
        ".");
    item->PushTo(this);
    item->Render();
  }
}

// Blanks the inside of the frame, as far as it is visible.
void Panel::clearContainer() {
  Area visible = visibleInnerArea();
  if (!visible.Valid())
    return;
  std::unique_ptr<Position> origin(visible.GetPosition());
  std::unique_ptr<Size> extent(visible.GetSize());
  for (int row = 0; row < extent->height; ++row) {
    Position start(origin->x, origin->y + row);
    Size line(extent->width, 1);
    Area area(&start, &line);
    printContentInArea(&area, "");
  }
}

void Panel::drawBorders() {
  Area print = GetPrintArea();
  if (!drawable(print))
    return;
  bool highlighted = blinkPhase % 2 == 1;
  Style style(highlighted ? Theme::Highlight : Theme::Basic, highlighted ? A_BOLD : 0);
  if (!rendered) {
    innerPosition->x += 1;
    innerPosition->y += 1;
  }
  if (size->width >= 2 && size->height >= 2)
    drawFrame(print);
  else if (size->width == 1)
    drawVerticalBar(print);
  else
    drawHorizontalBar(print);
}

namespace {
struct Cells {
  int x, y, width, height;
};

Cells cellsOf(const Area& area) {
  std::unique_ptr<Position> origin(area.GetPosition());
  std::unique_ptr<Size> extent(area.GetSize());
  return {origin->x, origin->y, extent->width, extent->height};
}

void putSymbol(const Area& print, int x, int y, chtype symbol) {
  Position cell(x, y);
  if (print.Belongs(&cell))
    mvaddch(y, x, symbol);
}

void horizontal(int x, int y, int count) {
  if (count > 0)
    mvhline(y, x, ACS_HLINE, count);
}

void vertical(int x, int y, int count) {
  if (count > 0)
    mvvline(y, x, ACS_VLINE, count);
}
}  // namespace

void Panel::drawFrame(const Area& print) {
  Cells at = cellsOf(print);
  int right = at.x + size->width - 1;
  int bottom = at.y + size->height - 1;
  int titleWidth = String::LengthW(title);
  putSymbol(print, at.x, at.y, ACS_ULCORNER);
  putSymbol(print, right, at.y, ACS_URCORNER);
  putSymbol(print, at.x, bottom, ACS_LLCORNER);
  putSymbol(print, right, bottom, ACS_LRCORNER);
  int sideRows = std::min(innerSize->height, at.height - 1);
  vertical(at.x, at.y + 1, sideRows);
  if (right < at.x + at.width)
    vertical(right, at.y + 1, sideRows);
  horizontal(at.x + titleWidth + 1, at.y,
             std::min(innerSize->width - titleWidth, at.width - 1 - titleWidth));
  if (bottom < at.y + at.height)
    horizontal(at.x + 1, bottom, std::min(at.width - 1, innerSize->width));
  drawTitle(print);
}

void Panel::drawTitle(const Area& print) {
  Cells at = cellsOf(print);
  int width = std::min(String::LengthW(title), std::min(innerSize->width, at.width - 1));
  if (width < 1)
    return;
  Position start(at.x + 1, at.y);
  Size line(width, 1);
  Area area(&start, &line);
  printContentInArea(&area, title);
}

void Panel::drawVerticalBar(const Area& print) {
  Cells at = cellsOf(print);
  if (size->height < 2) {
    putSymbol(print, at.x, at.y, ACS_BLOCK);
    return;
  }
  putSymbol(print, at.x, at.y, ACS_UARROW);
  vertical(at.x, at.y + 1, std::min(size->height - 2, at.height - 1));
  putSymbol(print, at.x, at.y + size->height - 1, ACS_DARROW);
}

void Panel::drawHorizontalBar(const Area& print) {
  Cells at = cellsOf(print);
  putSymbol(print, at.x, at.y, ACS_LARROW);
  horizontal(at.x + 1, at.y, std::min(size->width - 2, at.width - 1));
  putSymbol(print, at.x + size->width - 1, at.y, ACS_RARROW);
}

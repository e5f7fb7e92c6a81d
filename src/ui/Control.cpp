#include "ui/Control.h"

#include <curses.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cwchar>

#include "app/Logger.h"
#include "ui/Mouse.h"
#include "util/Failure.h"
#include "util/String.h"

Control* Control::active = nullptr;
Control* Control::blinkItem = nullptr;
Control::BlinkClock Control::clock = nullptr;
long long Control::blinkDue = 0;

namespace {
const int BlinkStepMilliseconds = 1000;
const int LastBlinkPhase = 3;
}  // namespace

Control::Control(Logger* logger, std::string type, std::string name, Position* position, Size* size,
                 bool focusable)
    : logger(logger),
      type(std::move(type)),
      name(std::move(name)),
      position(position ? position : new Position(0, 0)),
      size(size),
      focusable(focusable) {
  log(describe() + " was created.");
}

Control::~Control() {
  if (active == this)
    active = nullptr;
  if (blinkItem == this)
    blinkItem = nullptr;
  log(describe() + " was destroyed");
}

void Control::blinking() {
  log("Control::blinking for type " + type + " running.");
  throw "Not Implemented Method.";
}

int Control::GetItemsCount() {
  return 0;
}

Control* Control::GetItem(int /*index*/) {
  return nullptr;
}

Control* Control::GetItem(const std::string& /*name*/) {
  return nullptr;
}

int Control::AddItem(Control* /*item*/) {
  return -1;
}

void Control::RemoveItem(int index) {
  if (Control* item = GetItem(index))
    RemoveItem(item);
}

void Control::RemoveItem(const std::string& itemName) {
  if (Control* item = GetItem(itemName))
    RemoveItem(item);
}

// A control without items owns no other control, so there is nothing to destroy.
void Control::RemoveItem(Control* /*item*/) {}

Size Control::CalculateSize() {
  log("Control::CalculateSize of type " + type + " is running.");
  throw "Not Implemented Method";
}

Area Control::GetInnerArea(bool /*global*/) {
  log("Control::getInnerArea for type " + type + " running.");
  throw "Not Implemented Method.";
}

void Control::Render() {
  log("Control::Render for type " + type + " running.");
  throw "Not Implemented Method.";
}

bool Control::OnKeyPress(int /*key*/) {
  log("Control::OnKeyPress for type " + type + " running.");
  throw "Not Implemented Method.";
}

Size Control::GetSize() const {
  if (!size) {
    log(describe() + " trying to access size before initialization.");
    throw "Access Size Property Before Initialization";
  }
  return *size;
}

void Control::PushTo(Control* newParent) {
  if (newParent == parent)
    return;
  if (rendered)
    throw "Changing parent control deprecated after rendering.";
  parent = newParent;
}

void Control::log(const std::string& message) const {
  if (logger)
    logger->Write(message);
}

bool Control::contain(const std::string& operation, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (...) {
    Failure::Kind failure = Failure::Caught();
    if (!failure.known) {
      log(operation + " unknown exception.");
      return false;
    }
    log(operation + " exception:");
    log(failure.text);
  }
  return false;
}

bool Control::IsInside(const Control* ancestor) const {
  for (const Control* item = parent; item; item = item->parent)
    if (item == ancestor)
      return true;
  return false;
}

bool Control::Focusable() {
  if (!focusable)
    return false;
  if (active == nullptr || active == this)
    return true;
  ControlList tree = GetActiveModalTreeList();
  if (tree.empty() || !tree.back()->IsModal())
    return true;
  return isWithinModalTree(tree);
}

// True when this control or one of its ancestors is in the tree or a direct item of a member.
bool Control::isWithinModalTree(const ControlList& tree) const {
  for (const Control* item = this; item; item = item->parent) {
    for (Control* member : tree) {
      if (member == item)
        return true;
      int count = member->GetItemsCount();
      for (int index = 0; index < count; ++index)
        if (member->GetItem(index) == item)
          return true;
    }
  }
  return false;
}

void Control::Focus() {
  if (!Focusable() || active == this)
    return;
  if (active)
    active->Blur();
  active = this;
  log(describe() + " is active.");
  if (rendered)
    Render();
}

void Control::Blur() {
  if (active != this)
    return;
  active = nullptr;
  log(describe() + " blured.");
  if (rendered)
    Render();
}

ControlList Control::GetActiveModalTreeList() {
  ControlList tree;
  if (active == nullptr)
    return tree;
  for (Control* item = active->parent; item; item = item->parent) {
    tree.push_back(item);
    if (item->IsModal())
      break;
  }
  return tree;
}

bool Control::SwitchActive(bool backward) {
  Control* current = active;
  if (current == nullptr)
    return false;
  for (Control* parent = current->parent; parent; parent = current->parent) {
    int count = parent->GetItemsCount();
    if (count == 0)
      return false;
    int index = -1;
    for (int item = 0; item < count && index < 0; ++item)
      if (parent->GetItem(item) == current)
        index = item;
    if (count < 0 || index < 0)
      throw "ReferenceStructureException";
    if (walkSiblings(parent, index, backward) || parent->IsModal())
      return true;
    current = parent;
  }
  return false;
}

// Focuses the next focusable sibling after (or before) index. A modal parent wraps around and
// keeps the focus inside; true then means the walk ended inside the parent.
bool Control::walkSiblings(Control* parent, int index, bool backward) {
  int count = parent->GetItemsCount();
  int step = backward ? -1 : 1;
  for (int item = index + step;; item += step) {
    if (item < 0 || item >= count) {
      if (!parent->IsModal())
        return false;
      item = backward ? count - 1 : 0;
    }
    if (item == index)
      return true;
    Control* sibling = parent->GetItem(item);
    if (sibling->Focusable()) {
      sibling->Focus();
      return true;
    }
  }
}

bool Control::OnMouseClick(Mouse* mouse) {
  if (!size || mouse == nullptr)
    return false;
  std::unique_ptr<Position> point(mouse->GetPosition());
  if (!BelongsPosition(point.get()))
    return false;
  if (Focusable()) {
    Focus();
    return true;
  }
  log("Control::OnMouseClick " + name + " of type " + type + " is not focusable.");
  ControlList tree = GetActiveModalTreeList();
  if (!tree.empty() && tree.back()->IsModal() && !IsInside(tree.back())) {
    Control* modalPanel = tree.back();
    modalPanel->blinkPhase = 0;
    modalPanel->blinkPhaseNext();
  }
  return false;
}

Area Control::GetPrintArea() {
  if (!size)
    size = std::make_unique<Size>(CalculateSize());
  Area own(position.get(), size.get());
  if (parent == nullptr)
    return Area(nullptr, &own);
  Area inner = parent->visibleInnerArea();
  if (!inner.Valid())
    return Area();
  std::unique_ptr<Position> start(inner.GetOffsetPoint(position.get()));
  Area placed(start.get(), size.get());
  return Area(&inner, &placed);
}

// A child is cut to every ancestor's visible part, not only to its parent's inner area, so that
// it never draws over the frame of a parent that is itself cut.
Area Control::visibleInnerArea() {
  Area print = GetPrintArea();
  Area inner = GetInnerArea(true);
  if (!print.Valid() || !inner.Valid())
    return Area();
  return Area(&print, &inner);
}

bool Control::BelongsPosition(const Position* point) {
  return GetPrintArea().Belongs(point);
}

Size Control::CalculateEnumSize(const ControlList& controls) {
  Size total(0, 0);
  for (Control* item : controls) {
    if (item == nullptr)
      continue;
    Size extent = item->size ? *item->size : item->CalculateSize();
    total.width = std::max(total.width, item->position->x + extent.width);
    total.height = std::max(total.height, item->position->y + extent.height);
  }
  return total;
}

void Control::GlobalizeArea(Area* area, Control* from) {
  for (Control* item = from; item; item = item->parent) {
    std::unique_ptr<Position> origin(item->GetInnerArea(false).GetPosition());
    area->Offset(origin.get());
  }
}

namespace {
bool onScreen(int x, int y) {
  return x >= 0 && y >= 0 && x < getmaxx(stdscr) && y < getmaxy(stdscr);
}

// True when the character takes exactly one screen column.
bool singleColumn(const char* text, int bytes) {
  if (bytes == 1)
    return text[0] >= 0x20 && text[0] < 0x7f;
  std::mbstate_t state{};
  wchar_t wide = 0;
  size_t used = std::mbrtowc(&wide, text, static_cast<size_t>(bytes), &state);
  return used == static_cast<size_t>(bytes) && wcwidth(wide) == 1;
}

// Display characters put at screen cells, one each. Neighbouring cells of one row whose
// characters take one column each go to curses in one call (a call per cell costs more than the
// cell); any other character is written alone at its cell. Cells off the screen are skipped so
// that curses never wraps them onto the next line.
class Cells {
 public:
  Cells() = default;
  Cells(const Cells&) = delete;
  Cells& operator=(const Cells&) = delete;
  ~Cells() { Flush(); }

  void Put(int x, int y, const char* text, int bytes) {
    if (!onScreen(x, y)) {
      Flush();
      return;
    }
    if (!singleColumn(text, bytes)) {
      Flush();
      mvaddnstr(y, x, text, bytes);
      return;
    }
    if (count == 0 || y != runY || x != runX + count || text != start + runBytes) {
      Flush();
      runX = x;
      runY = y;
      start = text;
    }
    runBytes += bytes;
    ++count;
  }

  void Flush() {
    if (count > 0)
      mvaddnstr(runY, runX, start, runBytes);
    count = 0;
    runBytes = 0;
  }

 private:
  int runX = 0;
  int runY = 0;
  int count = 0;
  const char* start = nullptr;
  int runBytes = 0;
};

void fillBlanks(int x, int y, int count) {
  int visible = std::min(count, getmaxx(stdscr) - x);
  if (visible <= 0 || y < 0 || y >= getmaxy(stdscr) || x < 0)
    return;
  mvhline(y, x, ' ', visible);
}

// A newline that directly follows a completely filled line (optionally after one carriage
// return) belongs to that line.
size_t skipLineEnd(const std::string& text, size_t pos) {
  if (pos < text.size() && text[pos] == '\n')
    return pos + 1;
  if (pos + 1 < text.size() && text[pos] == '\r' && text[pos + 1] == '\n')
    return pos + 2;
  return pos;
}
}  // namespace

void Control::printContentInArea(Area* area, const std::string& text) {
  if (area == nullptr || !area->Valid() || stdscr == nullptr)
    return;
  std::unique_ptr<Position> origin(area->GetPosition());
  std::unique_ptr<Size> extent(area->GetSize());
  move(origin->y, origin->x);
  if (extent->width <= 0 || extent->height <= 0)
    return;
  int column = 0;
  int row = 0;
  Cells cells;
  for (size_t pos = 0; pos < text.size();) {
    bool newline = text[pos] == '\n';
    int bytes = std::max(String::CharSize(text, pos), 1);
    if (newline) {
      cells.Flush();
      fillBlanks(origin->x + column, origin->y + row, extent->width - column);
      column = extent->width;
    } else if (text[pos] != '\r') {
      cells.Put(origin->x + column, origin->y + row, text.data() + pos, bytes);
      ++column;
    }
    pos += bytes;
    if (column < extent->width)
      continue;
    if (++row >= extent->height)
      return;
    if (!newline)
      pos = skipLineEnd(text, pos);
    column = 0;
  }
  cells.Flush();
  fillBlanks(origin->x + column, origin->y + row, extent->width - column);
}

long long Control::now() {
  if (clock)
    return clock();
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

void Control::SetBlinkClock(BlinkClock blinkClock) {
  clock = blinkClock;
}

void Control::Blink() {
  blinkPhase = 1;
  takeBlink();
  drawBlink();
}

void Control::blinkPhaseNext() {
  if (++blinkPhase > LastBlinkPhase) {
    blinkPhase = 0;
    if (blinkItem == this)
      blinkItem = nullptr;
  } else {
    takeBlink();
  }
  drawBlink();
}

// Becomes the blinking control; one that was blinking before returns to its normal look.
void Control::takeBlink() {
  if (blinkItem && blinkItem != this) {
    Control* previous = blinkItem;
    blinkItem = nullptr;
    previous->blinkPhase = 0;
    previous->drawBlink();
  }
  blinkItem = this;
  blinkDue = now() + BlinkStepMilliseconds;
}

void Control::drawBlink() {
  blinking();
  refresh();
}

void Control::BlinkTick() {
  if (blinkItem && now() >= blinkDue)
    blinkItem->blinkPhaseNext();
}

void Control::blinkHandler(int signal) {
  if (signal == SIGALRM && blinkItem != nullptr)
    blinkItem->blinkPhaseNext();
}

int Control::BlinkTimeout() {
  if (blinkItem == nullptr)
    return -1;
  return static_cast<int>(std::max(0LL, blinkDue - now()));
}

#include "ui/Checkbox.h"

#include <curses.h>
#include <langinfo.h>

#include <cstring>

#include "ui/Keys.h"
#include "ui/Style.h"

namespace {
const int BoxWidth = 3;
}  // namespace

Checkbox::Checkbox(Logger* logger, std::string name, Position* position, Size* size,
                   std::string text, bool value)
    : Control(logger, TYPE, std::move(name), position, size, true),
      initialValue(value),
      value(value),
      text(std::move(text)) {}

Size Checkbox::CalculateSize() {
  Size size(text);
  size.width += BoxWidth + 1;
  return size;
}

void Checkbox::change(bool newValue) {
  if (bind) {
    bind->Set(newValue);
    value = bind->Get();
  } else {
    value = newValue;
  }
  if (rendered)
    drawContent();
}

void Checkbox::SetValue(bool newValue) {
  if (newValue != value)
    change(newValue);
}

void Checkbox::SwitchValue() {
  change(!value);
}

void Checkbox::SetBind(Bind<bool>::Getter getter, Bind<bool>::Setter setter) {
  bind = std::make_unique<Bind<bool>>(std::move(getter), std::move(setter));
  value = bind->Get();
  initialValue = value;
  if (rendered)
    drawContent();
}

void Checkbox::Refresh() {
  if (bind)
    value = bind->Get();
  if (rendered)
    drawContent();
}

bool Checkbox::OnKeyPress(int key) {
  if (key != Keys::Enter && key != Keys::Space)
    return false;
  contain("Checkbox::OnKeyPress " + name, [this] { SwitchValue(); });
  return true;
}

bool Checkbox::OnMouseClick(Mouse* mouse) {
  bool handled = Control::OnMouseClick(mouse);
  if (handled)
    contain("Checkbox::OnMouseClick " + name, [this] { SwitchValue(); });
  return handled;
}

void Checkbox::Render() {
  Area print = GetPrintArea();
  if (print.Valid()) {
    drawContent();
    if (!text.empty()) {
      Area caption(print);
      Position shift(BoxWidth, 0);
      caption.Offset(&shift);
      Area visible(&print, &caption);
      Style style(Theme::Basic);
      printContentInArea(&visible, "-" + text);
    }
  }
  rendered = true;
}

void Checkbox::drawContent() {
  Area print = GetPrintArea();
  if (!print.Valid())
    return;
  std::unique_ptr<Position> origin(print.GetPosition());
  Style style(IsActive() ? Theme::Focused : Theme::Input, A_BOLD);
  for (int cell = 0; cell < BoxWidth; ++cell) {
    Position at(origin->x + cell, origin->y);
    if (!print.Belongs(&at))
      continue;
    if (cell == 1 && value)
      drawDiamond(at);
    else
      mvaddch(at.y, at.x, ' ');
  }
}

// A terminal that reads UTF-8 gets the diamond as a character of its own, which spares the switches
// to the line-drawing set and back around it; any other gets the line-drawing diamond.
void Checkbox::drawDiamond(const Position& at) {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
    mvaddwstr(at.y, at.x, L"\u25C6");
  else
    mvaddch(at.y, at.x, ACS_DIAMOND);
}

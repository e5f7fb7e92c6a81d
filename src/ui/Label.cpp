#include "ui/Label.h"

#include <curses.h>

#include "ui/Style.h"

Label::Label(Logger* logger, std::string name, Position* position, Size* size, std::string text,
             Theme theme)
    : Control(logger, TYPE, std::move(name), position, size, false),
      text(std::move(text)),
      theme(theme) {}

void Label::Render() {
  Area print = GetPrintArea();
  if (print.Valid()) {
    Style style(theme, theme == Theme::Basic ? 0 : A_BOLD);
    printContentInArea(&print, text);
  }
  rendered = true;
}

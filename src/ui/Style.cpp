#include "ui/Style.h"

#include <curses.h>

Style::Style(Theme theme, unsigned long attributes)
    : attributes(COLOR_PAIR(static_cast<int>(theme)) | attributes) {
  attron(static_cast<int>(this->attributes));
}

Style::~Style() {
  attroff(static_cast<int>(attributes));
}

#include "forms/KeyHintLine.h"

#include <curses.h>

#include <algorithm>

#include "forms/Form.h"
#include "forms/KeyHints.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "util/String.h"

KeyHintLine::KeyHintLine(Logger* logger, Resources* resources, int row, int width)
    : resources(resources),
      label(std::make_unique<Label>(logger, "HintLabel", new Position(0, row), new Size(width, 1),
                                    "", Theme::Basic)),
      row(row) {}

KeyHintLine::~KeyHintLine() = default;

void KeyHintLine::Show(Form* form, int screenWidth) {
  if (coveredBy(form))
    return;
  std::string text = KeyHints::Text(resources, Control::GetActive(), form != nullptr);
  if (text == shown)
    return;
  shown = text;
  label->SetText(text);
  label->Render();
  parkCursorAfter(text, screenWidth);
}

// Drawing the hints leaves the terminal's cursor after their text; the curses cursor goes there
// too, so that the next update sends no cursor move for it.
void KeyHintLine::parkCursorAfter(const std::string& text, int screenWidth) {
  move(row, std::min(String::LengthW(text), std::max(screenWidth - 1, 0)));
}

bool KeyHintLine::coveredBy(Form* form) const {
  if (!form)
    return false;
  Area area = form->GetPanel()->GetPrintArea();
  if (!area.Valid())
    return false;
  std::unique_ptr<Position> top(area.GetPosition());
  std::unique_ptr<Size> size(area.GetSize());
  return top->y <= row && row < top->y + size->height;
}

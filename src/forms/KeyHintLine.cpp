#include "forms/KeyHintLine.h"

#include "forms/Form.h"
#include "forms/KeyHints.h"
#include "ui/Label.h"
#include "ui/Panel.h"

KeyHintLine::KeyHintLine(Logger* logger, Resources* resources, int row, int width)
    : resources(resources),
      label(std::make_unique<Label>(logger, "HintLabel", new Position(0, row), new Size(width, 1),
                                    "", Theme::Basic)),
      row(row) {}

KeyHintLine::~KeyHintLine() = default;

void KeyHintLine::Show(Form* form) {
  if (coveredBy(form))
    return;
  std::string text = KeyHints::Text(resources, Control::GetActive(), form != nullptr);
  if (text == shown)
    return;
  shown = text;
  label->SetText(text);
  label->Render();
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

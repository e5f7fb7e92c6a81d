#include "forms/KeyHints.h"

#include "app/Resources.h"
#include "ui/Button.h"
#include "ui/Checkbox.h"
#include "ui/Field.h"
#include "ui/Number.h"
#include "ui/Select.h"

namespace {
const char* const Separator = "  ";
}

std::string KeyHints::Text(Resources* resources, const Control* active, bool inForm) {
  auto& texts = resources->texts;
  std::string text = texts["HINT_MOVE"] + Separator;
  text += inForm ? texts["HINT_CLOSE"] : texts["HINT_QUIT"];
  std::string own = ownKeys(resources, active);
  return own.empty() ? text : text + Separator + own;
}

std::string KeyHints::ownKeys(Resources* resources, const Control* active) {
  if (active == nullptr)
    return "";
  auto& texts = resources->texts;
  std::string type = active->GetType();
  if (type == Button::TYPE)
    return texts["HINT_PRESS"];
  if (type == Checkbox::TYPE)
    return texts["HINT_TOGGLE"];
  if (type == Select<int>::TYPE)
    return texts["HINT_CHOOSE"];
  if (type == Field::TYPE || type == Number<int>::TYPE)
    return texts["HINT_INSERT"] +
           (Field::Insert ? texts["HINT_MODE_INSERT"] : texts["HINT_MODE_OVERWRITE"]);
  return "";
}

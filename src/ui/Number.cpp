#include "ui/Number.h"

#include <curses.h>

#include <algorithm>
#include <type_traits>

#include "ui/EntryText.h"
#include "ui/Field.h"
#include "ui/Keys.h"
#include "ui/NumberText.h"
#include "ui/Style.h"
#include "util/String.h"

namespace {
const char Point = '.';
}  // namespace

template <typename T>
Number<T>::Number(Logger* logger, std::string name, Position* position, Size* size, T value)
    : Control(logger, TYPE, std::move(name), position, size, true),
      initialValue(value),
      value(value),
      precision(std::is_same_v<T, int> ? 0 : -1),
      measured(size == nullptr) {
  showFromEnd();
}

template <typename T>
Size Number<T>::CalculateSize() {
  return Size(GetText());
}

template <typename T>
std::string Number<T>::GetText() const {
  return String::ToStringWithPrecision<T>(value, precision);
}

template <typename T>
void Number<T>::SetValue(T newValue) {
  if (bind) {
    bind->Set(newValue);
    value = bind->Get();
  } else {
    value = newValue;
  }
  restoreTempPrecision();
  showFromEnd();
  redraw();
}

template <typename T>
void Number<T>::SetBind(typename Bind<T>::Getter getter, typename Bind<T>::Setter setter) {
  log("Number::SetBind on " + name + ".");
  bind = std::make_unique<Bind<T>>(std::move(getter), std::move(setter));
  value = bind->Get();
  initialValue = value;
  restoreTempPrecision();
  showFromEnd();
  redraw();
}

template <typename T>
void Number<T>::Refresh() {
  if (bind) {
    T bound = bind->Get();
    if (bound != value) {
      value = bound;
      restoreTempPrecision();
      showFromEnd();
    }
  }
  redraw();
}

template <typename T>
void Number<T>::SetPrecision(int newPrecision) {
  if (std::is_same_v<T, int> && newPrecision != 0) {
    log("Number::SetPrecision " + std::to_string(newPrecision) + " on integer " + name + ".");
    throw "Invalid type precision";
  }
  precision = newPrecision;
  temporaryPrecision = false;
  if (bind)
    value = bind->Get();
  if (measured)
    size = std::make_unique<Size>(CalculateSize());
  showFromEnd();
  redraw();
}

template <typename T>
void Number<T>::Render() {
  Area print = GetPrintArea();
  if (!print.Valid())
    return;
  if (IsActive())
    keepCursorVisible();
  std::string text = GetText();
  std::string shown =
      offset < 0 ? std::string(-offset, ' ') + text : String::SubStrW(text, offset, 0);
  {
    Style style(Theme::Input);
    printContentInArea(&print, shown);
  }
  rendered = true;
  drawCursor();
}

template <typename T>
void Number<T>::drawCursor() {
  EntryText::DrawCursor(*this, cursor - offset, EntryText::CharacterAt(GetText(), cursor));
}

template <typename T>
bool Number<T>::OnKeyPress(int key) {
  if (navigate(key) || remove(key))
    return true;
  if (key == KEY_IC) {
    Field::Insert = !Field::Insert;
    drawCursor();
    return true;
  }
  return typeByte(key);
}

template <typename T>
bool Number<T>::navigate(int key) {
  int last = length();
  switch (key) {
    case KEY_HOME:
      cursor = 0;
      offset = std::min(last - width(), 0);
      break;
    case KEY_END:
      cursor = last;
      offset = last - width();
      break;
    case KEY_RIGHT:
      cursor = std::min(cursor + 1, last);
      if (cursor - offset >= width())
        offset = cursor - width() + 1;
      break;
    case KEY_LEFT:
      cursor = std::max(cursor - 1, 0);
      offset = std::min(offset, cursor);
      break;
    default:
      return false;
  }
  redraw();
  return true;
}

template <typename T>
bool Number<T>::remove(int key) {
  std::string text = GetText();
  if (key == Keys::Backspace) {
    if (cursor > 0)
      apply(String::RemoveAt(text, cursor - 1), cursor - 1, 0);
  } else if (key == KEY_DC) {
    if (cursor < length())
      apply(String::RemoveAt(text, cursor), cursor, 0);
  } else {
    return false;
  }
  return true;
}

template <typename T>
bool Number<T>::typeByte(int key) {
  int byte = EntryText::ByteOf(key);
  if (byte < 0)
    return false;
  char c = static_cast<char>(byte);
  bool separator = NumberText::IsPrecisionSeparatorChar(c);
  if (!Field::IsNumberChar(c) && !separator)
    return false;
  if (separator && std::is_same_v<T, int>)
    return true;
  char typedChar = separator ? Point : c;
  std::string typed = EntryText::Put(GetText(), cursor, std::string(1, typedChar), Field::Insert);
  if (NumberText::CountPoints(typed) <= 1)
    apply(typed, cursor + 1, typedChar);
  return true;
}

// Takes the typed text as the new value unless the shown text or the value's own digits would
// differ from the digits typed (a number too large for the type, fraction digits beyond the
// precision, or more digits than a double keeps).
template <typename T>
void Number<T>::apply(const std::string& typed, int typedCursor, char typedChar) {
  T parsed = value;
  if (!parse(typed, &parsed))
    return;
  int shownPrecision = precision;
  bool shownTemporary = temporaryPrecision;
  nextPrecision(typed, typedChar, &shownPrecision, &shownTemporary);
  std::string shown = String::ToStringWithPrecision<T>(parsed, shownPrecision);
  if (!NumberText::SameDigits(typed, shown) ||
      !NumberText::SameDigits(typed, String::ToStringWithPrecision<T>(parsed, -1)))
    return;
  int previousLength = length();
  value = parsed;
  precision = shownPrecision;
  temporaryPrecision = shownTemporary;
  cursor = NumberText::MapCursor(typed, typedCursor, shown);
  fitOffset(previousLength);
  redraw();
}

template <typename T>
bool Number<T>::parse(const std::string& text, T* result) const {
  if constexpr (std::is_same_v<T, int>)
    return NumberText::ParseInt(text, result);
  else
    return NumberText::ParseDouble(text, result);
}

// A point typed while the precision is automatic starts a temporary precision; while it lasts
// the shown fraction is as long as the typed one (at least one digit), so typed zeros stay and
// no digit of the value is hidden. A typed digit other than 0, or losing the point, ends it.
template <typename T>
void Number<T>::nextPrecision(const std::string& typed, char typedChar, int* shownPrecision,
                              bool* shownTemporary) const {
  if (std::is_same_v<T, int>)
    return;
  if (typedChar == Point && precision < 0)
    *shownTemporary = true;
  else if (typedChar != 0 && typedChar != Point && typedChar != '0')
    *shownTemporary = false;
  if (*shownTemporary && NumberText::CountPoints(typed) == 0)
    *shownTemporary = false;
  if (*shownTemporary)
    *shownPrecision = std::max(1, NumberText::FractionLength(typed));
  else if (temporaryPrecision)
    *shownPrecision = -1;
}

template <typename T>
void Number<T>::restoreTempPrecision() {
  if (!temporaryPrecision)
    return;
  temporaryPrecision = false;
  precision = -1;
}

template <typename T>
bool Number<T>::OnMouseClick(Mouse* mouse) {
  int shownOffset = offset;
  bool handled = Control::OnMouseClick(mouse);
  if (!handled)
    return false;
  int column = shownOffset + EntryText::ClickedColumn(*this, mouse);
  cursor = std::clamp(column, 0, length());
  offset = shownOffset;
  redraw();
  return handled;
}

// The value is right-aligned after the bind has taken it: a setter that shows another value
// renders while the field is still active, which makes room for the cursor again.
template <typename T>
void Number<T>::Blur() {
  restoreTempPrecision();
  if (bind)
    contain("Number::Blur " + name, [this] { bind->Set(value); });
  cursor = std::min(cursor, length());
  offset = length() - width();
  Control::Blur();
}

template <typename T>
void Number<T>::showFromEnd() {
  cursor = length();
  offset = cursor - width();
}

// Keeps the right end of the text where it was, within the limits of right alignment and of a
// visible cursor.
template <typename T>
void Number<T>::fitOffset(int previousLength) {
  int last = length();
  int columns = width();
  offset += last - previousLength;
  int low = std::max(last < columns ? last - columns : 0, cursor - columns + 1);
  int high = std::min(last - columns + 1, cursor);
  offset = std::clamp(offset, low, high);
}

template <typename T>
void Number<T>::keepCursorVisible() {
  offset = std::clamp(offset, cursor - width() + 1, cursor);
}

template <typename T>
int Number<T>::length() const {
  return String::LengthW(GetText());
}

template <typename T>
int Number<T>::width() {
  if (!size)
    size = std::make_unique<Size>(Number<T>::CalculateSize());
  return std::max(size->width, 1);
}

template <typename T>
void Number<T>::redraw() {
  if (rendered)
    Render();
}

template class Number<int>;
template class Number<double>;

#pragma once

#include <memory>
#include <string>

#include "ui/Bind.h"
#include "ui/Control.h"

// A numeric entry for int or double values, shown right-aligned with a count of fraction digits
// (the precision: below 0 as many as needed, 0 none, above 0 that many). The shown text is
// edited with the keys of a text field and read back into the number after every key, so it
// always shows the value in its formatted form. While a fraction is being typed into a double
// field with automatic precision, a temporary precision keeps the point and typed zeros
// visible until the field loses the focus. A bound value is written when the field loses the
// focus.
template <typename T>
class Number : public Control {
 public:
  static constexpr const char* TYPE = "Number";

  // Takes ownership of position and size; a null size is measured from the formatted value.
  Number(Logger* logger, std::string name, Position* position, Size* size, T value);

  Size CalculateSize() override;
  T GetValue() const { return value; }
  bool IsModified() const { return value != initialValue; }
  int GetPrecision() const { return precision; }
  // The cursor in the shown text, and the first character shown (negative while the text is
  // right-aligned with blanks in front of it).
  int GetCursor() const { return cursor; }
  int GetOffset() const { return offset; }
  // The text the field shows for its value.
  std::string GetText() const;
  // Through the bind when there is one; the cursor goes to the end.
  void SetValue(T newValue);
  // Replaces any previous bind and takes its value as the initial one.
  void SetBind(typename Bind<T>::Getter getter, typename Bind<T>::Setter setter);
  void Refresh();
  // An int field takes only 0 and throws "Invalid type precision" for any other precision.
  void SetPrecision(int newPrecision);

  void Render() override;
  bool OnKeyPress(int key) override;
  bool OnMouseClick(Mouse* mouse) override;
  void Blur() override;

 private:
  bool navigate(int key);
  bool remove(int key);
  bool typeByte(int key);
  void apply(const std::string& typed, int typedCursor, char typedChar);
  bool parse(const std::string& text, T* result) const;
  void nextPrecision(const std::string& typed, char typedChar, int* shownPrecision,
                     bool* shownTemporary) const;
  void restoreTempPrecision();
  void showFromEnd();
  void fitOffset(int previousLength);
  void keepCursorVisible();
  void drawCursor();
  int length() const;
  int width();
  void redraw();

  T initialValue;
  T value;
  int precision;
  bool temporaryPrecision = false;
  int offset = 0;
  int cursor = 0;
  std::unique_ptr<Bind<T>> bind;
  // The size was measured from the value rather than given.
  bool measured;
};

extern template class Number<int>;
extern template class Number<double>;

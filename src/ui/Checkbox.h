#pragma once

#include <memory>
#include <string>

#include "ui/Bind.h"
#include "ui/Control.h"

// A boolean shown as a three-cell box, with a diamond when set, followed by its caption. With a
// bind every change goes through the setter and the getter decides the value that stays.
class Checkbox : public Control {
 public:
  static constexpr const char* TYPE = "Checkbox";

  // Takes ownership of position and size; a null size is measured from the text.
  Checkbox(Logger* logger, std::string name, Position* position, Size* size, std::string text,
           bool value);

  Size CalculateSize() override;
  bool GetValue() const { return value; }
  bool IsModified() const { return value != initialValue; }
  void SetValue(bool newValue);
  void SwitchValue();
  // Replaces any previous bind and takes its value as the initial one.
  void SetBind(Bind<bool>::Getter getter, Bind<bool>::Setter setter);
  void Refresh();

  void Render() override;
  bool OnKeyPress(int key) override;
  bool OnMouseClick(Mouse* mouse) override;

 private:
  void change(bool newValue);
  void drawContent();
  void drawDiamond(const Position& at);

  bool initialValue;
  bool value;
  std::string text;
  std::unique_ptr<Bind<bool>> bind;
};

#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/Theme.h"

// A text, possibly of several lines, drawn in one theme. A label never takes the focus.
class Label : public Control {
 public:
  static constexpr const char* TYPE = "Label";

  // Takes ownership of position and size; a null size is measured from the text.
  Label(Logger* logger, std::string name, Position* position, Size* size, std::string text,
        Theme theme);

  Size CalculateSize() override { return Size(text); }
  // Shows text from the next Render on; the size stays as it is.
  void SetText(std::string text) { this->text = std::move(text); }
  void Render() override;

 private:
  std::string text;
  Theme theme;
};

#pragma once

#include <functional>
#include <string>

#include "ui/Control.h"

// Drawn in front of every button caption.
inline constexpr const char* BUTTON_INDICATOR = ">";

// A caption behind an indicator that runs its handler on Enter or on a left click inside it.
// A failing handler is logged and contained, so a key or click never ends the input loop.
class Button : public Control {
 public:
  static constexpr const char* TYPE = "Button";
  using ButtonHandler = std::function<void()>;

  // Takes ownership of position and size; a null size is measured from the text. The handler
  // may be empty.
  Button(Logger* logger, std::string name, Position* position, Size* size, std::string text,
         ButtonHandler handler);

  // The size of a button showing text: the text plus one column for the indicator.
  static Size CalculateSizeForContent(const std::string& text);
  Size CalculateSize() override { return CalculateSizeForContent(text); }
  void Render() override;
  bool OnKeyPress(int key) override;
  bool OnMouseClick(Mouse* mouse) override;

 private:
  void runHandler(const std::string& operation, const std::string& how);

  std::string text;
  ButtonHandler handler;
};

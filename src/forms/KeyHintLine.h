#pragma once

#include <memory>
#include <string>

class Form;
class Label;
class Logger;
class Resources;

// The row of key hints for the focused control on the main window, drawn again only when its
// text changes and never over a form that covers the row.
class KeyHintLine {
 public:
  // The line "HintLabel" on row, width cells wide.
  KeyHintLine(Logger* logger, Resources* resources, int row, int width);
  ~KeyHintLine();
  KeyHintLine(const KeyHintLine&) = delete;
  KeyHintLine& operator=(const KeyHintLine&) = delete;

  // The screen was cleared: the next Show draws the hints whatever they were.
  void Forget() { shown.clear(); }
  // Draws the hints for the focused control when they changed; form is the modal form or null.
  void Show(Form* form);

 private:
  bool coveredBy(Form* form) const;

  Resources* resources;
  std::unique_ptr<Label> label;
  int row;
  std::string shown;
};

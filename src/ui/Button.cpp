#include "ui/Button.h"

#include <curses.h>

#include "ui/Keys.h"
#include "ui/Style.h"

Button::Button(Logger* logger, std::string name, Position* position, Size* size, std::string text,
               ButtonHandler handler)
    : Control(logger, TYPE, std::move(name), position, size, true),
      text(std::move(text)),
      handler(std::move(handler)) {}

Size Button::CalculateSizeForContent(const std::string& text) {
  Size size(text);
  size.width += 1;
  return size;
}

void Button::Render() {
  Area print = GetPrintArea();
  if (print.Valid()) {
    Style style(IsActive() ? Theme::Focused : Theme::Button, A_BOLD);
    printContentInArea(&print, BUTTON_INDICATOR + text);
  }
  rendered = true;
}

bool Button::OnKeyPress(int key) {
  if (key != Keys::Enter)
    return false;
  log("Button::OnKeyPress on button " + name + ".");
  runHandler("Button::OnKeyPress", "key press");
  return true;
}

bool Button::OnMouseClick(Mouse* mouse) {
  bool handled = Control::OnMouseClick(mouse);
  if (handled)
    runHandler("Button::OnMouseClick", "click");
  return handled;
}

void Button::runHandler(const std::string& operation, const std::string& how) {
  if (!handler)
    return;
  log(operation + " Call button " + name + " handler by " + how + ".");
  if (contain(operation + " button " + name + " handler", handler))
    log(operation + " End button " + name + " handler execution.");
}

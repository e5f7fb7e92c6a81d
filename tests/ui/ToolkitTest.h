#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Panel.h"

// Builds controls named after their text on an in-memory screen, logging into a capture.
class ToolkitTest : public testing::Test {
 protected:
  Button* button(const std::string& name, int x, int y, Button::ButtonHandler handler = nullptr) {
    return new Button(log.Get(), name, new Position(x, y), nullptr, name, std::move(handler));
  }
  Label* label(const std::string& name, int x, int y) {
    return new Label(log.Get(), name, new Position(x, y), nullptr, name, Theme::Basic);
  }
  // A panel titled with its name; size may be null to fit the items.
  Panel* panel(const std::string& name, int x, int y, ControlList items, Size* size = nullptr,
               bool modal = false) {
    Panel* made = new Panel(log.Get(), name, new Position(x, y), size, name, &items);
    made->SetModalMode(modal);
    return made;
  }
  static std::string activeName() {
    return Control::GetActive() ? Control::GetActive()->GetName() : "none";
  }

  Screen screen;
  LogCapture log;
};

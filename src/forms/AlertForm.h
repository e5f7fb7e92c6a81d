#pragma once

#include <string>

#include "forms/Form.h"

// A message with a single OK button, which runs the close callback and closes the form.
class AlertForm : public Form {
 public:
  // onClose may be empty.
  AlertForm(Logger* logger, Resources* resources, Settings* settings, Container* container,
            std::string name, std::string title, std::string message, Callback onClose);
};

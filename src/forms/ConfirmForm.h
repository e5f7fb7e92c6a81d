#pragma once

#include <string>

#include "forms/Form.h"

// A question with YES and NO. Each button runs its callback while the form is still shown and
// then closes the form.
class ConfirmForm : public Form {
 public:
  // onConfirm is required, onReject may be empty.
  ConfirmForm(Logger* logger, Resources* resources, Settings* settings, Container* container,
              std::string name, std::string title, std::string message, Callback onConfirm,
              Callback onReject);
};

#include "forms/AlertForm.h"

#include "ui/Label.h"
#include "ui/Panel.h"

AlertForm::AlertForm(Logger* logger, Resources* resources, Settings* settings, Container* container,
                     std::string name, std::string title, std::string message, Callback onClose)
    : Form(logger, resources, settings, container, std::move(name), std::move(title)) {
  applyKey = "OK";
  cancelKey = "";
  ControlList items{new Label(logger, "MessageLabel", new Position(0, 0), nullptr, fitted(message),
                              Theme::Basic)};
  createFormControl(&items, answer("AlertForm: " + message, std::move(onClose)), nullptr);
  panel->SetModalMode(true);
}

#include "forms/ConfirmForm.h"

#include "ui/Label.h"
#include "ui/Panel.h"

ConfirmForm::ConfirmForm(Logger* logger, Resources* resources, Settings* settings,
                         Container* container, std::string name, std::string title,
                         std::string message, Callback onConfirm, Callback onReject)
    : Form(logger, resources, settings, container, std::move(name), std::move(title)) {
  applyKey = "YES";
  cancelKey = "NO";
  ControlList items{new Label(logger, "ConfirmLabel", new Position(0, 0), nullptr, fitted(message),
                              Theme::Basic)};
  createFormControl(&items, answer("ConfirmForm: Confirmed - " + message, std::move(onConfirm)),
                    answer("ConfirmForm: Rejected - " + message, std::move(onReject)));
  panel->SetModalMode(true);
}

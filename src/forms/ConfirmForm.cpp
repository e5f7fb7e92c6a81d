#include "forms/ConfirmForm.h"

#include "app/Logger.h"
#include "ui/Label.h"
#include "ui/Panel.h"

ConfirmForm::ConfirmForm(Logger* logger, Resources* resources, Settings* settings,
                         Container* container, std::string name, std::string title,
                         std::string message, Callback onConfirm, Callback onReject)
    : Form(logger, resources, settings, container, std::move(name), std::move(title)) {
  applyKey = "YES";
  cancelKey = "NO";
  ControlList items{
      new Label(logger, "ConfirmLabel", new Position(0, 0), nullptr, message, Theme::Basic)};
  createFormControl(
      &items,
      [this, message, onConfirm] {
        this->logger->Write("ConfirmForm: Confirmed - " + message);
        if (onConfirm)
          onConfirm();
        closeForm();
      },
      [this, message, onReject] {
        this->logger->Write("ConfirmForm: Rejected - " + message);
        if (onReject)
          onReject();
        closeForm();
      });
  panel->SetModalMode(true);
}

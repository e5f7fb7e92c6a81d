#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"

class Button;
class Container;
class Logger;
class Panel;
class Resources;
class Settings;

inline constexpr const char* FORM_NAME_SUFFIX = "FormPanel";
inline constexpr const char* APPLY_BUTTON_NAME_SUFFIX = "ApplyButton";
inline constexpr const char* CANCEL_BUTTON_NAME_SUFFIX = "CancelButton";

// A dialog shown modally over the main window: a framed panel centred on the screen holding the
// form's controls and, on its bottom line, an Apply button and usually a Cancel button. The form
// owns its panel; the window shows the panel and destroys the form when the form asks it to.
class Form {
 public:
  using Callback = std::function<void()>;

  // The services and the container are shared and not owned.
  Form(Logger* logger, Resources* resources, Settings* settings, Container* container,
       std::string name, std::string title);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The centred position (owned by the caller) of a form of this size. A form larger than the
  // screen starts at 0, so that its top left part stays visible.
  Position* calculateCenterPosition(const Size* size);
  // Builds the centred panel around items, which it takes over.
  void createFormControl(ControlList* items);
  // Appends the Apply button and, unless the cancel key is empty, the Cancel button below the
  // items, then builds the panel. An empty onCancel only closes the form.
  void createFormControl(ControlList* items, Callback onApply, Callback onCancel);

  Panel* GetPanel() const { return panel.get(); }
  std::string GetName() const { return name; }
  Button* GetApplyButton() const { return applyButton; }
  // Null when the form has a single button.
  Button* GetCancelButton() const { return cancelButton; }
  // Escape: presses Cancel, or the single button of a form without one. False when the form
  // has no button at all.
  bool Dismiss();

 protected:
  // Runs action; a failure is reported to the container instead of ending the input loop, and
  // is passed on when the container does not take it.
  void guarded(const std::string& operation, const Callback& action);
  void closeForm();
  // A button action that logs line, runs action when it is set, then asks to close the form.
  Callback answer(std::string line, Callback action);
  // message with each line wider than the screen inside a frame broken between its words.
  std::string fitted(const std::string& message);

  std::string name;
  Logger* logger;
  Resources* resources;
  Settings* settings;
  Container* container;
  std::string title;
  std::string applyKey = "APPLY";
  std::string cancelKey = "CANCEL";
  std::unique_ptr<Panel> panel;

 private:
  Button* applyButton = nullptr;
  Button* cancelButton = nullptr;
};

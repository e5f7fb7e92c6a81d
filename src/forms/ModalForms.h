#pragma once

#include <functional>
#include <memory>

#include "ui/Control.h"

class Form;
class Logger;
class Observer;

// The one modal form of the main window: showing it over the window items, the close its
// buttons ask for, closing it, giving the focus back to the control that had it, and the event
// "modalFormClosed" that tells the window's handlers the form has gone.
class ModalForms {
 public:
  // items and events belong to the window and outlive this; redraw draws the whole screen.
  ModalForms(Logger* logger, ControlList* items, Observer* events, std::function<void()> redraw);
  ~ModalForms();
  ModalForms(const ModalForms&) = delete;
  ModalForms& operator=(const ModalForms&) = delete;

  // Shows form, taking ownership of it, in place of the one shown; draw tells whether its panel
  // is drawn now. Showing the form already shown makes it blink.
  void Show(Form* shown, bool draw);
  // Destroys the form now and gives the focus back.
  void Close();
  // Asks for the close that ServeCloseRequest carries out once the current key has been handled.
  void RequestClose() { closeRequested = true; }
  bool CloseRequested() const { return closeRequested; }
  // Closes the form, redraws the screen and then fires "modalFormClosed".
  void ServeCloseRequest();

  // Null when no form is shown.
  Form* Current() const { return form.get(); }
  // The control that gets the focus back when the form closes.
  Control* FocusBefore() const { return focusBefore; }
  void SetFocusBefore(Control* control) { focusBefore = control; }

 private:
  Logger* logger;
  ControlList* items;
  Observer* events;
  std::function<void()> redraw;
  std::unique_ptr<Form> form;
  Control* focusBefore = nullptr;
  bool closeRequested = false;
};

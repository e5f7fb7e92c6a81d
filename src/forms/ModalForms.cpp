#include "forms/ModalForms.h"

#include <algorithm>

#include "app/Logger.h"
#include "events/Event.h"
#include "events/EventNames.h"
#include "events/Observer.h"
#include "forms/Form.h"
#include "ui/Panel.h"

ModalForms::ModalForms(Logger* logger, ControlList* items, Observer* events,
                       std::function<void()> redraw)
    : logger(logger), items(items), events(events), redraw(std::move(redraw)) {}

ModalForms::~ModalForms() = default;

void ModalForms::Show(Form* shown, bool draw) {
  if (form && form.get() == shown) {
    shown->GetPanel()->Blink();
    return;
  }
  if (form)
    Close();
  form.reset(shown);
  focusBefore = Control::GetActive();
  Panel* panel = shown->GetPanel();
  items->push_back(panel);
  panel->Focus();
  if (draw)
    panel->Render();
}

void ModalForms::Close() {
  if (!form)
    return;
  logger->Write("Window::closeModalForm searching form item.");
  auto found = std::find(items->begin(), items->end(), form->GetPanel());
  if (found == items->end()) {
    logger->Write("Current modal form not belongs window items!");
    throw "Out of range";
  }
  items->erase(found);
  form.reset();
  logger->Write("Window::closeModalForm form destroyed.");
  if (focusBefore) {
    focusBefore->Focus();
    focusBefore = nullptr;
  }
}

void ModalForms::ServeCloseRequest() {
  closeRequested = false;
  Close();
  redraw();
  events->fireEvent(EVENT_MODAL_FORM_CLOSED, new Event());
}

#include "forms/Window.h"

#include <curses.h>

#include <algorithm>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Version.h"
#include "events/Event.h"
#include "forms/AlertForm.h"
#include "forms/CursesTerminal.h"
#include "forms/Form.h"
#include "forms/KeyHints.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "util/Failure.h"
#include "util/String.h"

namespace {
const short Pairs[7][2] = {{COLOR_WHITE, COLOR_BLUE},  {COLOR_YELLOW, COLOR_BLUE},
                           {COLOR_BLACK, COLOR_WHITE}, {COLOR_BLACK, COLOR_CYAN},
                           {COLOR_YELLOW, COLOR_CYAN}, {COLOR_WHITE, COLOR_MAGENTA},
                           {COLOR_WHITE, COLOR_RED}};
}  // namespace

Window::Window(Logger* logger, Resources* resources, Settings* settings)
    : Window(logger, resources, settings, new CursesTerminal()) {}

Window::Window(Logger* logger, Resources* resources, Settings* settings, Terminal* terminal)
    : Container(logger, "Window", {EVENT_MODAL_FORM_CLOSED}),
      logger(logger),
      resources(resources),
      settings(settings),
      terminal(terminal) {}

Window::~Window() {
  logger->Write("Destroying Window");
  try {
    closeModalForm();
  } catch (...) {
    logger->Write(Failure::Caught().text);
  }
  destroyItems(true);
  notice.reset();
  hint.reset();
  terminal->Close();
}

int Window::Show(Version* version) {
  terminal->Open();
  themeInit();
  wbkgd(stdscr, COLOR_PAIR(1));
  versionText = resources->texts["VERSION"] + version->ToString();
  layOut();
  Refresh();
  logger->Write(
      "----------------------------Start Window Processing---------------------------------");
  processing();
  logger->Write(
      "-----------------------------End Window Processing----------------------------------");
  return action;
}

Size Window::GetSize() {
  if (stdscr == nullptr)
    return Size(-1, -1);
  return Size(getmaxx(stdscr), getmaxy(stdscr));
}

void Window::themeInit() {
  start_color();
  // The terminal's own colours stand for pair 0, which no item uses, so that resetting to it after
  // each update costs fewer bytes.
  use_default_colors();
  for (short pair = 1; pair <= 7; ++pair)
    init_pair(pair, Pairs[pair - 1][0], Pairs[pair - 1][1]);
}

void Window::Refresh() {
  clear();
  if (tooSmall) {
    notice->Render();
    return;
  }
  for (Control* item : items)
    item->Render();
  hintShown.clear();
  showHint();
}

// Draws the hints for the focused control when they changed, unless a form covers their row.
void Window::showHint() {
  if (!hint || tooSmall || hintCovered())
    return;
  std::string text = KeyHints::Text(resources, Control::GetActive(), modalForm != nullptr);
  if (text == hintShown)
    return;
  hintShown = text;
  hint->SetText(text);
  hint->Render();
  parkCursorAfter(text);
}

// Drawing the hints leaves the terminal's cursor after their text; the curses cursor goes there
// too, so that the next update sends no cursor move for it.
void Window::parkCursorAfter(const std::string& text) {
  std::unique_ptr<Position> row(hint->GetPosition());
  move(row->y, std::min(String::LengthW(text), std::max(GetSize().width - 1, 0)));
}

bool Window::hintCovered() {
  if (!modalForm)
    return false;
  Area form = modalForm->GetPanel()->GetPrintArea();
  if (!form.Valid())
    return false;
  std::unique_ptr<Position> top(form.GetPosition());
  std::unique_ptr<Size> size(form.GetSize());
  std::unique_ptr<Position> row(hint->GetPosition());
  return top->y <= row->y && row->y < top->y + size->height;
}

void Window::ChildDestroyHandler() {
  closeFormRequested = true;
}

void Window::CloseCurrentForm() {
  ChildDestroyHandler();
}

void Window::showModalForm(Form* form) {
  if (modalForm && modalForm.get() == form) {
    form->GetPanel()->Blink();
    return;
  }
  if (modalForm)
    closeModalForm();
  modalForm.reset(form);
  focusBeforeForm = Control::GetActive();
  Panel* panel = form->GetPanel();
  items.push_back(panel);
  panel->Focus();
  if (!tooSmall)
    panel->Render();
}

void Window::closeModalForm() {
  if (!modalForm)
    return;
  logger->Write("Window::closeModalForm searching form item.");
  auto found = std::find(items.begin(), items.end(), modalForm->GetPanel());
  if (found == items.end()) {
    logger->Write("Current modal form not belongs window items!");
    throw "Out of range";
  }
  items.erase(found);
  modalForm.reset();
  logger->Write("Window::closeModalForm form destroyed.");
  if (focusBeforeForm) {
    focusBeforeForm->Focus();
    focusBeforeForm = nullptr;
  }
}

void Window::ReportFailure(const std::string& operation, const std::string& message) {
  logger->Write(operation + " failed:");
  logger->Write(message);
  failurePending = true;
}

void Window::showFailure() {
  failurePending = false;
  showAlert("FailureAlertForm", resources->texts["WARNING"], resources->texts["OPERATION_FAILED"]);
}

void Window::serveCloseRequest() {
  closeFormRequested = false;
  closeModalForm();
  Refresh();
  fireEvent(EVENT_MODAL_FORM_CLOSED, new Event());
}

void Window::LeaveScreenMode() {
  terminal->Close();
}

#include "forms/InputLoop.h"

#include <curses.h>

#include <algorithm>
#include <memory>

#include "app/Logger.h"
#include "app/Settings.h"
#include "app/StopSignals.h"
#include "forms/Form.h"
#include "forms/ModalForms.h"
#include "forms/ScreenLayout.h"
#include "forms/Terminal.h"
#include "ui/Field.h"
#include "ui/Keys.h"
#include "ui/Mouse.h"
#include "ui/Panel.h"
#include "util/Failure.h"

namespace {
// Terminals send Backspace and the keypad's Enter in several ways; controls see one of each.
int normalised(int key) {
  if (key == KEY_BACKSPACE || key == Keys::ControlH)
    return Keys::Backspace;
  if (key == KEY_ENTER)
    return Keys::Enter;
  return key;
}
}  // namespace

InputLoop::InputLoop(Logger* logger, Settings* settings, Terminal* terminal, ScreenLayout* layout,
                     ModalForms* modal, Host* host)
    : logger(logger),
      settings(settings),
      terminal(terminal),
      layout(layout),
      modal(modal),
      host(host),
      focus(logger, &layout->Items()) {}

void InputLoop::Run() {
  while (!finished) {
    if (stopped() || host->ServePending())
      continue;
    layout->ShowHint(modal->Current());
    int key = readKey();
    if (!accepted(key))
      continue;
    try {
      handleKey(normalised(key));
    } catch (...) {
      host->ReportFailure("Window::processing", Failure::Caught().text);
    }
  }
}

void InputLoop::End(int chosen) {
  action = chosen;
  finished = true;
}

// A stop signal ends the loop without an action.
bool InputLoop::stopped() {
  int signal = StopSignals::Received();
  if (signal == 0)
    return false;
  logger->Write("Window::processing stopped by signal " + std::to_string(signal) + ".");
  End(WindowAction::NO_ACTION);
  return true;
}

// False for what the terminal reports instead of a key; the end of the input ends the loop.
bool InputLoop::accepted(int key) {
  if (key == Terminal::TIMED_OUT)
    return false;
  if (key == Terminal::DROPPED) {
    logger->Write("Window::processing dropped an unknown key sequence.");
    return false;
  }
  if (key == Terminal::ENDED) {
    logger->Write("Window::processing input has ended.");
    inputEnded = true;
    End(WindowAction::NO_ACTION);
    return false;
  }
  return true;
}

// Waits for a key only as long as the blinking control allows, so that it keeps blinking. What
// the log holds back reaches the file before any wait, just after the screen is sent: at start-up
// the log file is made and the last run's log moved aside only then.
int InputLoop::readKey() {
  terminal->Update();
  logger->Flush();
  Control::BlinkTick();
  return terminal->ReadKey(Control::BlinkTimeout());
}

void InputLoop::handleKey(int key) {
  if (key == KEY_RESIZE) {
    host->Resize();
    return;
  }
  if (layout->TooSmall()) {
    if (key == Keys::Escape)
      finished = true;
    return;
  }
  Control* active = Control::GetActive();
  if (active && active->OnKeyPress(key))
    return;
  handleUnconsumed(key);
}

void InputLoop::handleUnconsumed(int key) {
  switch (key) {
    case KEY_DOWN:
    case Keys::Tab:
    case Keys::Enter:
      focus.Switch(false);
      break;
    case KEY_UP:
    case KEY_BTAB:
      focus.Switch(true);
      break;
    case Keys::Escape:
      escape();
      break;
    case KEY_IC:
      toggleInsert();
      break;
    case KEY_MOUSE:
      mouseHandler();
      break;
    default:
      break;
  }
}

// Escape answers an open form as its Cancel (or single) button would; on the main screen it
// ends the loop at once, unless there are unsaved changes: then it asks as Exit does.
void InputLoop::escape() {
  Form* form = modal->Current();
  if (!form && settings->IsModified()) {
    host->AskExit();
    return;
  }
  if (!form) {
    finished = true;
    return;
  }
  if (!form->Dismiss())
    modal->RequestClose();
}

// Insert switches every text field between inserting and overwriting.
void InputLoop::toggleInsert() {
  Field::Insert = !Field::Insert;
}

// A left click goes to the open form's panel under the pointer, otherwise to the first item
// under it.
int InputLoop::mouseHandler() {
  Mouse mouse;
  if (!mouse.IsLeftClick())
    return 0;
  std::unique_ptr<Position> point(mouse.GetPosition());
  Form* form = modal->Current();
  Control* target = nullptr;
  if (form && form->GetPanel()->BelongsPosition(point.get())) {
    target = form->GetPanel();
  } else {
    const ControlList& items = layout->Items();
    auto found = std::find_if(items.begin(), items.end(), [&point](Control* item) {
      return item->BelongsPosition(point.get());
    });
    if (found == items.end())
      return 0;
    target = *found;
  }
  return target->OnMouseClick(&mouse);
}

#include <curses.h>

#include <algorithm>
#include <memory>

#include "app/Logger.h"
#include "app/Settings.h"
#include "app/StopSignals.h"
#include "forms/Form.h"
#include "forms/Terminal.h"
#include "forms/Window.h"
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

void Window::processing() {
  while (!finished) {
    if (int signal = StopSignals::Received()) {
      logger->Write("Window::processing stopped by signal " + std::to_string(signal) + ".");
      finished = true;
      action = WindowAction::NO_ACTION;
      continue;
    }
    if (closeFormRequested) {
      serveCloseRequest();
      continue;
    }
    if (failurePending) {
      showFailure();
      continue;
    }
    if (!deferred.empty()) {
      runDeferred();
      continue;
    }
    showHint();
    int key = readKey();
    if (key == Terminal::TIMED_OUT)
      continue;
    if (key == Terminal::DROPPED) {
      logger->Write("Window::processing dropped an unknown key sequence.");
      continue;
    }
    if (key == Terminal::ENDED) {
      logger->Write("Window::processing input has ended.");
      inputEnded = true;
      finished = true;
      action = WindowAction::NO_ACTION;
      continue;
    }
    try {
      handleKey(normalised(key));
    } catch (...) {
      ReportFailure("Window::processing", Failure::Caught().text);
    }
  }
}

void Window::Defer(std::function<void()> action) {
  deferred.push_back(std::move(action));
}

void Window::runDeferred() {
  Action action = std::move(deferred.front());
  deferred.erase(deferred.begin());
  try {
    action();
  } catch (...) {
    ReportFailure("Window::runDeferred", Failure::Caught().text);
  }
}

// Waits for a key only as long as the blinking control allows, so that it keeps blinking.
int Window::readKey() {
  Control::BlinkTick();
  return terminal->ReadKey(Control::BlinkTimeout());
}

void Window::handleKey(int key) {
  if (key == KEY_RESIZE) {
    relayout();
    Refresh();
    return;
  }
  if (tooSmall) {
    if (key == Keys::Escape)
      finished = true;
    return;
  }
  Control* active = Control::GetActive();
  if (active && active->OnKeyPress(key))
    return;
  handleUnconsumed(key);
}

void Window::handleUnconsumed(int key) {
  switch (key) {
    case KEY_DOWN:
    case Keys::Tab:
    case Keys::Enter:
      switchControl(false);
      break;
    case KEY_UP:
    case KEY_BTAB:
      switchControl(true);
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
void Window::escape() {
  if (!modalForm && settings->IsModified()) {
    OnExit();
    return;
  }
  if (!modalForm) {
    finished = true;
    return;
  }
  if (!modalForm->Dismiss())
    CloseCurrentForm();
}

// Insert switches every text field between inserting and overwriting.
void Window::toggleInsert() {
  Field::Insert = !Field::Insert;
}

int Window::mouseHandler() {
  Mouse mouse;
  if (!mouse.IsLeftClick())
    return 0;
  std::unique_ptr<Position> point(mouse.GetPosition());
  Control* target = nullptr;
  if (modalForm && modalForm->GetPanel()->BelongsPosition(point.get())) {
    target = modalForm->GetPanel();
  } else {
    auto found = std::find_if(items.begin(), items.end(), [&point](Control* item) {
      return item->BelongsPosition(point.get());
    });
    if (found == items.end())
      return 0;
    target = *found;
  }
  return target->OnMouseClick(&mouse);
}

void Window::switchControl(bool back) {
  if (Control::SwitchActive(back))
    return;
  Control* current = Control::GetActive();
  if (current == nullptr) {
    auto first =
        std::find_if(items.begin(), items.end(), [](Control* item) { return item->Focusable(); });
    if (first != items.end())
      (*first)->Focus();
    return;
  }
  if (Control* parent = current->GetParent()) {
    if (parent->IsModal() || parent->GetParent())
      return;
    current = parent;
  }
  auto found = std::find(items.begin(), items.end(), current);
  if (found == items.end()) {
    logger->Write("Window::switchControl found control " + current->GetName() +
                  " that out of this scope.");
    return;
  }
  int count = static_cast<int>(items.size());
  int start = static_cast<int>(found - items.begin());
  int step = back ? count - 1 : 1;
  for (int index = (start + step) % count; index != start; index = (index + step) % count) {
    if (items[index]->Focusable()) {
      items[index]->Focus();
      return;
    }
  }
}

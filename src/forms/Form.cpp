#include "forms/Form.h"

#include <algorithm>

#include "app/Logger.h"
#include "app/Resources.h"
#include "ui/Button.h"
#include "ui/Container.h"
#include "ui/Keys.h"
#include "ui/Panel.h"
#include "util/Failure.h"
#include "util/String.h"

namespace {
const int FrameWidth = 2;

// line broken between words into lines of at most width characters; a longer word stays whole.
std::string wrapped(const std::string& line, int width) {
  if (String::LengthW(line) <= width)
    return line;
  std::string text;
  std::string current;
  for (const std::string& word : String::Split(line, " ")) {
    if (current.empty()) {
      current = word;
    } else if (String::LengthW(current) + 1 + String::LengthW(word) <= width) {
      current += " " + word;
    } else {
      text += current + "\n";
      current = word;
    }
  }
  return text + current;
}
}  // namespace

Form::Form(Logger* logger, Resources* resources, Settings* settings, Container* container,
           std::string name, std::string title)
    : name(std::move(name)),
      logger(logger),
      resources(resources),
      settings(settings),
      container(container),
      title(std::move(title)) {}

Form::~Form() = default;

Position* Form::calculateCenterPosition(const Size* size) {
  Size screen = container->GetSize();
  return new Position(std::max(0, (screen.width - size->width) / 2),
                      std::max(0, (screen.height - size->height) / 2));
}

void Form::createFormControl(ControlList* items) {
  Size size = Panel::CalculateSizeForContent(title, items);
  panel = std::make_unique<Panel>(logger, name + FORM_NAME_SUFFIX, calculateCenterPosition(&size),
                                  nullptr, title, items);
}

void Form::createFormControl(ControlList* items, Callback onApply, Callback onCancel) {
  Size content = Panel::CalculateSizeForContent(title, items);
  int innerWidth = std::max(0, content.width - 2);
  int innerHeight = std::max(0, content.height - 2);
  std::string applyText = resources->texts[applyKey];
  int applyWidth = Button::CalculateSizeForContent(applyText).width;
  int half = cancelKey.empty() ? applyWidth / 2 : applyWidth;
  int applyX = std::max(0, innerWidth / 2 - half);
  applyButton = new Button(
      logger, name + APPLY_BUTTON_NAME_SUFFIX, new Position(applyX, innerHeight + 1), nullptr,
      applyText, [this, onApply = std::move(onApply)] { guarded(name + " apply", onApply); });
  items->push_back(applyButton);
  if (!cancelKey.empty()) {
    if (!onCancel)
      onCancel = [this] { closeForm(); };
    int cancelX = std::max(applyX + applyWidth, innerWidth / 2) + 1;
    cancelButton = new Button(
        logger, name + CANCEL_BUTTON_NAME_SUFFIX, new Position(cancelX, innerHeight + 1), nullptr,
        resources->texts[cancelKey], [this, onCancel] { guarded(name + " cancel", onCancel); });
    items->push_back(cancelButton);
  }
  createFormControl(items);
}

bool Form::Dismiss() {
  Button* button = cancelButton ? cancelButton : applyButton;
  if (button == nullptr)
    return false;
  button->OnKeyPress(Keys::Enter);
  return true;
}

void Form::guarded(const std::string& operation, const Callback& action) {
  if (!action)
    return;
  try {
    action();
  } catch (...) {
    if (!container->ReportFailure(operation, Failure::Caught().text))
      throw;
  }
}

void Form::closeForm() {
  container->ChildDestroyHandler();
}

Form::Callback Form::answer(std::string line, Callback action) {
  return [this, line, action = std::move(action)] {
    logger->Write(line);
    if (action)
      action();
    closeForm();
  };
}

std::string Form::fitted(const std::string& message) {
  int width = container->GetSize().width - FrameWidth;
  if (width < 1)
    return message;
  std::string text;
  std::vector<std::string> lines = String::Split(message, "\n");
  for (size_t index = 0; index < lines.size(); ++index)
    text += (index > 0 ? "\n" : "") + wrapped(lines[index], width);
  return text;
}

#include "events/Observer.h"

#include <algorithm>
#include <memory>

#include "app/Logger.h"
#include "events/Event.h"
#include "events/Handler.h"

Observer::Observer(Logger* logger, std::string name, const std::vector<std::string>& names)
    : logger(logger), name(std::move(name)) {
  for (const std::string& event : names)
    events.emplace(event, Handlers());
}

Observer::~Observer() {
  if (events.empty()) {
    logger->Write("Observer[" + name + "]: Destroying empty events.");
    return;
  }
  for (auto& [event, list] : events) {
    for (Handler* handler : list)
      delete handler;
    list.clear();
  }
  events.clear();
  logger->Write("Observer[" + name + "]: Events map destroyed.");
}

Observer::Handlers* Observer::getEventListeners(const std::string& eventName) {
  auto found = events.find(eventName);
  if (found == events.end())
    throw std::string("Observer[" + name + "]::AppendListener: Cant't find event key " + eventName +
                      ".");
  return &found->second;
}

void Observer::AppendListener(const std::string& eventName, Handler* handler) {
  Handlers* list = getEventListeners(eventName);
  if (std::find(list->begin(), list->end(), handler) == list->end())
    list->push_back(handler);
}

void Observer::RemoveListener(const std::string& eventName, Handler* handler) {
  Handlers* list = getEventListeners(eventName);
  if (std::find(list->begin(), list->end(), handler) == list->end() || isRemoved(handler))
    return;
  if (depth > 0) {
    retired.push_back({list, handler});
    return;
  }
  delete handler;
  list->remove(handler);
}

void Observer::fireEvent(const std::string& eventName, Event* event) {
  std::unique_ptr<Event> owned(event);
  logger->Write("Observer[" + name + "]::fireEvent " + eventName + ".");
  Handlers* list = getEventListeners(eventName);
  ++depth;
  dispatch(eventName, list, event);
  --depth;
  owned.reset();
  if (depth == 0)
    destroyRetired();
  logger->Write("Observer[" + name + "]::fireEvent " + eventName + " was handled.");
}

// Walks the list in place: the successor is read after each call, so a handler appended
// during the walk is reached in the same pass. Handlers are never erased during a walk.
void Observer::dispatch(const std::string& eventName, Handlers* list, Event* event) {
  for (auto entry = list->begin(); entry != list->end(); ++entry) {
    if (event != nullptr && !event->Alive())
      break;
    Handler* handler = *entry;
    if (isRemoved(handler))
      continue;
    handler->Invoke(eventName, event);
    if (handler->Single())
      retire(list, handler);
  }
}

bool Observer::isRemoved(const Handler* handler) const {
  return std::any_of(retired.begin(), retired.end(),
                     [handler](const Retired& entry) { return entry.handler == handler; });
}

void Observer::retire(Handlers* list, Handler* handler) {
  if (!isRemoved(handler))
    retired.push_back({list, handler});
}

// Runs when the outermost dispatch has finished, in the order the handlers were retired.
void Observer::destroyRetired() {
  std::vector<Retired> done;
  done.swap(retired);
  for (const Retired& entry : done) {
    entry.list->remove(entry.handler);
    delete entry.handler;
  }
}

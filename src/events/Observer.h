#pragma once

#include <list>
#include <map>
#include <string>
#include <vector>

class Event;
class Handler;
class Logger;

// Owns a fixed set of named events, each with an ordered list of handlers, and delivers fired
// events to them synchronously. Unknown event names are reported by throwing a std::string.
class Observer {
 public:
  Observer(Logger* logger, std::string name, const std::vector<std::string>& names);
  virtual ~Observer();
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;

  // Takes ownership of handler; a handler already in the event's list is not added again.
  void AppendListener(const std::string& eventName, Handler* handler);
  // Destroys handler when it is in the event's list. During a dispatch the handler is only
  // detached and destroyed once the outermost dispatch has finished.
  void RemoveListener(const std::string& eventName, Handler* handler);
  // Takes ownership of event and destroys it before returning, also when eventName is unknown.
  void fireEvent(const std::string& eventName, Event* event);

 protected:
  using Handlers = std::list<Handler*>;
  Handlers* getEventListeners(const std::string& eventName);

 private:
  struct Retired {
    Handlers* list;
    Handler* handler;
  };

  void dispatch(const std::string& eventName, Handlers* list, Event* event);
  bool isRemoved(const Handler* handler) const;
  void retire(Handlers* list, Handler* handler);
  void destroyRetired();

  Logger* logger;
  std::string name;
  std::map<std::string, Handlers> events;
  int depth = 0;
  std::vector<Retired> retired;
};

#pragma once

#include <functional>
#include <string>

class Event;
class Logger;

// A callback registered for one event of an Observer. A single-shot handler runs at most once:
// the observer drops it after the dispatch in which it ran.
class Handler {
 public:
  using Callback = std::function<void(Event*)>;

  Handler(Logger* logger, Callback callback, bool single);
  virtual ~Handler() = default;
  Handler(const Handler&) = delete;
  Handler& operator=(const Handler&) = delete;

  bool Single() const { return single; }
  // Runs the callback once. A failure of the callback is logged and goes no further.
  void Invoke(const std::string& eventName, Event* event);

 private:
  Logger* logger;
  Callback callback;
  bool single;
  bool fired = false;
};

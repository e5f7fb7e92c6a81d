#include "events/Handler.h"

#include "app/Logger.h"
#include "util/Failure.h"

Handler::Handler(Logger* logger, Callback callback, bool single)
    : logger(logger), callback(std::move(callback)), single(single) {}

void Handler::Invoke(const std::string& eventName, Event* event) {
  if (fired) {
    logger->Write("Handle " + eventName + " event was prevented.");
    return;
  }
  logger->Write("Handle " + eventName + " event...");
  if (single)
    fired = true;
  try {
    if (callback)
      callback(event);
    logger->Write("Event " + eventName + " was handled.");
  } catch (...) {
    Failure::Kind failure = Failure::Caught();
    if (!failure.known) {
      logger->Write("Unknown event handle exception.");
      return;
    }
    logger->Write("Event handle exception:");
    logger->Write(failure.text);
  }
}

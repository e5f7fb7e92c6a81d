#include "events/Handler.h"

#include "app/Logger.h"

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
  } catch (const char* message) {
    logger->Write("Event handle exception:");
    logger->Write(message);
  } catch (...) {
    logger->Write("Unknown event handle exception.");
  }
}

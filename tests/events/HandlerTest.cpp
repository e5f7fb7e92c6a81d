#include "events/Handler.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "events/Event.h"
#include "support/LogCapture.h"

// A single-shot handler runs once whether its callback ends or throws; a throw is logged and
// goes no further.
TEST(Handler, SingleShotRunsOnceAndContainsFailingCallbacks) {
  struct Case {
    std::function<void(Event*)> callback;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {[](Event*) {},
       {"Handle x event...", "Event x was handled.", "Handle x event was prevented."}},
      {[](Event*) { throw "Disk is full"; },
       {"Handle x event...", "Event handle exception:", "Disk is full",
        "Handle x event was prevented."}},
      {[](Event*) { throw std::runtime_error("other"); },
       {"Handle x event...", "Event handle exception:", "other", "Handle x event was prevented."}},
      {[](Event*) { throw 42; },
       {"Handle x event...", "Unknown event handle exception.", "Handle x event was prevented."}},
  };
  for (const Case& test : cases) {
    LogCapture log;
    int calls = 0;
    Handler handler(
        log.Get(),
        [&](Event* event) {
          ++calls;
          test.callback(event);
        },
        true);
    EXPECT_NO_THROW(handler.Invoke("x", nullptr));
    handler.Invoke("x", nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(log.Take(), test.lines);
  }
}

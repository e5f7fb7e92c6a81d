#include "events/Handler.h"

#include <gtest/gtest.h>

#include "events/Event.h"
#include "support/LogCapture.h"

// A single-shot handler runs once whether its callback ends or throws; a throw is logged and
// goes no further.
TEST(Handler, SingleShotRunsOnceAndContainsFailingCallbacks) {
  const std::pair<std::function<void()>, std::vector<std::string>> cases[] = {
      {[] {}, {"Handle x event...", "Event x was handled.", "Handle x event was prevented."}},
      {[] { throw "Disk is full"; },
       {"Handle x event...", "Event handle exception:", "Disk is full",
        "Handle x event was prevented."}},
      {[] { throw 42; },
       {"Handle x event...", "Unknown event handle exception.", "Handle x event was prevented."}},
  };
  for (const auto& [callback, lines] : cases) {
    LogCapture log;
    int calls = 0;
    Handler handler(
        log.Get(), [&](Event*) { ++calls, callback(); }, true);
    EXPECT_NO_THROW(handler.Invoke("x", nullptr));
    handler.Invoke("x", nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(log.Take(), lines);
  }
}

#include "events/Handler.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "events/Event.h"
#include "support/LogCapture.h"

TEST(Handler, SingleShotRunsOnceAndReportsLaterCallsAsPrevented) {
  LogCapture log;
  int calls = 0;
  Handler handler(
      log.Get(), [&](Event*) { ++calls; }, true);
  EXPECT_TRUE(handler.Single());
  handler.Invoke("closed", nullptr);
  handler.Invoke("closed", nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"Handle closed event...", "Event closed was handled.",
                                      "Handle closed event was prevented."}));
}

TEST(Handler, ContainsAndLogsFailingCallbacks) {
  struct Case {
    std::function<void(Event*)> callback;
    std::vector<std::string> lines;
  };
  std::vector<Case> cases = {
      {[](Event*) { throw "Disk is full"; },
       {"Handle x event...", "Event handle exception:", "Disk is full"}},
      {[](Event*) { throw std::runtime_error("other"); },
       {"Handle x event...", "Unknown event handle exception."}},
      {[](Event*) { throw 42; }, {"Handle x event...", "Unknown event handle exception."}},
  };
  for (const Case& test : cases) {
    LogCapture log;
    Handler handler(log.Get(), test.callback, true);
    EXPECT_NO_THROW(handler.Invoke("x", nullptr));
    EXPECT_EQ(log.Take(), test.lines);
  }
}

TEST(Handler, SingleShotThatFailedStillCountsAsFired) {
  LogCapture log;
  int calls = 0;
  Handler handler(
      log.Get(), [&](Event*) { ++calls, throw "bad"; }, true);
  handler.Invoke("x", nullptr);
  handler.Invoke("x", nullptr);
  EXPECT_EQ(calls, 1);
}

#include "events/Observer.h"

#include <gtest/gtest.h>

#include "events/Event.h"
#include "events/Handler.h"
#include "support/LogCapture.h"

namespace {
class ObserverTest : public testing::Test {
 protected:
  Handler* handler(std::function<void(Event*)> callback, bool single = false) {
    return new Handler(log.Get(), std::move(callback), single);
  }
  Handler* recorder(const std::string& label, bool single = false) {
    return handler([this, label](Event*) { calls.push_back(label); }, single);
  }
  void fire() { observer.fireEvent("e", new Event()); }

  LogCapture log;
  Observer observer{log.Get(), "W", {"e", "f", "e"}};
  std::vector<std::string> calls;
};
}  // namespace

// A single-shot handler skipped by the prevention in the first dispatch waits for the next
// dispatch, and is dropped after the dispatch in which it ran; a handler appended twice runs once;
// a failing one is logged and the next one still runs.
TEST_F(ObserverTest, HandlersRunInOrderUntilOneIsPrevented) {
  int dispatches = 0;
  Handler* always = recorder("always");
  observer.AppendListener("e", handler([](Event*) { throw "Cannot save"; }));
  observer.AppendListener("e", handler([&](Event* event) {
                            if (dispatches++ == 0)
                              event->Prevent();
                          }));
  observer.AppendListener("e", recorder("once", true));
  observer.AppendListener("e", always);
  observer.AppendListener("e", always);
  fire(), fire(), fire();
  EXPECT_THROW(observer.fireEvent("missing", new Event()), std::string);  // released all the same
  EXPECT_EQ(calls, (std::vector<std::string>{"once", "always", "always"}));
  EXPECT_EQ(LogCapture::Count(log.Take(), "Cannot save"), 3);
}

TEST_F(ObserverTest, AHandlerAppendedDuringADispatchRunsInTheSamePassAndARemovedOneDoesNot) {
  Handler* later = recorder("later");
  observer.AppendListener("e", handler([&](Event*) {
                            observer.RemoveListener("e", later);
                            observer.AppendListener("e", recorder("added", true));
                          }));
  observer.AppendListener("e", later);
  fire();
  EXPECT_EQ(calls, std::vector<std::string>{"added"});
}

// A nested dispatch of the same event must not destroy a handler the outer walk still holds.
TEST_F(ObserverTest, NestedDispatchOfTheSameEventKeepsSingleShotHandlersAlive) {
  int depth = 0;
  observer.AppendListener("e", handler(
                                   [&](Event*) {
                                     calls.push_back("outer once");
                                     if (depth++ == 0)
                                       fire();
                                   },
                                   true));
  observer.AppendListener("e", recorder("once", true));
  fire(), fire();
  EXPECT_EQ(calls, (std::vector<std::string>{"outer once", "once"}));
}

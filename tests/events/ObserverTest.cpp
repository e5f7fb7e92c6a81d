#include "events/Observer.h"

#include <gtest/gtest.h>

#include "events/Event.h"
#include "events/Handler.h"
#include "support/LogCapture.h"

namespace {
// An event that reports its destruction.
class TracedEvent : public Event {
 public:
  explicit TracedEvent(bool* destroyed) : destroyed(destroyed) {}
  ~TracedEvent() override { *destroyed = true; }

 private:
  bool* destroyed;
};

class ObserverTest : public testing::Test {
 protected:
  Handler* handler(std::function<void(Event*)> callback, bool single = false) {
    return new Handler(log.Get(), std::move(callback), single);
  }
  Handler* recorder(const std::string& label, bool single = false) {
    return handler([this, label](Event*) { calls.push_back(label); }, single);
  }
  void fire(int times = 1) {
    for (int i = 0; i < times; ++i)
      observer.fireEvent("e", new Event());
  }

  LogCapture log;
  Observer observer{log.Get(), "W", {"e", "f", "e"}};
  std::vector<std::string> calls;
};
}  // namespace

TEST_F(ObserverTest, FiringWithoutHandlersLogsTwoLinesAndDestroysTheEvent) {
  bool destroyed = false;
  {
    Observer window(log.Get(), "Window", {"modalFormClosed"});
    log.Take();
    window.fireEvent("modalFormClosed", new TracedEvent(&destroyed));
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(log.Take(), (std::vector<std::string>{
                              "Observer[Window]::fireEvent modalFormClosed.",
                              "Observer[Window]::fireEvent modalFormClosed was handled."}));
  }
  EXPECT_EQ(log.Take(), std::vector<std::string>{"Observer[Window]: Events map destroyed."});
}

TEST_F(ObserverTest, HandlersRunInOrderUntilOneIsPrevented) {
  observer.AppendListener("e", handler([&](Event* event) {
                            calls.push_back("A");
                            event->Prevent();
                          }));
  observer.AppendListener("e", recorder("B"));
  log.Take();
  fire();
  EXPECT_EQ(calls, std::vector<std::string>{"A"});
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"Observer[W]::fireEvent e.", "Handle e event...",
                                                  "Event e was handled.",
                                                  "Observer[W]::fireEvent e was handled."}));
}

// A single-shot handler skipped by a prevention waits for the next dispatch, and is dropped
// after the dispatch in which it ran.
TEST_F(ObserverTest, SingleShotHandlersAreDroppedAfterTheDispatchInWhichTheyRan) {
  bool prevent = true;
  observer.AppendListener("e", handler([&](Event* event) {
                            if (prevent)
                              event->Prevent();
                          }));
  observer.AppendListener("e", recorder("once", true));
  observer.AppendListener("e", recorder("always"));
  fire();
  prevent = false;
  log.Take();
  fire(2);
  EXPECT_EQ(calls, (std::vector<std::string>{"once", "always", "always"}));
  EXPECT_EQ(LogCapture::Count(log.Take(), "Handle e event was prevented."), 0);
}

TEST_F(ObserverTest, RepeatedEventNamesAndHandlersAreKeptOnce) {
  Handler* once = recorder("A");
  observer.AppendListener("e", once);
  observer.AppendListener("e", once);
  fire();
  observer.fireEvent("f", new Event());
  EXPECT_EQ(calls, std::vector<std::string>{"A"});
}

TEST_F(ObserverTest, AFailingCallbackIsLoggedAndTheNextHandlerStillRuns) {
  observer.AppendListener("e", handler([](Event*) { throw "Cannot save"; }));
  observer.AppendListener("e", recorder("next"));
  log.Take();
  EXPECT_NO_THROW(fire());
  EXPECT_EQ(calls, std::vector<std::string>{"next"});
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(),
      {"Handle e event...", "Event handle exception:", "Cannot save", "Handle e event...",
       "Event e was handled.", "Observer[W]::fireEvent e was handled."}));
}

TEST_F(ObserverTest, AHandlerAppendedDuringADispatchRunsInTheSamePass) {
  observer.AppendListener("e", handler(
                                   [&](Event*) {
                                     calls.push_back("first");
                                     observer.AppendListener("e", recorder("added", true));
                                   },
                                   true));
  observer.AppendListener("e", recorder("second"));
  fire();
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "added"}));
}

TEST_F(ObserverTest, UnknownEventNamesThrowTheLookupMessageAndTheEventIsStillReleased) {
  bool destroyed = false;
  try {
    observer.fireEvent("missing", new TracedEvent(&destroyed));
    FAIL() << "no exception";
  } catch (const std::string& message) {
    EXPECT_EQ(message, "Observer[W]::AppendListener: Cant't find event key missing.");
  }
  EXPECT_TRUE(destroyed);
  std::unique_ptr<Handler> orphan(recorder("x"));
  EXPECT_THROW(observer.AppendListener("missing", orphan.get()), std::string);
  EXPECT_THROW(observer.RemoveListener("missing", orphan.get()), std::string);
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
  fire(2);
  EXPECT_EQ(calls, (std::vector<std::string>{"outer once", "once"}));
}

TEST_F(ObserverTest, RemovingDuringADispatchTakesEffectSafely) {
  Handler* later = recorder("later");
  observer.AppendListener("e", handler([&](Event*) { observer.RemoveListener("e", later); }));
  observer.AppendListener("e", later);
  fire(2);
  EXPECT_TRUE(calls.empty());
}

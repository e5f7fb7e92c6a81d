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

  LogCapture log;
  std::vector<std::string> calls;
};
}  // namespace

TEST_F(ObserverTest, FiringWithoutHandlersLogsTwoLinesAndDestroysTheEvent) {
  bool destroyed = false;
  {
    Observer observer(log.Get(), "Window", {"modalFormClosed"});
    log.Take();
    observer.fireEvent("modalFormClosed", new TracedEvent(&destroyed));
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(log.Take(), (std::vector<std::string>{
                              "Observer[Window]::fireEvent modalFormClosed.",
                              "Observer[Window]::fireEvent modalFormClosed was handled."}));
  }
  EXPECT_EQ(log.Take(), std::vector<std::string>{"Observer[Window]: Events map destroyed."});
}

TEST_F(ObserverTest, HandlersRunInOrderUntilOneIsPrevented) {
  Observer observer(log.Get(), "W", {"e"});
  observer.AppendListener("e", handler([&](Event* event) {
                            calls.push_back("A");
                            event->Prevent();
                          }));
  observer.AppendListener("e", recorder("B"));
  log.Take();
  observer.fireEvent("e", new Event());
  EXPECT_EQ(calls, std::vector<std::string>{"A"});
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"Observer[W]::fireEvent e.", "Handle e event...",
                                                  "Event e was handled.",
                                                  "Observer[W]::fireEvent e was handled."}));
}

TEST_F(ObserverTest, SingleShotHandlersAreDroppedAfterTheDispatchInWhichTheyRan) {
  Observer observer(log.Get(), "W", {"e"});
  observer.AppendListener("e", recorder("once", true));
  observer.AppendListener("e", recorder("always"));
  observer.fireEvent("e", new Event());
  log.Take();
  observer.fireEvent("e", new Event());
  EXPECT_EQ(calls, (std::vector<std::string>{"once", "always", "always"}));
  EXPECT_EQ(LogCapture::Count(log.Take(), "Handle e event..."), 1);
}

TEST_F(ObserverTest, SingleShotSkippedByAPreventionStaysForTheNextDispatch) {
  Observer observer(log.Get(), "W", {"e"});
  bool prevent = true;
  observer.AppendListener("e", handler([&](Event* event) {
                            if (prevent)
                              event->Prevent();
                          }));
  observer.AppendListener("e", recorder("once", true));
  observer.fireEvent("e", new Event());
  prevent = false;
  observer.fireEvent("e", new Event());
  observer.fireEvent("e", new Event());
  EXPECT_EQ(calls, std::vector<std::string>{"once"});
}

TEST_F(ObserverTest, AppendingTheSameHandlerTwiceKeepsOneEntry) {
  Observer observer(log.Get(), "W", {"e"});
  Handler* once = recorder("A");
  observer.AppendListener("e", once);
  observer.AppendListener("e", once);
  observer.fireEvent("e", new Event());
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(ObserverTest, RepeatedEventNamesAreRegisteredOnce) {
  Observer observer(log.Get(), "W", {"b", "a", "b"});
  observer.AppendListener("b", recorder("B"));
  observer.fireEvent("b", new Event());
  observer.fireEvent("a", new Event());
  EXPECT_EQ(calls, std::vector<std::string>{"B"});
}

TEST_F(ObserverTest, AFailingCallbackIsLoggedAndTheNextHandlerStillRuns) {
  Observer observer(log.Get(), "W", {"e"});
  observer.AppendListener("e", handler([](Event*) { throw "Cannot save"; }));
  observer.AppendListener("e", recorder("next"));
  log.Take();
  EXPECT_NO_THROW(observer.fireEvent("e", new Event()));
  EXPECT_EQ(calls, std::vector<std::string>{"next"});
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(),
      {"Handle e event...", "Event handle exception:", "Cannot save", "Handle e event...",
       "Event e was handled.", "Observer[W]::fireEvent e was handled."}));
}

TEST_F(ObserverTest, AHandlerAppendedDuringADispatchRunsInTheSamePass) {
  Observer observer(log.Get(), "W", {"e"});
  observer.AppendListener("e", handler(
                                   [&](Event*) {
                                     calls.push_back("first");
                                     observer.AppendListener("e", recorder("added", true));
                                   },
                                   true));
  observer.AppendListener("e", recorder("second"));
  observer.fireEvent("e", new Event());
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "added"}));
}

TEST_F(ObserverTest, UnknownEventNamesThrowTheLookupMessageAndTheEventIsStillReleased) {
  Observer observer(log.Get(), "W", {"e"});
  bool destroyed = false;
  try {
    observer.fireEvent("missing", new TracedEvent(&destroyed));
    FAIL() << "no exception";
  } catch (const std::string& message) {
    EXPECT_EQ(message, "Observer[W]::AppendListener: Cant't find event key missing.");
  }
  EXPECT_TRUE(destroyed);
  Handler* orphan = recorder("x");
  EXPECT_THROW(observer.AppendListener("missing", orphan), std::string);
  EXPECT_THROW(observer.RemoveListener("missing", orphan), std::string);
  delete orphan;
}

// A nested dispatch of the same event must not destroy a handler the outer walk still holds.
TEST_F(ObserverTest, NestedDispatchOfTheSameEventKeepsSingleShotHandlersAlive) {
  Observer observer(log.Get(), "W", {"e"});
  int depth = 0;
  observer.AppendListener("e", handler(
                                   [&](Event*) {
                                     calls.push_back("outer once");
                                     if (depth++ == 0)
                                       observer.fireEvent("e", new Event());
                                   },
                                   true));
  observer.AppendListener("e", recorder("once", true));
  observer.fireEvent("e", new Event());
  observer.fireEvent("e", new Event());
  EXPECT_EQ(calls, (std::vector<std::string>{"outer once", "once"}));
}

TEST_F(ObserverTest, RemovingDuringADispatchTakesEffectSafely) {
  Observer observer(log.Get(), "W", {"e"});
  Handler* later = recorder("later");
  observer.AppendListener("e", handler([&](Event*) { observer.RemoveListener("e", later); }));
  observer.AppendListener("e", later);
  observer.fireEvent("e", new Event());
  observer.fireEvent("e", new Event());
  EXPECT_TRUE(calls.empty());
}

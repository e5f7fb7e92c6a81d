#include "ui/Select.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Button.h"
#include "ui/Mouse.h"

namespace {
class SelectTest : public testing::Test {
 protected:
  Screen screen;
  LogCapture log;
  Select<int>::Items items{{1, "one"}, {2, "two"}, {3, "three"}};
  Select<int> select{log.Get(), "TypeSelect", new Position(0, 0), nullptr, items, 1};
};
}  // namespace

TEST_F(SelectTest, ArrowKeysWrapAtBothEnds) {
  std::vector<int> values;
  for (int key : {KEY_RIGHT, KEY_LEFT, KEY_LEFT}) {
    EXPECT_TRUE(select.OnKeyPress(key));
    values.push_back(select.GetValue());
  }
  EXPECT_EQ(values, (std::vector<int>{2, 1, 3}));
  EXPECT_FALSE(select.OnKeyPress(KEY_UP));
}

TEST_F(SelectTest, ArrowClicksMoveAndAClickOnTheTextOnlyFocuses) {
  select.Render();
  EXPECT_TRUE(select.OnMouseClick(screen.Click(3, 0).get()));  // on the text: only the focus
  EXPECT_TRUE(select.IsActive());
  EXPECT_TRUE(select.OnMouseClick(screen.Click(6, 0).get()));
  EXPECT_EQ(screen.Text(0, 0, 7, 1), "< two >");
  EXPECT_TRUE(select.OnMouseClick(screen.Click(0, 0).get()));
  EXPECT_EQ(select.GetValue(), 1);
}

TEST_F(SelectTest, WritesTheBoundValueBackOnBlurOnlyAndAFailingSetterDoesNotStopTheMove) {
  std::vector<int> written;
  select.SetBind([] { return 2; },
                 [&](int value) {
                   written.push_back(value);
                   throw "Invalid setting key.";
                 });
  EXPECT_EQ(select.GetValue(), 2);
  select.Focus();
  select.OnKeyPress(KEY_RIGHT);
  select.OnKeyPress(KEY_RIGHT);
  Button next(log.Get(), "NextButton", new Position(0, 2), nullptr, "x", nullptr);
  EXPECT_NO_THROW(next.Focus());
  EXPECT_EQ(written, std::vector<int>{1});
}

#include "ui/Select.h"

#include <gtest/gtest.h>

#include <memory>

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
  EXPECT_TRUE(select.IsModified());
}

TEST_F(SelectTest, CentresTheTextBetweenTheArrowsAndArrowClicksMove) {
  Select<std::string> centred(log.Get(), "S", new Position(1, 1), new Size(12, 1), {{"k", "abc"}},
                              "k");
  centred.Render();
  EXPECT_EQ(screen.Text(0, 1, 14, 1), " <   abc    > ");
  select.Render();
  EXPECT_TRUE(select.OnMouseClick(screen.Click(3, 0).get()));  // on the text: only the focus
  EXPECT_EQ(select.GetValue(), 1);
  EXPECT_TRUE(select.IsActive());
  EXPECT_TRUE(select.OnMouseClick(screen.Click(6, 0).get()));
  EXPECT_EQ(screen.Text(0, 0, 7, 1), "< two >");
  EXPECT_TRUE(select.OnMouseClick(screen.Click(0, 0).get()));
  EXPECT_TRUE(select.OnMouseClick(screen.Click(0, 0).get()));
  EXPECT_EQ(select.GetValue(), 3);
  EXPECT_FALSE(select.OnMouseClick(screen.Click(7, 0).get()));
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
  EXPECT_TRUE(written.empty());
  Button next(log.Get(), "NextButton", new Position(0, 2), nullptr, "x", nullptr);
  EXPECT_NO_THROW(next.Focus());
  EXPECT_TRUE(next.IsActive());
  EXPECT_EQ(written, std::vector<int>{1});
}

// A program cannot set a value outside the items, but a stored one is kept as it is.
TEST_F(SelectTest, AStoredValueOutsideTheItemsIsKeptAndTheKeysDoNotThrow) {
  EXPECT_THROW(select.SetValue(9), const char*);
  select.SetBind([] { return 7; }, [](int) {});
  EXPECT_NO_THROW(select.OnKeyPress(KEY_RIGHT));
  EXPECT_NO_THROW(select.OnKeyPress(KEY_LEFT));
  EXPECT_EQ(select.GetValue(), 7);
  EXPECT_THROW(Select<int>(log.Get(), "EmptySelect", nullptr, nullptr, {}, 0), const char*);
  // An initial key outside the items is refused, also the key a selector starts from.
  EXPECT_THROW(Select<int>(log.Get(), "ZeroSelect", nullptr, nullptr, {{1, "one"}}, 0),
               const char*);
}

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
  std::unique_ptr<Select<int>> make(int current, Size* size = nullptr) {
    return std::make_unique<Select<int>>(log.Get(), "TypeSelect", new Position(0, 0), size,
                                         Select<int>::Items{{1, "one"}, {2, "two"}, {3, "three"}},
                                         current);
  }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(SelectTest, WrapsAtBothEnds) {
  auto select = make(3);
  std::vector<int> values;
  for (int key : {KEY_RIGHT, KEY_LEFT, KEY_LEFT}) {
    EXPECT_TRUE(select->OnKeyPress(key));
    values.push_back(select->GetValue());
  }
  EXPECT_EQ(values, (std::vector<int>{1, 3, 2}));
  EXPECT_FALSE(select->OnKeyPress(KEY_UP));
  EXPECT_TRUE(select->IsModified());
  Select<std::string> only(log.Get(), "OnlySelect", nullptr, nullptr, {{"a", "A"}}, "a");
  EXPECT_TRUE(only.OnKeyPress(KEY_RIGHT));
  EXPECT_EQ(only.GetValue(), "a");
}

TEST_F(SelectTest, CentresTheTextBetweenTheArrows) {
  Select<std::string> select(log.Get(), "S", new Position(1, 1), new Size(12, 1), {{"k", "abc"}},
                             "k");
  select.Render();
  EXPECT_EQ(screen.Text(0, 1, 14, 1), " <   abc    > ");
  EXPECT_EQ(screen.At(1, 1).pair, 4);
  EXPECT_EQ(screen.At(5, 1).pair, 4);
  select.Focus();
  EXPECT_EQ(screen.At(1, 1).pair, 5);
  EXPECT_TRUE(screen.At(1, 1).blink);
  EXPECT_FALSE(screen.At(5, 1).blink);
  EXPECT_EQ(Select<int>::CalculateSizeForContent({{0, "MS SQL"}, {3, "PostgreSQL"}}).ToString(),
            "[12; 1]");
}

TEST_F(SelectTest, ArrowClicksMoveAndOtherClicksOnlyFocus) {
  auto select = make(1);
  select->Render();
  EXPECT_EQ(screen.Text(0, 0, 7, 1), "< one >");
  EXPECT_TRUE(select->OnMouseClick(screen.Click(3, 0).get()));
  EXPECT_EQ(select->GetValue(), 1);
  EXPECT_TRUE(select->IsActive());
  EXPECT_TRUE(select->OnMouseClick(screen.Click(6, 0).get()));
  EXPECT_EQ(screen.Text(0, 0, 7, 1), "< two >");
  EXPECT_TRUE(select->OnMouseClick(screen.Click(0, 0).get()));
  EXPECT_TRUE(select->OnMouseClick(screen.Click(0, 0).get()));
  EXPECT_EQ(select->GetValue(), 3);
  EXPECT_FALSE(select->OnMouseClick(screen.Click(7, 0).get()));
}

TEST_F(SelectTest, WritesTheBoundValueBackOnBlurOnly) {
  auto select = make(1);
  std::vector<int> written;
  select->SetBind([] { return 2; }, [&](int value) { written.push_back(value); });
  EXPECT_EQ(select->GetValue(), 2);
  select->Focus();
  select->OnKeyPress(KEY_RIGHT);
  select->OnKeyPress(KEY_RIGHT);
  EXPECT_TRUE(written.empty());
  select->Blur();
  EXPECT_EQ(written, std::vector<int>{1});
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Select::SetBind on TypeSelect."}));
}

// A program cannot set a value outside the items, but a stored one is kept as it is.
TEST_F(SelectTest, AStoredValueOutsideTheItemsIsKeptAndTheKeysDoNotThrow) {
  auto select = make(1, new Size(9, 1));
  EXPECT_THROW(select->SetValue(9), const char*);
  EXPECT_EQ(select->GetValue(), 1);
  select->SetBind([] { return 7; }, [](int) {});
  select->Render();
  EXPECT_EQ(screen.Text(0, 0, 9, 1), "<       >");
  EXPECT_NO_THROW(select->OnKeyPress(KEY_RIGHT));
  EXPECT_NO_THROW(select->OnKeyPress(KEY_LEFT));
  EXPECT_NO_THROW(select->OnMouseClick(screen.Click(8, 0).get()));
  EXPECT_EQ(select->GetValue(), 7);
  EXPECT_TRUE(LogCapture::InOrder(log.Take(),
                                  {"Select::SetValue 9 key value not belongs data.",
                                   "Select::selectNext cant't find current pair by value.",
                                   "Select::selectPrevious cant't find current pair by value."}));
  EXPECT_THROW(Select<int>(log.Get(), "EmptySelect", nullptr, nullptr, {}, 0), const char*);
  // An initial key outside the items is refused, also the key a selector starts from.
  EXPECT_THROW(Select<int>(log.Get(), "ZeroSelect", nullptr, nullptr, {{1, "one"}}, 0),
               const char*);
  EXPECT_THROW(Select<std::string>(log.Get(), "BlankSelect", nullptr, nullptr, {{"a", "A"}}, ""),
               const char*);
}

TEST_F(SelectTest, AFailingSetterOnBlurDoesNotStopTheFocusMove) {
  auto select = make(1);
  select->SetBind([] { return 1; }, [](int) { throw "Invalid setting key."; });
  Button next(log.Get(), "NextButton", new Position(0, 2), nullptr, "x", nullptr);
  select->Focus();
  EXPECT_NO_THROW(next.Focus());
  EXPECT_TRUE(next.IsActive());
}

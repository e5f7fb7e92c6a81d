#include "forms/StoredKeySelect.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Mouse.h"

// A key from a hand-edited file, outside the items, stays until an arrow moves to an item: the
// next one is the first item, the previous one the last. Other keys and clicks off the control
// are left to the window.
TEST(StoredKeySelect, AnArrowFromAKeyOutsideTheItemsGoesToTheFirstOrTheLastItem) {
  Screen screen;
  LogCapture log;
  const StoredKeySelect::Items items{{"a", "Alpha"}, {"b", "Beta"}, {"c", "Gamma"}};
  for (int key : {KEY_RIGHT, KEY_LEFT}) {
    StoredKeySelect select(log.Get(), "S", new Position(0, 0), items, "x");
    EXPECT_FALSE(select.OnKeyPress(KEY_UP));
    EXPECT_EQ(select.GetValue(), "x");
    EXPECT_TRUE(select.OnKeyPress(key));
    EXPECT_EQ(select.GetValue(), key == KEY_RIGHT ? "a" : "c");
  }
  StoredKeySelect clicked(log.Get(), "S", new Position(0, 0), items, "x");
  clicked.Render();
  EXPECT_FALSE(clicked.OnMouseClick(screen.Click(20, 5).get()));
  EXPECT_EQ(clicked.GetValue(), "x");
  EXPECT_TRUE(clicked.OnMouseClick(screen.Click(0, 0).get()));
  EXPECT_EQ(clicked.GetValue(), "c");
}

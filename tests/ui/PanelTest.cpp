#include "ui/Panel.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/Mouse.h"
#include "ui/ToolkitTest.h"

namespace {
class PanelTest : public ToolkitTest {
 protected:
  static void draw(Panel* panel) { std::unique_ptr<Panel>(panel)->Render(); }
};
}  // namespace

// A frame with its title, one cut by its parent, and panels too narrow or too flat for a frame.
TEST_F(PanelTest, DrawsFramesCutsWhatDoesNotFitAndDrawsNarrowPanelsAsBars) {
  draw(panel("A long title", 0, 0, {button("OK", 0, 0)}, new Size(6, 3)));
  draw(panel("Out", 8, 0, {panel("In", 3, 0, {label("abcdefgh", 0, 0)}, new Size(6, 4))},
             new Size(8, 4)));
  draw(panel("", 18, 0, {}, new Size(1, 1)));
  draw(panel("", 20, 0, {}, new Size(1, 4)));
  draw(panel("", 22, 0, {}, new Size(5, 1)));
  draw(panel("", 28, 0, {}, new Size(3, 3)));
  EXPECT_EQ(screen.Text(0, 0, 31, 4), R"(┌A lo┐  ┌Out───┐  █ ↑ ←───→ ┌─┐
│>OK │  │   ┌In│    │       │ │
└────┘  │   │ab│    │       └─┘
        └──────┘    ↓          )");
}

TEST_F(PanelTest, ClicksReachTheItemUnderThePointerOnlyAndTheFocusStaysInside) {
  bool pressed = false;
  std::unique_ptr<Panel> box(
      panel("Box", 0, 0, {button("A", 0, 0), button("B", 0, 2, [&] { pressed = true; })}));
  box->Render();
  box->GetItem(0)->Focus();
  EXPECT_TRUE(box->OnMouseClick(screen.Click(2, 3).get()));
  EXPECT_TRUE(pressed);
  box->Focus();  // a panel that holds the focus keeps it
  EXPECT_EQ(activeName(), "B");
}

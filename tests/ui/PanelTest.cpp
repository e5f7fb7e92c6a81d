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

TEST_F(PanelTest, DrawsFrameTitleAndChildrenInsideTheFrame) {
  std::unique_ptr<Panel> box(panel("Hello", 1, 1, {button("OK", 0, 0)}));
  EXPECT_EQ(box->CalculateSize().ToString(), "[7; 3]");
  box->Render();
  EXPECT_EQ(screen.Text(0, 0, 9, 5), R"(         
 ┌Hello┐ 
 │>OK  │ 
 └─────┘ 
         )");
  EXPECT_EQ(screen.At(1, 1).pair, 1);
  EXPECT_EQ(screen.At(2, 2).pair, 4);
}

// A long title, a frame cut by its parent, and panels too narrow or too flat for a frame.
TEST_F(PanelTest, CutsWhatDoesNotFitAndDrawsNarrowPanelsAsBars) {
  draw(panel("A long title", 0, 0, {}, new Size(6, 3)));
  draw(panel("Out", 8, 0, {panel("In", 3, 0, {label("abcdefgh", 0, 0)}, new Size(6, 4))},
             new Size(8, 4)));
  draw(panel("", 18, 0, {}, new Size(1, 1)));
  draw(panel("", 20, 0, {}, new Size(1, 4)));
  draw(panel("", 22, 0, {}, new Size(5, 1)));
  EXPECT_EQ(screen.Text(0, 0, 27, 4), R"(┌A lo┐  ┌Out───┐  █ ↑ ←───→
│    │  │   ┌In│    │      
└────┘  │   │ab│    │      
        └──────┘    ↓      )");
}

TEST_F(PanelTest, AddsEachItemOnceAndRemovesOnlyItsOwn) {
  Button* ok = button("OK", 0, 0);
  std::unique_ptr<Panel> box(panel("Box", 0, 0, {ok}));
  EXPECT_EQ(box->AddItem(ok), -1);
  EXPECT_EQ(box->AddItem(nullptr), -1);
  EXPECT_EQ(box->AddItem(label("Note", 0, 1)), 1);
  EXPECT_EQ(box->GetItem("Note"), box->GetItem(1));
  EXPECT_EQ(box->GetItem("Nothing"), nullptr);
  EXPECT_THROW(box->GetItem(2), const char*);
  box->RemoveItem("Note");
  std::unique_ptr<Button> stranger(button("Stranger", 0, 0));
  box->RemoveItem(stranger.get());  // not an item: left alone
  EXPECT_EQ(box->GetItemsCount(), 1);
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Panel::GetItem OutOfRange - Total: 2 Try: 2",
                                               "Control Note of type Label was destroyed"}));
}

TEST_F(PanelTest, LogsTheRenderingAndTheDestructionOfEachItem) {
  std::unique_ptr<Panel> box(panel("Box", 0, 0, {button("A", 0, 0), button("B", 0, 1)}));
  log.Take();
  box->Render();
  box.reset();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{
                            "Panel Box refresing.", "Panel Box child item count 2",
                            "Rendering panel Box item[0] A.", "Rendering panel Box item[1] B.",
                            "Destroy panel item[0].", "Control A of type Button was destroyed",
                            "Destroy panel item[1].", "Control B of type Button was destroyed",
                            "Clear panel items list.", "Panel items destroyed.",
                            "Control Box of type Panel was destroyed"}));
}

TEST_F(PanelTest, ClicksReachTheItemUnderThePointerOnly) {
  bool pressed = false;
  std::unique_ptr<Panel> box(
      panel("Box", 0, 0, {button("A", 0, 0), button("B", 0, 2, [&] { pressed = true; })}));
  box->Render();
  box->GetItem(0)->Focus();
  EXPECT_FALSE(box->OnMouseClick(screen.Click(3, 2).get()));  // inside, on no item
  EXPECT_EQ(activeName(), "A");
  EXPECT_FALSE(pressed);
  EXPECT_TRUE(box->OnMouseClick(screen.Click(2, 3).get()));
  EXPECT_EQ(activeName(), "B");
  EXPECT_TRUE(pressed);
}

TEST_F(PanelTest, FocusingAPanelThatHoldsTheFocusKeepsIt) {
  std::unique_ptr<Panel> box(panel("Box", 0, 0, {button("A", 0, 0), button("B", 0, 1)}));
  box->Render();
  box->GetItem(1)->Focus();
  box->Focus();
  EXPECT_EQ(activeName(), "B");
  EXPECT_FALSE(std::unique_ptr<Panel>(panel("Labels", 0, 5, {label("x", 0, 0)}))->Focusable());
}

TEST_F(PanelTest, BlinkPhasesHighlightTheFrameAndTitle) {
  std::unique_ptr<Panel> box(panel("Box", 0, 0, {button("A", 0, 0)}));
  box->Render();
  box->Blink();
  EXPECT_EQ(screen.At(0, 0).pair, 2);
  EXPECT_TRUE(screen.At(0, 0).bold);
  EXPECT_EQ(screen.At(1, 0).pair, 2);
  box->blinkPhaseNext();
  EXPECT_EQ(screen.At(0, 0).pair, 1);
  EXPECT_FALSE(screen.At(0, 0).bold);
}

#include "ui/Panel.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Mouse.h"

namespace {
class PanelTest : public testing::Test {
 protected:
  Button* button(const std::string& name, int x, int y, bool* pressed = nullptr) {
    return new Button(log.Get(), name, new Position(x, y), nullptr, name, [pressed] {
      if (pressed)
        *pressed = true;
    });
  }
  Label* label(const std::string& text, int x, int y) {
    return new Label(log.Get(), text, new Position(x, y), nullptr, text, Theme::Basic);
  }
  std::unique_ptr<Panel> panel(const std::string& title, int x, int y, Size* size,
                               ControlList items) {
    return std::make_unique<Panel>(log.Get(), title + "Panel", new Position(x, y), size, title,
                                   &items);
  }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(PanelTest, DrawsFrameTitleAndChildrenInsideTheFrame) {
  auto box = panel("Hello", 1, 1, nullptr, {button("OK", 0, 0)});
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

TEST_F(PanelTest, ALongTitleIsCutAtTheFrame) {
  auto box = panel("A long title", 0, 0, new Size(6, 3), {});
  box->Render();
  EXPECT_EQ(screen.Text(0, 0, 7, 3), R"(┌A lo┐ 
│    │ 
└────┘ )");
}

TEST_F(PanelTest, AFrameCutByItsParentLosesTheCellsOutsideIt) {
  auto inner = panel("In", 3, 0, new Size(6, 4), {label("abcdefgh", 0, 0)}).release();
  auto outer = panel("Out", 0, 0, new Size(8, 4), {inner});
  outer->Render();
  EXPECT_EQ(screen.Text(0, 0, 10, 4), R"(┌Out───┐  
│   ┌In│  
│   │ab│  
└──────┘  )");
}

TEST_F(PanelTest, NarrowAndFlatPanelsAreDrawnAsBars) {
  panel("", 0, 0, new Size(1, 1), {})->Render();
  panel("", 2, 0, new Size(1, 4), {})->Render();
  panel("", 4, 0, new Size(5, 1), {})->Render();
  EXPECT_EQ(screen.Text(0, 0, 9, 4), R"(█ ↑ ←───→
  │      
  │      
  ↓      )");
}

TEST_F(PanelTest, ManagesItsItems) {
  Button* ok = button("OK", 0, 0);
  auto box = panel("Box", 0, 0, nullptr, {ok});
  EXPECT_EQ(box->AddItem(ok), -1);
  EXPECT_EQ(box->AddItem(nullptr), -1);
  EXPECT_EQ(box->AddItem(label("Note", 0, 1)), 1);
  EXPECT_EQ(box->GetItemsCount(), 2);
  EXPECT_EQ(box->GetItem("Note"), box->GetItem(1));
  EXPECT_EQ(box->GetItem("Nothing"), nullptr);
  EXPECT_THROW(box->GetItem(2), const char*);
  EXPECT_THROW(box->GetItem(-1), const char*);
  box->RemoveItem("Note");
  box->RemoveItem("Nothing");
  EXPECT_EQ(box->GetItemsCount(), 1);
  Button stranger(log.Get(), "Stranger", nullptr, nullptr, "x", nullptr);
  box->RemoveItem(&stranger);  // not an item: left alone
  EXPECT_EQ(box->GetItemsCount(), 1);
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Panel::GetItem OutOfRange - Total: 2 Try: 2",
                                               "Control Note of type Label was destroyed"}));
}

TEST_F(PanelTest, DestructionLogsEachItem) {
  panel("Box", 0, 0, nullptr, {button("A", 0, 0), button("B", 0, 1)});
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(),
      {"Destroy panel item[0].", "Control A of type Button was destroyed", "Destroy panel item[1].",
       "Control B of type Button was destroyed", "Clear panel items list.",
       "Panel items destroyed.", "Control BoxPanel of type Panel was destroyed"}));
}

TEST_F(PanelTest, RefreshLogsEveryItemItRenders) {
  auto box = panel("Box", 0, 0, nullptr, {button("A", 0, 0)});
  log.Take();
  box->Render();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"Panel BoxPanel refresing.",
                                                  "Panel BoxPanel child item count 1",
                                                  "Rendering panel BoxPanel item[0] A."}));
}

TEST_F(PanelTest, ClicksReachTheItemUnderThePointerOnly) {
  bool pressed = false;
  auto box = panel("Box", 0, 0, nullptr, {button("A", 0, 0), button("B", 0, 2, &pressed)});
  box->Render();
  box->GetItem(0)->Focus();
  EXPECT_FALSE(box->OnMouseClick(screen.Click(3, 2).get()));  // inside, on no item
  EXPECT_EQ(Control::GetActive()->GetName(), "A");
  EXPECT_FALSE(pressed);
  EXPECT_TRUE(box->OnMouseClick(screen.Click(2, 3).get()));
  EXPECT_EQ(Control::GetActive()->GetName(), "B");
  EXPECT_TRUE(pressed);
}

TEST_F(PanelTest, FocusingAPanelThatHoldsTheFocusKeepsIt) {
  auto box = panel("Box", 0, 0, nullptr, {button("A", 0, 0), button("B", 0, 1)});
  box->Render();
  box->GetItem(1)->Focus();
  box->Focus();
  EXPECT_EQ(Control::GetActive()->GetName(), "B");
  EXPECT_FALSE(panel("Labels", 0, 5, nullptr, {label("x", 0, 0)})->Focusable());
}

TEST_F(PanelTest, BlinkPhasesHighlightTheFrame) {
  auto box = panel("Box", 0, 0, nullptr, {button("A", 0, 0)});
  box->Render();
  box->Blink();
  EXPECT_EQ(screen.At(0, 0).pair, 2);
  EXPECT_TRUE(screen.At(0, 0).bold);
  EXPECT_EQ(screen.At(1, 0).pair, 2);  // the title too
  box->blinkPhaseNext();
  EXPECT_EQ(screen.At(0, 0).pair, 1);
  EXPECT_FALSE(screen.At(0, 0).bold);
}

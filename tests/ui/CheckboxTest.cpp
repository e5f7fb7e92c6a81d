#include "ui/Checkbox.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Mouse.h"

namespace {
class CheckboxTest : public testing::Test {
 protected:
  std::unique_ptr<Checkbox> make(bool value) {
    return std::make_unique<Checkbox>(log.Get(), "DockerCECheck", new Position(1, 0), nullptr,
                                      "Docker", value);
  }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(CheckboxTest, EnterSpaceAndClicksInsideSwitchTheValueAndTheDiamond) {
  auto check = make(true);
  EXPECT_EQ(check->CalculateSize().ToString(), "[10; 1]");
  check->Render();
  EXPECT_EQ(screen.Text(0, 0, 12, 1), "  ◆ -Docker ");
  EXPECT_EQ(screen.At(1, 0).pair, 3);
  EXPECT_TRUE(screen.At(2, 0).bold);
  EXPECT_EQ(screen.At(4, 0).pair, 1);
  check->Focus();
  EXPECT_EQ(screen.At(2, 0).pair, 5);
  EXPECT_TRUE(check->OnKeyPress(10));
  EXPECT_EQ(screen.Text(0, 0, 12, 1), "    -Docker ");
  EXPECT_TRUE(check->IsModified());
  EXPECT_TRUE(check->OnKeyPress(' '));
  EXPECT_EQ(screen.Text(0, 0, 12, 1), "  ◆ -Docker ");
  EXPECT_FALSE(check->OnKeyPress('x'));
  EXPECT_FALSE(check->OnMouseClick(screen.Click(11, 0).get()));
  EXPECT_TRUE(check->GetValue());
  EXPECT_TRUE(check->OnMouseClick(screen.Click(7, 0).get()));
  EXPECT_FALSE(check->GetValue());
  EXPECT_TRUE(check->IsModified());
}

TEST_F(CheckboxTest, ABoundSetterDecidesTheValue) {
  auto check = make(false);
  bool stored = true;
  std::vector<bool> offered;
  check->SetBind([&] { return stored; }, [&](bool value) { offered.push_back(value); });
  EXPECT_TRUE(check->GetValue());
  EXPECT_FALSE(check->IsModified());
  check->Render();
  EXPECT_TRUE(check->OnKeyPress(10));  // the setter refuses: nothing changes
  EXPECT_TRUE(check->GetValue());
  EXPECT_EQ(screen.At(2, 0).glyph, "◆");
  check->SetValue(true);  // equal: the setter is not asked
  EXPECT_EQ(offered, std::vector<bool>{false});
  stored = false;
  check->Refresh();
  EXPECT_EQ(screen.At(2, 0).glyph, " ");
}

TEST_F(CheckboxTest, AFailingSetterDoesNotEscapeTheKey) {
  auto check = make(false);
  check->SetBind([] { return false; }, [](bool) { throw "Invalid setting key."; });
  EXPECT_TRUE(check->OnKeyPress(10));
  EXPECT_FALSE(check->GetValue());
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(), {"Checkbox::OnKeyPress DockerCECheck exception:", "Invalid setting key."}));
}

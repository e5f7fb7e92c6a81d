#include "forms/PatchForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"

TEST(PatchForm, ATemplateWithoutAnAsteriskIsRefusedEveryTime) {
  FormDesk<PatchForm> desk;
  Control* pattern = desk.Item("PatchZipTemplateField");
  desk.Retype(pattern, "patch.zip");
  for (int press = 0; press < 2; ++press)
    desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(20, 17, 38, 1), "The template must contain an asterisk.");
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  desk.Retype(pattern, "patch_*.zip");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            std::vector<std::string>{"Settings::SetString Patch/Template as patch_*.zip."});
}

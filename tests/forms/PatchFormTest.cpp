#include "forms/PatchForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"

TEST(PatchForm, ATemplateWithoutAnAsteriskOrNoPlainFileNameIsRefusedEveryTime) {
  FormDesk<PatchForm> desk;
  Control* pattern = desk.Item("PatchZipTemplateField");
  const struct {
    const char *typed, *message;
  } cases[] = {
      {"patch.zip", "The template must contain an asterisk. "},
      {"../../tmp/victim-*", "The template must be a plain file name."},
  };
  for (const auto& c : cases) {
    desk.Retype(pattern, c.typed);
    for (int press = 0; press < 2; ++press)
      desk.form.Apply();
    EXPECT_EQ(desk.screen.Text(20, 17, 39, 1), c.message) << c.typed;
  }
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  desk.Retype(pattern, "patch_*.zip");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            std::vector<std::string>{"Settings::SetString Patch/Template as patch_*.zip."});
}

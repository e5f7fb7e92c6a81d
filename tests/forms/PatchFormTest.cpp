#include "forms/PatchForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "ui/Field.h"

namespace {
struct PatchDesk : FormDesk<PatchForm> {
  Control* Url() { return Item("PatchSourceUrlField"); }
  Control* Template() { return Item("PatchZipTemplateField"); }
};
}  // namespace

TEST(PatchForm, ShowsTheTemplateNoteBelowTheTemplate) {
  PatchDesk desk;
  EXPECT_EQ(desk.screen.Text(19, 10, 62, 10),
            R"(┌Patch settings──────────────────────────────────────────────┐
│Patch address       http://downloads.example.com/patches    │
│                                                            │
│SHA-256 checksum                                            │
│                                                            │
│Patch file template vaq-app-*.sh                            │
│The asterisk stands for the patch version.                  │
│                                                            │
│                        >Apply >Cancel                      │
└────────────────────────────────────────────────────────────┘)");
  EXPECT_EQ(desk.screen.At(20, 16).pair, 6);
}

TEST(PatchForm, ATemplateWithoutAnAsteriskIsRefusedEveryTime) {
  PatchDesk desk;
  desk.Retype(desk.Template(), "patch.zip");
  for (int press = 0; press < 3; ++press)
    desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(20, 17, 38, 1), "The template must contain an asterisk.");
  EXPECT_EQ(desk.screen.At(20, 17).pair, 7);
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  desk.Retype(desk.Template(), "patch_*.zip");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            std::vector<std::string>{"Settings::SetString Patch/Template as patch_*.zip."});
}

// The notice holds one press only, also when that press was refused for the template.
TEST(PatchForm, AnEmptyAddressIsNoticedOnceAndThenStored) {
  PatchDesk desk;
  desk.Retype(desk.Url(), "");
  desk.Retype(desk.Template(), "");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(20, 12, 60, 1),
            "Check the patch address: it is empty.                       ");
  EXPECT_EQ(desk.stage.closes, 0);
  desk.Retype(desk.Template(), "p*");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(), (std::vector<std::string>{"Settings::SetString Patch/Url as .",
                                                     "Settings::SetString Patch/Template as p*."}));
}

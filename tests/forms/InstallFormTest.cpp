#include "forms/InstallForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "ui/Field.h"

namespace {
const char* Identifiers = R"({"Install": {"ComplexId": "aBcD", "DLL": "app.dll"}})";

struct InstallDesk : FormDesk<InstallForm> {
  using FormDesk::FormDesk;
  Field* ComplexId() { return Item<Field>("InstallComplexIdField"); }
};
}  // namespace

TEST(InstallForm, ShowsItsTwoFieldsAfterTheWidestLabel) {
  InstallDesk desk;
  EXPECT_EQ(desk.screen.Text(19, 11, 62, 7),
            R"(┌Install settings────────────────────────────────────────────┐
│Complex identifier  tRQV                                    │
│                                                            │
│Application library web_core.dll                            │
│                                                            │
│                        >Apply >Cancel                      │
└────────────────────────────────────────────────────────────┘)");
}

// A field emptied again under its notice stores the default it shows.
TEST(InstallForm, AnEmptyFieldGetsItsDefaultAndANoticeThatHoldsOnce) {
  for (bool again : {false, true}) {
    InstallDesk desk(Identifiers);
    desk.Retype(desk.ComplexId(), "");
    desk.form.Apply();
    EXPECT_EQ(desk.screen.Text(20, 12, 60, 3),
              R"(Complex identifier  tRQV                                    
The complex identifier was empty; the default is filled in. 
Application library app.dll                                 )");
    EXPECT_EQ(desk.screen.At(20, 13).pair, 6);
    EXPECT_EQ(desk.stage.closes, 0);
    EXPECT_TRUE(desk.Writes().empty());
    if (again)
      desk.Retype(desk.ComplexId(), "");
    desk.form.Apply();
    EXPECT_EQ(desk.stage.closes, 1);
    EXPECT_EQ(desk.Writes(),
              std::vector<std::string>{"Settings::SetString Install/ComplexId as tRQV."});
  }
}

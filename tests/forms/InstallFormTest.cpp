#include "forms/InstallForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"

// A field emptied again under its notice stores the default it shows.
TEST(InstallForm, AnEmptyFieldGetsItsDefaultAndANoticeThatHoldsOnce) {
  FormDesk<InstallForm> desk(R"({"Install": {"ComplexId": "aBcD", "DLL": "app.dll"}})");
  Control* id = desk.Item("InstallComplexIdField");
  desk.Retype(id, "");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(20, 12, 60, 2),
            R"(Complex identifier  tRQV                                    
The complex identifier was empty; the default is filled in. )");
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  desk.Retype(id, "");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            std::vector<std::string>{"Settings::SetString Install/ComplexId as tRQV."});
}

#include "forms/InstallForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "ui/Mouse.h"

// A field emptied again under its notice stores the default it shows.
TEST(InstallForm, AnEmptyFieldGetsItsDefaultAndANoticeThatHoldsOnce) {
  FormDesk<InstallForm> desk(R"({"Install": {"ComplexId": "aBcD", "DLL": "app.dll"}})");
  Control* id = desk.Item("InstallComplexIdField");
  desk.Retype(id, "");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(20, 10, 60, 2),
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

// The health fields sit below the identifiers, within 80 x 24, and are stored only when valid.
TEST(InstallForm, RefusesAHealthAddressOtherThanHttpAndATimeoutOutOfRangeUntilCorrected) {
  FormDesk<InstallForm> desk(R"({"Install": {"ComplexId": "aBcD", "DLL": "app.dll"}})");
  Control* url = desk.Item("InstallHealthUrlField");
  Control* timeout = desk.Item("InstallHealthTimeoutField");
  desk.Retype(url, "ftp://app/health");
  desk.Retype(timeout, "0");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(20, 14, 60, 4),
            R"(Health address      ftp://app/health                        
Leave it empty or enter an http:// or https:// address.     
Health timeout, s         0                                 
Enter from 1 to 3600 seconds.                               )");
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  EXPECT_TRUE(timeout->OnMouseClick(desk.screen.Click(46, 16).get()));
  EXPECT_FALSE(timeout->OnMouseClick(desk.screen.Click(46, 17).get()));  // the message below
  desk.Retype(url, "https://app/health");
  desk.Retype(timeout, "30");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            (std::vector<std::string>{
                "Settings::SetOptionalString Install/HealthUrl added as https://app/health.",
                "Settings::SetOptionalString Install/HealthTimeout added as 30."}));
}

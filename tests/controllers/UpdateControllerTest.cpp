#include "controllers/UpdateController.h"

#include "controllers/ControllerFixture.h"

namespace {

using UpdateControllerTest = ControllerFixture;

TEST_F(UpdateControllerTest, SavesChangedSettingsFirstAndReportsAFailedScriptWithItsCode) {
  site.MakeControlDirectory(ControlPath(), 0, 2, 0);
  Open();
  settings->SetString("Patch/Version", "24.2.0.9");
  std::string output = Run<UpdateController>(Arguments(false, false, false));
  EXPECT_EQ(output.find("<yellow>SAVE_CONFIG</>\n"), 0u);
  EXPECT_NE(output.find("<red>UPDATING_CODE512</>\n"), std::string::npos);
  EXPECT_EQ(LastLine(output), "<red>ROLLBACK_NO_PREVIOUS</>\n");
  EXPECT_FALSE(succeeded);
  EXPECT_EQ(Records(),
            "ws_updapp.sh [-s] [{server}/patches] [-a] [app-24.2.0.9.sh] [-t] [CX1] "
            "[-p] [9090]\n");
}

}  // namespace

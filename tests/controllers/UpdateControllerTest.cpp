#include "controllers/UpdateController.h"

#include <filesystem>

#include "app/SettingsPath.h"
#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

using UpdateControllerTest = ControllerFixture;

TEST_F(UpdateControllerTest, AsksTheWebServerToUpdateToTheConfiguredPatchWithValuesIntact) {
  site.Set("Patch/Url", "http://h/a?b=1&c=$(touch ran1)");
  site.Set("Install/ComplexId", "id `touch ran2` \"x\"");
  site.Set("WebServer/Path", site.Path("my web") + "/");
  site.MakeControlDirectory(site.Path("my web/web_8080/ctl"), 0, 0, 0);
  Open();
  EXPECT_EQ(LastLine(Run<UpdateController>(Arguments(false, false, false))),
            "<green>UPDATING_SUCCESS</>\n");
  EXPECT_EQ(Records(),
            "ws_updapp.sh [-s] [http://h/a?b=1&c=$(touch ran1)] [-a] [app-24.2.0.7.sh] "
            "[-t] [id `touch ran2` \"x\"] [-p] [9090]\n");
  EXPECT_TRUE(succeeded);
  EXPECT_FALSE(std::filesystem::exists("ran1") || std::filesystem::exists("ran2"));
}

TEST_F(UpdateControllerTest, SavesChangedSettingsFirstAndReportsAFailedScriptWithItsCode) {
  site.MakeControlDirectory(ControlPath(), 0, 2, 0);
  Open();
  settings->SetString(SettingsPath::PatchVersion, "24.2.0.9");
  std::string output = Run<UpdateController>(Arguments(false, false, false));
  EXPECT_EQ(output.find("<yellow>SAVE_CONFIG</>\n"), 0u);
  EXPECT_EQ(LastLine(output), "<red>UPDATING_CODE512</>\n");
  EXPECT_FALSE(succeeded);
  EXPECT_FALSE(settings->IsModified());
  Settings saved(logger.get(), site.Path("app/Settings.json"));
  saved.Load();
  EXPECT_EQ(saved.GetString(SettingsPath::PatchVersion), "24.2.0.9");
  EXPECT_NE(site.Records().find("[app-24.2.0.9.sh]"), std::string::npos);
}

}  // namespace

// The checksum field that the container runtime, web server and patch forms share.

#include "forms/SettingsForm.h"

#include <gtest/gtest.h>

#include "app/SettingsPath.h"
#include "forms/DockerCEForm.h"
#include "forms/SettingsDesk.h"

TEST(SettingsForm, AChecksumIsEmptyOrSixtyFourHexDigitsStoredInLowerCase) {
  const std::string message = "Leave it empty or enter 64 hexadecimal digits.";
  const std::string digest = "9F86D081884C7D659A2FEAA0C55AD015A3BF4F1B2B0B822CD15D6C15B0F00A08";
  const std::string lower = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
  for (const std::string& typed : {digest.substr(1) + "g", digest, std::string()}) {
    SCOPED_TRACE(typed);
    FormDesk<DockerCEForm> desk;
    bool refused = typed.size() == 64 && typed.back() == 'g';
    if (!typed.empty())
      desk.Retype(desk.Item("DockerCESha256Field"), typed);
    desk.form.Apply();
    EXPECT_EQ(desk.screen.Text(21, 14, message.size(), 1),
              refused ? message : std::string(message.size(), ' '));
    EXPECT_EQ(desk.stage.closes, refused ? 0 : 1);
    EXPECT_EQ(desk.settings.GetOptionalString(SettingsPath::DockerSha256),
              typed == digest ? lower : "");
  }
}

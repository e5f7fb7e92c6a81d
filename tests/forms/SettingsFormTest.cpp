// The checksum field that the container runtime, web server and patch forms share.

#include "forms/SettingsForm.h"

#include <gtest/gtest.h>

#include "app/SettingsPath.h"
#include "forms/DockerCEForm.h"
#include "forms/PatchForm.h"
#include "forms/SettingsDesk.h"
#include "forms/WebServerTolmForm.h"

namespace {
const std::string MESSAGE = "Leave it empty or enter 64 hexadecimal digits.";
const std::string DIGEST = "9F86D081884C7D659A2FEAA0C55AD015A3BF4F1B2B0B822CD15D6C15B0F00A08";
const std::string LOWER = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

struct Case {
  const char* what;
  std::string typed;  // nothing typed when empty
  bool refused;
};
const Case CASES[] = {
    {"one digit short", DIGEST.substr(1), true},
    {"a letter that is no digit", DIGEST.substr(1) + "g", true},
    {"upper case", DIGEST, false},
    {"untouched", "", false},
};

// The form's checksum field takes each case on the shipped settings, which hold no checksums;
// the message belongs at (x, y) of the screen.
template <typename F>
void checkChecksum(const std::string& field, const char* path, int x, int y) {
  for (const Case& c : CASES) {
    SCOPED_TRACE(std::string(path) + ": " + c.what);
    FormDesk<F> desk;
    std::string shipped = desk.dir.Read("Settings.json");
    if (!c.typed.empty())
      desk.Retype(desk.Item(field), c.typed);
    desk.form.Apply();
    EXPECT_EQ(desk.screen.Text(x, y, MESSAGE.size(), 1),
              c.refused ? MESSAGE : std::string(MESSAGE.size(), ' '));
    EXPECT_EQ(desk.screen.At(x, y).pair, c.refused ? 7 : 1);
    EXPECT_EQ(desk.stage.closes, c.refused ? 0 : 1);
    bool stored = !c.refused && !c.typed.empty();
    EXPECT_EQ(desk.Writes(),
              stored ? std::vector<std::string>{"Settings::SetOptionalString " + std::string(path) +
                                                " added as " + LOWER + "."}
                     : std::vector<std::string>{});
    desk.settings.Save();
    if (stored)
      EXPECT_EQ(desk.settings.GetOptionalString(path), LOWER);
    else
      EXPECT_EQ(desk.dir.Read("Settings.json"), shipped);
  }
}
}  // namespace

TEST(SettingsForm, AChecksumIsEmptyOrSixtyFourHexDigitsStoredInLowerCase) {
  checkChecksum<DockerCEForm>("DockerCESha256Field", SettingsPath::DockerSha256, 21, 14);
  checkChecksum<WebServerTolmForm>("WebServerTolmSha256Field", SettingsPath::WebServerSha256, 20,
                                   10);
  checkChecksum<PatchForm>("PatchSha256Field", SettingsPath::PatchSha256, 20, 14);
}

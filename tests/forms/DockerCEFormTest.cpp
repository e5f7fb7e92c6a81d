#include "forms/DockerCEForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "ui/Button.h"
#include "ui/Field.h"

namespace {
struct DockerDesk : FormDesk<DockerCEForm> {
  Control* Url() { return Item("DockerCEZipSourceField"); }
  Control* Path() { return Item("DockerCEUnzipPathField"); }
};
}  // namespace

TEST(DockerCEForm, ShowsItsThreeFieldsAfterTheWidestLabel) {
  DockerDesk desk;
  EXPECT_EQ(desk.screen.Text(20, 10, 59, 9),
            R"(┌Container runtime settings───────────────────────────────┐
│Archive address  http://downloads.example.com/runtime/doc│
│                                                         │
│SHA-256 checksum                                         │
│                                                         │
│Unpack folder    /opt/                                   │
│                                                         │
│                      >Apply >Cancel                     │
└─────────────────────────────────────────────────────────┘)");
  EXPECT_EQ(desk.screen.At(21, 13).pair, 1);
}

TEST(DockerCEForm, EmptyAddressAndFolderShowTwoRedMessagesThenOne) {
  DockerDesk desk;
  desk.Retype(desk.Url(), "");
  desk.Retype(desk.Path(), "");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(21, 12, 33, 1), "Enter the address of the archive.");
  EXPECT_EQ(desk.screen.Text(21, 15, 33, 2), R"(Unpack folder                    
Enter the folder to unpack into. )");
  EXPECT_EQ(desk.screen.At(21, 16).pair, 7);
  desk.Retype(desk.Path(), "/usr/local/");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(21, 12, 33, 1), "Enter the address of the archive.");
  EXPECT_EQ(desk.screen.Text(21, 15, 33, 2), R"(Unpack folder    /usr/local/     
                                 )");
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  desk.Retype(desk.Url(), "http://h/rt.tar.gz");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            (std::vector<std::string>{"Settings::SetString Docker/Url as http://h/rt.tar.gz.",
                                      "Settings::SetString Docker/Path as /usr/local/."}));
}

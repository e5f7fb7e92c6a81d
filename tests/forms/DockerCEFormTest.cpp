#include "forms/DockerCEForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"

TEST(DockerCEForm, EmptyAddressAndFolderShowRedMessagesUntilBothAreFilled) {
  FormDesk<DockerCEForm> desk;
  Control* url = desk.Item("DockerCEZipSourceField");
  Control* path = desk.Item("DockerCEUnzipPathField");
  desk.Retype(url, "");
  desk.Retype(path, "");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(21, 12, 33, 1), "Enter the address of the archive.");
  EXPECT_EQ(desk.screen.Text(21, 16, 33, 1), "Enter the folder to unpack into. ");
  EXPECT_EQ(desk.screen.At(21, 16).pair, 7);
  EXPECT_EQ(desk.stage.closes, 0);
  EXPECT_TRUE(desk.Writes().empty());
  desk.Retype(url, "http://h/dir/");
  desk.form.Apply();
  EXPECT_EQ(desk.screen.Text(21, 12, 43, 1), "The address must end in the archive's name.");
  desk.Retype(url, "http://h/rt.tar.gz");
  desk.Retype(path, "/usr/local/");
  desk.form.Apply();
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            (std::vector<std::string>{"Settings::SetString Docker/Url as http://h/rt.tar.gz.",
                                      "Settings::SetString Docker/Path as /usr/local/."}));
}

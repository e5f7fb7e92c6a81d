#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/Settings.h"
#include "app/Version.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {

const std::string SHIPPED = DEPLOYER_SOURCE_DIR "/share/Settings.json";

// The shipped settings, loaded.
struct Shipped : testing::Test {
  void SetUp() override { settings.Load(); }

  LogCapture log;
  Settings settings{log.Get(), SHIPPED};
};

}  // namespace

// A path that is missing or of another kind throws, which fails the test.
TEST_F(Shipped, HoldEveryPathWithItsKindAndAChoiceTheFormsOffer) {
  for (const char* path :
       {"Connection/Base", "Connection/Server", "Docker/Path", "Docker/Url", "Install/Catalog",
        "Install/ComplexId", "Install/DLL", "Patch/Url", "WebServer/Path", "WebServer/Url"})
    EXPECT_FALSE(settings.GetString(path).empty()) << path;
  for (const char* port : {"WebServer/Port", "WebServer/DebugPort", "Install/Port"})
    EXPECT_LE(static_cast<unsigned>(settings.GetInteger(port)), 65535u) << port;
  EXPECT_LE(static_cast<unsigned>(settings.GetInteger("Connection/Type")), 3u);
  std::set<std::string> webServers = {"angie", "apache2", "nginx", "no_http"};
  EXPECT_EQ(webServers.count(settings.GetString("WebServer/Type")), 1u);
  std::set<std::string> containers = {"docker", "podman"};
  EXPECT_EQ(containers.count(settings.GetString("WebServer/ContSoft")), 1u);
  EXPECT_TRUE(Version::Valid(settings.GetString("Patch/Version")));
  EXPECT_NE(settings.GetString("Patch/Template").find('*'), std::string::npos);
}

TEST_F(Shipped, AreWrittenInTheCanonicalForm) {
  TempDir dir;
  std::filesystem::copy_file(SHIPPED, dir.File("shipped.json"));
  settings.Save(dir.File("saved.json"));
  EXPECT_EQ(dir.Read("saved.json"), dir.Read("shipped.json"));
}

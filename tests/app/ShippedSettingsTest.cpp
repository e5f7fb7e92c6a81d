#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "app/Logger.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "support/TempDir.h"

namespace {

const std::string SHIPPED = DEPLOYER_SOURCE_DIR "/share/Settings.json";

enum Kind { Text, Integer };

// The paths that the program reads and writes, with the kind each must hold.
const std::pair<const char*, Kind> PATHS[] = {
    {"Connection/Base", Text},    {"Connection/Server", Text},
    {"Connection/Type", Integer}, {"Docker/Path", Text},
    {"Docker/Url", Text},         {"Install/Catalog", Text},
    {"Install/ComplexId", Text},  {"Install/DLL", Text},
    {"Install/Port", Integer},    {"Patch/Template", Text},
    {"Patch/Url", Text},          {"Patch/Version", Text},
    {"WebServer/ContSoft", Text}, {"WebServer/DebugPort", Integer},
    {"WebServer/Path", Text},     {"WebServer/Port", Integer},
    {"WebServer/Type", Text},     {"WebServer/Url", Text},
};

}  // namespace

TEST(ShippedSettings, HoldsEveryPathWithItsKind) {
  TempDir dir;
  Logger logger(dir.File("log.txt"));
  Settings settings(&logger, SHIPPED);
  settings.Load();
  for (const auto& [path, kind] : PATHS) {
    try {
      if (kind == Text)
        EXPECT_FALSE(settings.GetString(path).empty()) << path;
      else
        EXPECT_GE(settings.GetInteger(path), 0) << path;
    } catch (const char* message) {
      ADD_FAILURE() << path << ": " << message;
    }
  }
}

TEST(ShippedSettings, IsWrittenInTheCanonicalForm) {
  TempDir dir;
  std::ifstream in(SHIPPED, std::ios::binary);
  std::ostringstream shipped;
  shipped << in.rdbuf();
  {
    Logger logger(dir.File("log.txt"));
    Settings settings(&logger, SHIPPED);
    settings.Load();
    settings.Save(dir.File("saved.json"));
  }
  EXPECT_EQ(dir.Read("saved.json"), shipped.str());
}

TEST(ShippedSettings, HoldsChoicesTheFormsOffer) {
  TempDir dir;
  Logger logger(dir.File("log.txt"));
  Settings settings(&logger, SHIPPED);
  settings.Load();
  std::set<std::string> webServers = {"angie", "apache2", "nginx", "no_http"};
  EXPECT_EQ(webServers.count(settings.GetString("WebServer/Type")), 1u);
  std::set<std::string> containers = {"docker", "podman"};
  EXPECT_EQ(containers.count(settings.GetString("WebServer/ContSoft")), 1u);
  EXPECT_LE(settings.GetInteger("Connection/Type"), 3);
  EXPECT_TRUE(Version::Valid(settings.GetString("Patch/Version")));
  EXPECT_NE(settings.GetString("Patch/Template").find('*'), std::string::npos);
  for (const char* port : {"WebServer/Port", "WebServer/DebugPort", "Install/Port"})
    EXPECT_LE(settings.GetInteger(port), 65535) << port;
}

#include "controllers/ControllerArguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ControllerArguments, KeepsTheChoicesItWasGiven) {
  auto* logger = reinterpret_cast<Logger*>(0x10);
  auto* resources = reinterpret_cast<Resources*>(0x20);
  auto* settings = reinterpret_cast<Settings*>(0x30);
  ControllerArguments arguments(logger, resources, settings, false, true, true, "old.json", true);
  EXPECT_EQ(arguments.GetLogger(), logger);
  EXPECT_EQ(arguments.GetResources(), resources);
  EXPECT_EQ(arguments.GetSettings(), settings);
  EXPECT_FALSE(arguments.InstallDocker());
  EXPECT_TRUE(arguments.InstallWebServer());
  EXPECT_TRUE(arguments.IgnoreCerts());
  EXPECT_EQ(arguments.MigratePath(), "old.json");
  EXPECT_TRUE(arguments.MigrateDelete());
}

TEST(ControllerArguments, DeletingAnotherInstallationRemovesEverythingWithCertificateChecks) {
  ControllerArguments arguments(nullptr, nullptr, nullptr, true);
  EXPECT_TRUE(arguments.InstallDocker());
  EXPECT_TRUE(arguments.InstallWebServer());
  EXPECT_FALSE(arguments.IgnoreCerts());
  EXPECT_EQ(arguments.MigratePath(), "");
  EXPECT_TRUE(arguments.MigrateDelete());
}

TEST(ControllerArguments, RefusesTheDeleteConstructorWithoutDelete) {
  try {
    ControllerArguments arguments(nullptr, nullptr, nullptr, false);
    FAIL() << "no exception";
  } catch (const char* message) {
    EXPECT_STREQ(message, "Constructor of ControllerArguments expects migrateDelete.");
  }
}

}  // namespace

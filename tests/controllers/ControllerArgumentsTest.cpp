#include "controllers/ControllerArguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ControllerArguments, RefusesTheDeleteConstructorWithoutDelete) {
  try {
    ControllerArguments arguments(nullptr, nullptr, nullptr, false);
    FAIL() << "no exception";
  } catch (const char* message) {
    EXPECT_STREQ(message, "Constructor of ControllerArguments expects migrateDelete.");
  }
}

}  // namespace

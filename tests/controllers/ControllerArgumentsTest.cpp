#include "controllers/ControllerArguments.h"

#include <gtest/gtest.h>

#include "support/Thrown.h"

namespace {

TEST(ControllerArguments, RefusesTheDeleteConstructorWithoutDelete) {
  EXPECT_EQ(Thrown([] { ControllerArguments arguments(nullptr, nullptr, nullptr, false); }),
            "Constructor of ControllerArguments expects migrateDelete.");
}

}  // namespace

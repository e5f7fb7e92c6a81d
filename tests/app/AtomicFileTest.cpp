#include "app/AtomicFile.h"

#include <gtest/gtest.h>

#include "support/InputClosed.h"
#include "support/TempDir.h"

// Started with its input closed, the program gets descriptor 0 for a temporary file: the file is
// replaced all the same.
TEST(AtomicFile, ReplacesAFileThroughATemporaryFileOnDescriptorZero) {
  TempDir dir;
  dir.Write("file", "old");
  InputClosed closed;
  EXPECT_EQ(AtomicFile::Write(dir.File("file"), "new"), AtomicFile::Result::Replaced);
  EXPECT_EQ(dir.Read("file"), "new");
}

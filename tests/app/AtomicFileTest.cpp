#include "app/AtomicFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/TempDir.h"

// Started with its input closed, the program gets descriptor 0 for a temporary file: the file is
// replaced all the same.
TEST(AtomicFile, ReplacesAFileThroughATemporaryFileOnDescriptorZero) {
  TempDir dir;
  dir.Write("file", "old");
  int input = dup(0);
  close(0);
  EXPECT_EQ(AtomicFile::Write(dir.File("file"), "new"), AtomicFile::Result::Replaced);
  dup2(input, 0), close(input);
  EXPECT_EQ(dir.Read("file"), "new");
}

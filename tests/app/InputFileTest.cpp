#include "app/InputFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "support/InputClosed.h"
#include "support/TempDir.h"

// Started with its input closed, the program reads a file on descriptor 0; it reads all of it,
// over several reads, and closes it, so that no command run later gets the file as its input.
TEST(InputFile, ReadsAFileWholeOnDescriptorZeroAndClosesIt) {
  TempDir dir;
  dir.Write("in", std::string(100000, 'x'));
  InputClosed closed;
  std::string text;
  EXPECT_EQ(InputFile::Read(dir.File("in"), &text), nullptr);
  EXPECT_EQ(fcntl(0, F_GETFD), -1);  // closed again
  EXPECT_EQ(text.size(), 100000u);
}

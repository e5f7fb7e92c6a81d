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

// A file whose size says nothing of its contents (as those under /proc) is read whole all the same.
TEST(InputFile, ReadsAFileLongerThanItsSizeSays) {
  std::string text;
  EXPECT_EQ(InputFile::Read("/proc/self/status", &text), nullptr);
  EXPECT_EQ(text.rfind("Name:", 0), 0u);
  EXPECT_NE(text.find("\nVmRSS:"), std::string::npos);
}

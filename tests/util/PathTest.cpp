#include "util/Path.h"

#include <gtest/gtest.h>

TEST(Path, FileNameIsAfterTheLastSlashAndUnzipStripsOnlyTheExactSuffix) {
  EXPECT_EQ(Path::GetFileName("https://host/get/patch.bin?version=24.2"), "patch.bin?version=24.2");
  EXPECT_EQ(Path::UnzipFileName("server-1.2.tar.gz"), "server-1.2");
  for (const char* kept : {"SERVER.TAR.GZ", "server.tar.gz.bak"})
    EXPECT_EQ(Path::UnzipFileName(kept), kept);
}

TEST(Path, APlainNameIsOneComponentThatStaysInItsFolderAndReadsAsNoOption) {
  for (const char* plain : {"app-24.2.sh", ".hidden", "...", "a-b"})
    EXPECT_TRUE(Path::IsPlainName(plain)) << plain;
  for (const char* other : {"", ".", "..", "-x", "../x", "a/b", "/etc/passwd", "name/"})
    EXPECT_FALSE(Path::IsPlainName(other)) << other;
}

#include "util/Path.h"

#include <gtest/gtest.h>

TEST(Path, FileNameIsAfterTheLastSlashAndUnzipStripsOnlyTheExactSuffix) {
  EXPECT_EQ(Path::GetFileName("https://host/get/patch.bin?version=24.2"), "patch.bin?version=24.2");
  EXPECT_EQ(Path::UnzipFileName("server-1.2.tar.gz"), "server-1.2");
  for (const char* kept : {"SERVER.TAR.GZ", "server.tar.gz.bak"})
    EXPECT_EQ(Path::UnzipFileName(kept), kept);
}

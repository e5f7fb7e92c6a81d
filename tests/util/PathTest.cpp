#include "util/Path.h"

#include <gtest/gtest.h>

TEST(Path, GetFileNameTakesTheTextAfterTheLastSlash) {
  std::pair<const char*, const char*> cases[] = {
      {"https://host/files/runtime.tar.gz", "runtime.tar.gz"},
      {"https://host/get/patch.bin?version=24.2&x=/y", "y"},
      {"https://host/get/patch.bin?version=24.2", "patch.bin?version=24.2"},
      {"plain.txt", "plain.txt"},
      {"folder/", ""},
      {"", ""}};
  for (const auto& [path, expected] : cases)
    EXPECT_EQ(Path::GetFileName(path), expected) << path;
}

TEST(Path, UnzipFileNameStripsOnlyTheExactSuffix) {
  EXPECT_EQ(Path::UnzipFileName("server-1.2.tar.gz"), "server-1.2");
  EXPECT_EQ(Path::UnzipFileName(".tar.gz"), "");
  for (const char* kept : {"tar.gz", "SERVER.TAR.GZ", "server.tgz", "server.tar.gz.bak", ""})
    EXPECT_EQ(Path::UnzipFileName(kept), kept);
}

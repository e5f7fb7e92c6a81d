#include "util/Path.h"

#include <gtest/gtest.h>

TEST(Path, GetFileNameTakesTheTextAfterTheLastSlash) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"https://host/files/runtime.tar.gz", "runtime.tar.gz"},
      {"https://host/get/patch.bin?version=24.2&x=/y", "y"},
      {"https://host/get/patch.bin?version=24.2", "patch.bin?version=24.2"},
      {"plain.txt", "plain.txt"},
      {"folder/", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Path::GetFileName(c.path), c.expected) << c.path;
  }
}

TEST(Path, UnzipFileNameStripsOnlyTheExactSuffix) {
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"server-1.2.tar.gz", "server-1.2"},
      {".tar.gz", ""},
      {"tar.gz", "tar.gz"},
      {"SERVER.TAR.GZ", "SERVER.TAR.GZ"},
      {"server.tgz", "server.tgz"},
      {"server.tar.gz.bak", "server.tar.gz.bak"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Path::UnzipFileName(c.name), c.expected) << c.name;
  }
}

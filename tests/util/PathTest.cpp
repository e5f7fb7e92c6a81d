#include "util/Path.h"

#include <gtest/gtest.h>

TEST(Path, FileNameIsAfterTheLastSlashAndUnzipStripsOnlyTheExactSuffix) {
  EXPECT_EQ(Path::GetFileName("https://host/get/patch.bin?version=24.2"), "patch.bin?version=24.2");
  EXPECT_EQ(Path::UnzipFileName("server-1.2.tar.gz"), "server-1.2");
  for (const char* kept : {"SERVER.TAR.GZ", "server.tar.gz.bak"})
    EXPECT_EQ(Path::UnzipFileName(kept), kept);
}

TEST(Path, APlainNameIsOneComponentThatStaysInItsFolderAndReadsAsNoOption) {
  const struct {
    const char* name;
    bool plain;
  } cases[] = {
      {"app-24.2.sh", true}, {".hidden", true},   {"a-b", true},          {"...", true},
      {"", false},           {".", false},        {"..", false},          {"-x", false},
      {"../x", false},       {"dir/name", false}, {"/etc/passwd", false}, {"name/", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Path::IsPlainName(c.name), c.plain) << c.name;
}

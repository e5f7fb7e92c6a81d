#include "util/Sha256.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "support/TempDir.h"

TEST(Sha256, DigestsAFileAsSha256SumDoes) {
  TempDir dir;
  std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // More than one buffer: a million times "a".
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  std::string digest, reason;
  for (const auto& [content, expected] : cases) {
    dir.Write("file", content);
    ASSERT_TRUE(Sha256::OfFile(dir.File("file"), &digest, &reason)) << reason;
    EXPECT_EQ(digest, expected);
  }
  EXPECT_FALSE(Sha256::OfFile(dir.File("missing"), &digest, &reason));
  EXPECT_EQ(reason, "No such file or directory");
}

// A 200 MB file (sparse, so quick to make) is read through the fixed buffer, not held whole.
TEST(Sha256, DigestsALargeFileInBoundedMemory) {
  TempDir dir;
  std::string path = dir.File("large");
  dir.Write("large", "");
  ASSERT_EQ(truncate(path.c_str(), 200L * 1024 * 1024), 0);
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  std::string digest, reason;
  ASSERT_TRUE(Sha256::OfFile(path, &digest, &reason)) << reason;
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024);  // in KiB
  EXPECT_EQ(digest, "72abf2ca8f36943ebe2e49ca3a51d409ca5f0bfcffab6c9d25643c17c32889da");
}

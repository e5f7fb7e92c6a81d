#include "app/Journal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "support/Tmpfs.h"

namespace {

JournalRecord action(const std::string& id, bool end) {
  JournalRecord record;
  record.end = end;
  record.id = id;
  record.action = "update";
  record.result = end ? JournalRecord::SUCCEEDED : "";
  record.exitStatus = end ? 0 : -1;
  record.failedCommand = std::string(20000, 'x');  // a long record, so that rotation comes soon
  return record;
}

}  // namespace

TEST(Journal, ReadsTheLastActionsAcrossTheRotatedFileWithAStartWithoutEndAsInterrupted) {
  TempDir dir;
  Journal journal(dir.File(""));
  int actions = 0;
  while (!std::filesystem::exists(journal.Path() + ".1")) {
    std::string id = std::to_string(actions++);
    journal.Append(action(id, false));
    journal.Append(action(id, true));
  }
  EXPECT_TRUE(journal.Append(action("last", false)));  // written and on the disk
  EXPECT_LE(std::filesystem::file_size(journal.Path() + ".1"),
            static_cast<uintmax_t>(Journal::ROTATE_BYTES + 45000));
  std::vector<JournalRecord> last = journal.Last(3);
  ASSERT_EQ(last.size(), 3u);
  EXPECT_EQ(last[0].id, std::to_string(actions - 2));  // from the rotated file
  EXPECT_EQ(last[1].id, std::to_string(actions - 1));
  EXPECT_EQ(last[1].result, JournalRecord::SUCCEEDED);
  EXPECT_EQ(last[2].id, "last");
  EXPECT_EQ(last[2].result, JournalRecord::INTERRUPTED);
}

TEST(Journal, ReadsRecordsWithFieldsMissingAndSkipsLinesThatAreNoRecords) {
  TempDir dir;
  dir.Write(Journal::FILE_NAME,
            "{\"record\": \"end\", \"id\": \"a\", \"result\": \"failed\"}\n"
            "not json\n{\"record\": \"other\"}\n"
            "{\"id\": \"b\", \"record\": \"start\", \"action\": \"delete\"}\n\n");
  std::vector<JournalRecord> last = Journal(dir.Path()).Last(5);
  ASSERT_EQ(last.size(), 2u);
  EXPECT_EQ(last[0].result, JournalRecord::FAILED);
  EXPECT_EQ(last[1].action, "delete");
  EXPECT_EQ(last[1].result, JournalRecord::INTERRUPTED);
}

TEST(Journal, AppendSaysSoWhenARecordDoesNotFitOnTheDisk) {
  TempDir dir;
  Tmpfs disk(dir.Path(), "64k");
  if (!disk.Mounted())
    GTEST_SKIP() << "mount is not permitted here";
  disk.Fill();
  EXPECT_FALSE(Journal(dir.Path()).Append(action("lost", false)));
}

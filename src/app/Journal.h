#pragma once

#include <string>
#include <vector>

#include "app/JournalRecord.h"

// The journal of the actions, history.jsonl: one JSON record a line, appended with O_APPEND and
// reaching the disk (fsync) before Append returns. Past ROTATE_BYTES the file is renamed to
// history.jsonl.1 (replacing the older one) before the next record is appended.
class Journal {
 public:
  static const char* const FILE_NAME;  // "history.jsonl"
  static constexpr long ROTATE_BYTES = 1024L * 1024;

  // The journal in folder ("" or "." for the working folder).
  explicit Journal(std::string folder = "");

  // False when the record could not be written.
  bool Append(const JournalRecord& record);
  // The last count actions, oldest first: an end record, or its start (result "interrupted")
  // when the end is missing. Reads the rotated file too when the current one holds too few.
  std::vector<JournalRecord> Last(size_t count) const;

  std::string Path() const { return path; }

 private:
  void rotate();
  // Adds the actions of one file, newest first, to found until it holds count.
  static void collect(const std::string& file, size_t count, std::vector<JournalRecord>* found,
                      std::vector<std::string>* ended);

  std::string path;
};

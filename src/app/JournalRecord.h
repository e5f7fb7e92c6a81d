#pragma once

#include <string>

// One line of the journal history.jsonl: the start or the end of one action. Both carry the
// identity of the action (id, action, started, user, host, program version, version before); the
// end adds how it ended. Texts left empty are written as null.
struct JournalRecord {
  static const char* const SUCCEEDED;
  static const char* const FAILED;
  static const char* const ROLLED_BACK;
  static const char* const INTERRUPTED;  // read for a start without its end

  bool end = false;
  std::string id;
  std::string action;
  std::string result;
  std::string versionBefore;
  std::string versionAfter;
  std::string started;  // UTC, ISO 8601
  std::string ended;
  int exitStatus = -1;  // -1: none (a start)
  std::string user;
  std::string host;
  std::string programVersion;
  std::string settingsSha256;
  std::string failedCommand;
  int failedStatus = 0;

  // One JSON object without a line end.
  std::string ToLine() const;
  // False when line is not a journal record.
  static bool FromLine(const std::string& line, JournalRecord* record);
  // The time now in UTC as "2026-12-07T17:52:28Z".
  static std::string Now();
};

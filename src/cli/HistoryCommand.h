#pragma once

#include <ostream>

// deployer history: the last actions of the journal, oldest first, one line each, or one JSON
// object a line (the end record, or the start with the result "interrupted").
class HistoryCommand {
 public:
  static int Run(int count, bool json, std::ostream& out);
};

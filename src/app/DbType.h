#pragma once

#include <map>
#include <string>

// The database types of the connection: stored number to shown text, ordered by number.
class DbType {
 public:
  static std::map<int, std::string> GetItems();
};

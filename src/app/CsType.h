#pragma once

#include <map>
#include <string>

// The container software the web server runs in: stored key to shown text, ordered by key.
class CsType {
 public:
  static std::map<std::string, std::string> GetItems();
};

#pragma once

#include <map>
#include <string>

// The web server types a deployment can use: stored key to shown text, ordered by key.
class WsType {
 public:
  static std::map<std::string, std::string> GetItems();
};

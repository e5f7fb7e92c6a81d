#pragma once

#include <map>
#include <string>
#include <vector>

// The keys of every text the program looks up in Resources.res: a file that lacks some still
// loads (their texts are empty), but the start says so.
class ResourceKeys {
 public:
  // Every key, in byte order.
  static const std::vector<std::string>& All();
  // The keys that texts lacks, in byte order.
  static std::vector<std::string> Missing(const std::map<std::string, std::string>& texts);
};

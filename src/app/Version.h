#pragma once

#include <cstdint>
#include <string>

// A dotted version number of two to four unsigned parts, compared over a chosen depth
// (1, 2 or 3 leading parts; any other depth compares all four).
class Version {
 public:
  Version();
  explicit Version(Version* other);
  explicit Version(std::string text);  // throws "Invalid version string" / "... part"
  virtual ~Version() = default;

  std::string ToString();
  bool Equals(Version* other, int depth);
  bool Greater(Version* other, int depth);
  bool Less(Version* other, int depth);

  static bool Valid(std::string text);
  static std::string Reconfigure(std::string text);

  uint32_t Part(int index) const;  // index 0 to 3

 private:
  static uint32_t parse(std::string text);
  int compare(Version* other, int depth);

  uint32_t parts[4] = {0, 0, 0, 0};
};

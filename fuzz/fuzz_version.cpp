// Feeds arbitrary text to Version: Valid must agree with the parsing constructor, a parsed version
// must print as a valid text of the same value, and Reconfigure must never throw and be stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Version.h"

namespace {

bool parses(const std::string& text, Version* out) {
  try {
    *out = Version(text);
    return true;
  } catch (const char* message) {
    if (std::strcmp(message, "Invalid version string") != 0 &&
        std::strcmp(message, "Invalid version string part") != 0)
      std::abort();
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Version version;
  bool parsed = parses(text, &version);
  if (parsed != Version::Valid(text))
    std::abort();
  if (parsed) {
    Version again;
    if (!parses(version.ToString(), &again) || !again.Equals(&version, 0))
      std::abort();
  }
  std::string repaired = Version::Reconfigure(text);
  if (Version::Reconfigure(repaired) != repaired)
    std::abort();
  return 0;
}

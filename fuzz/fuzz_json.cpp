// Feeds arbitrary text to the Json parser; every accepted document must serialize to a fixed point.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Logger.h"
#include "util/Json.h"

namespace {

// Trace lines are built as in the program but go nowhere.
Logger* traceLog() {
  static Logger logger("/dev/null");
  return &logger;
}

std::unique_ptr<Json> parse(const std::string& text) {
  try {
    return std::unique_ptr<Json>(new Json(traceLog(), text));
  } catch (const char*) {
    return nullptr;
  }
}

// Whether the serialized text holds a double of nine or more integer digits. Doubles are read by
// adding each fraction digit's share in turn, so at 2^29 and above the sum may miss the written
// six decimals by one unit; such a document must load again but need not be a fixed point.
bool hasLargeDouble(const std::string& text) {
  bool inString = false;
  int digits = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      i += c == '\\' ? 1 : 0;
      inString = c != '"';
    } else if (c == '.' && digits >= 9) {
      return true;
    } else {
      inString = c == '"';
      digits = c >= '0' && c <= '9' ? digits + 1 : 0;
    }
  }
  return false;
}

void checkFixedPoint(Json* json, bool compact) {
  std::string first = json->Serialize(compact);
  std::unique_ptr<Json> again = parse(first);
  if (again == nullptr || (again->Serialize(compact) != first && !hasLargeDouble(first))) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<Json> json = parse(std::string(reinterpret_cast<const char*>(data), size));
  if (json != nullptr) {
    checkFixedPoint(json.get(), true);
    checkFixedPoint(json.get(), false);
  }
  return 0;
}

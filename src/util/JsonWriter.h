#pragma once

#include <string>

class Json;

// Writes a Json tree as text. The indented form puts every entry and item on a line of its own,
// indented by one tab per level, with ": " after a key; the compact form has no line breaks and
// no blanks. Keys come in the order of the object's map; a null object is written "null", empty
// ones "{}" and "[]", doubles with six decimals, and nothing follows the outermost bracket.
class JsonWriter {
 public:
  static std::string Write(const Json* node, bool compact);
  // "%f", with a point as the decimal separator whatever the process locale.
  static std::string FormatDouble(double value);

 private:
  JsonWriter() = default;

  // indent is the number of tabs in front of the node's closing bracket, or -1 in compact form.
  void value(const Json* node, int indent);
  void children(const Json* node, int indent);

  std::string out;
};

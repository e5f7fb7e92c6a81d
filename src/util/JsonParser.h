#pragma once

#include <cstdint>
#include <memory>
#include <string>

class Json;

// Reads the text of a JSON document into a tree of Json nodes by recursive descent, one method
// per rule, writing a trace line per token through the root node. The grammar, where space is a
// blank, tab, carriage return or line feed and a separator is a space, ",", "]" or "}":
//
//   document = object space*                  (the object starts at the first character)
//   value    = object | array | string | "null" | "true" | "false" | number
//   object   = "{" space* (entry space* "," space*)* [entry space*] "}"
//   entry    = string space* ":" space* value
//   array    = "[" space* (value space* "," space*)* [value space*] "]"
//   string   = '"' (escape | any byte but '"')* '"'          (escapes: see JsonEscape)
//   number   = ["-"] digit+ ["." digit*]
//
// Words and numbers end at a separator or the end of the text. A number without a point is an
// integer and must fit an int; the whole part of any number is at most 2^53. Objects and arrays
// nest at most MAX_DEPTH levels deep. A key given twice keeps its later value.
class JsonParser {
 public:
  // root is the empty object the document is read into; text must outlive the parser.
  JsonParser(Json* root, const std::string& text);
  virtual ~JsonParser() = default;

  // Reads the whole text into the root. A failure logs where parsing stopped and throws
  // "Expected Json object token", "Unexpected Json token" or "Unexpected Json end"; the nodes
  // read so far stay in the root.
  void Parse();

 private:
  // Objects and arrays nested deeper than this are rejected.
  static constexpr int MAX_DEPTH = 512;

  void parseValue(Json* node);
  // A new node holding the value at index, one level deeper than its parent.
  std::unique_ptr<Json> parseChild(Json* parent);
  void parseObject(Json* node);
  void parseEntry(Json* node);
  void parseKey(std::string* key);
  void endObject();
  void parseArray(Json* node);
  void parseItem(Json* node);
  void parseString(Json* node);
  void parseWord(Json* node);
  bool isWordAt(const std::string& word) const;
  void parseNumber(Json* node);
  int64_t parseWhole(int* digits);
  void parseRest();

  // Reads the string whose opening quote is at index, decoding escapes; false when the text ends
  // before the closing quote.
  bool readString(std::string* value);
  // Steps over the character at index, counting lines and columns.
  void step();
  void skipSpace();
  bool atEnd() const { return index >= size; }
  bool at(char c) const { return index < size && text[index] == c; }
  // "[line,column]", both counted from 0.
  std::string location() const;
  void trace(const std::string& message);
  // Logs message followed by the location, whatever the trace lines left, and throws error.
  [[noreturn]] void fail(const std::string& message, const char* error);

  Json* root;
  const std::string& text;
  int size;
  int index = 0;
  int line = 0;
  int column = 0;
  // Nesting level of the value at index; the root object is level 1.
  int depth = 1;
};

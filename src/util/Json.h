#pragma once

#include <map>
#include <string>
#include <vector>

class Logger;

// Kind of a Json node.
typedef int JsonType;
enum : JsonType {
  JsonObject = 0,
  JsonArray = 1,
  JsonBoolean = 2,
  JsonInteger = 3,
  JsonDouble = 4,
  JsonString = 5
};

// One node of a JSON document. A node owns its children; every failure is thrown as a C string.
// The parser writes a trace line per token to the log, and the clearing of a tree a trace line per
// child; a parsed document writes at most TRACE_LIMIT trace lines in all (parse failures are
// always logged), and values in them are cut (Logger::Excerpt).
class Json {
 public:
  explicit Json(Logger* logger);           // an empty object
  Json(Logger* logger, std::string text);  // parses a document that must be an object
  virtual ~Json();
  Json(const Json&) = delete;
  Json& operator=(const Json&) = delete;

  JsonType GetType();
  int Count();
  Json* GetItem(int index);
  Json* GetItem(std::string key);
  int AddItem(Json* item);                    // takes ownership of item
  void SetItem(std::string key, Json* item);  // takes ownership of item; deletes a replaced node
  Json* Parent();

  bool GetBoolean();
  int GetInteger();
  double GetDouble();
  std::string GetString();
  void SetBoolean(bool value);
  void SetInteger(int value);
  void SetDouble(double value);
  void SetString(std::string value);

  std::string Serialize(bool compact);

 private:
  std::string serialize(int indent);
  int parse(std::string text, int index, int* line, int* column);
  void clearItems();
  void clearData();
  static bool isSpaceChar(char c);
  static bool isSeparatorChar(char c);
  static void charLocator(char c, int* line, int* column);
  static std::string location(int* line, int* column);

  // Objects and arrays nested deeper than this are rejected.
  static const int MAX_DEPTH = 512;
  // Trace lines of one parsed document, for its parse and the clearing of its tree together.
  static const long TRACE_LIMIT = 10000;

  int parseValue(const std::string& text, int index, int* line, int* column, int depth);
  int parseObject(const std::string& text, int index, int* line, int* column, int depth);
  int parseKey(const std::string& text, int index, int* line, int* column, std::string* key);
  int parseEntry(const std::string& text, int index, int* line, int* column, int depth);
  int endObject(const std::string& text, int index, int* line, int* column);
  int parseArray(const std::string& text, int index, int* line, int* column, int depth);
  int parseItem(const std::string& text, int index, int* line, int* column, int depth);
  int parseString(const std::string& text, int index, int* line, int* column);
  int parseWord(const std::string& text, int index, int* line, int* column);
  int parseNumber(const std::string& text, int index, int* line, int* column);
  [[noreturn]] void fail(const std::string& message, int* line, int* column, const char* error);
  void serializeTo(std::string* out, int indent);
  void serializeChildren(std::string* out, int indent);
  void reset(JsonType kind);
  void log(const std::string& message);
  // Step over the character at index; returns the next index.
  static int step(const std::string& text, int index, int* line, int* column);
  static int skipSpace(const std::string& text, int index, int* line, int* column);
  // Reads the string whose opening quote is at index, decoding escapes; returns the index after
  // the closing quote, or -1 when the text ends first.
  static int readString(const std::string& text, int index, int* line, int* column,
                        std::string* value);

  Logger* logger;
  JsonType type = JsonObject;
  std::vector<Json*> items;
  std::map<std::string, Json*> data;
  bool isNull = false;
  bool booleanValue = false;
  int integerValue = 0;
  double doubleValue = 0;
  std::string stringValue;
  Json* parent = nullptr;
  // The trace lines left to the parsed document this node belongs to (its root's own count);
  // null for nodes built otherwise, whose trace is not limited.
  long* traceLeft = nullptr;
  long ownTraceLeft = 0;
};

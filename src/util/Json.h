#pragma once

#include <map>
#include <string>
#include <vector>

class Logger;

// Kind of a Json node.
using JsonType = int;
enum : JsonType {
  JsonObject = 0,
  JsonArray = 1,
  JsonBoolean = 2,
  JsonInteger = 3,
  JsonDouble = 4,
  JsonString = 5
};

// One node of a JSON document. A node owns its children; every failure is thrown as a C string.
// JsonParser reads a document into a tree and JsonWriter writes a tree as text. The parser writes a
// trace line per token to the log, and the clearing of a tree a trace line per child; a parsed
// document writes at most TRACE_LIMIT trace lines in all (parse failures are always logged), and
// values in them are cut (Logger::Excerpt).
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
  Json* GetItem(std::string key);  // throws when the object holds no such key
  // The item under key; null when there is none or this is not an object (no exception).
  Json* FindItem(const std::string& key);
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
  // They read and write the fields of the nodes directly.
  friend class JsonParser;
  friend class JsonWriter;

  // Trace lines of one parsed document, for its parse and the clearing of its tree together.
  static constexpr long TRACE_LIMIT = 10000;

  void clearItems();
  void clearData();
  void reset(JsonType kind);
  // Writes a trace line, within the trace lines left to the document of this node.
  void log(const std::string& message);

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

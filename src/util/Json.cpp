#include "util/Json.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "app/Logger.h"
#include "util/String.h"

namespace {

// The whole part of a double is read exactly up to this magnitude (2^53).
const int64_t DOUBLE_WHOLE_LIMIT = 9007199254740992LL;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexDigit(char c) {
  if (isDigit(c)) {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// The code unit of "\uXXXX" starting at pos, or -1 when the text holds no such escape there.
long codeUnit(const std::string& text, size_t pos) {
  if (pos + 6 > text.size() || text[pos] != '\\' || text[pos + 1] != 'u') {
    return -1;
  }
  long unit = 0;
  for (size_t i = pos + 2; i < pos + 6; ++i) {
    int digit = hexDigit(text[i]);
    if (digit < 0) {
      return -1;
    }
    unit = unit * 16 + digit;
  }
  return unit;
}

void appendUtf8(std::string* out, long codePoint) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out += static_cast<char>(0xC0 | (codePoint >> 6));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    *out += static_cast<char>(0xE0 | (codePoint >> 12));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (codePoint >> 18));
    *out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Decodes "\uXXXX" (or a surrogate pair of two) at pos into out; returns the number of bytes
// consumed, or 0 when there is nothing to decode. A lone surrogate is not decoded, so its escape
// stays in the text as it stands.
int decodeUnicode(const std::string& text, size_t pos, std::string* out) {
  long unit = codeUnit(text, pos);
  if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) {
    return 0;
  }
  if (unit < 0xD800 || unit > 0xDBFF) {
    appendUtf8(out, unit);
    return 6;
  }
  long low = codeUnit(text, pos + 6);
  if (low < 0xDC00 || low > 0xDFFF) {
    return 0;
  }
  appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
  return 12;
}

// Characters written as a backslash and a letter, and those letters in the same order.
constexpr std::string_view ESCAPED = "\"\\\b\f\n\r\t";
constexpr std::string_view ESCAPE_LETTERS = "\"\\bfnrt";

// The character that a one-letter escape stands for, or 0 for a letter that is no escape.
char simpleEscape(char c) {
  size_t found = ESCAPE_LETTERS.find(c);
  if (found != std::string_view::npos) {
    return ESCAPED[found];
  }
  return c == '/' ? '/' : 0;
}

// Appends the character or escape sequence at index of a string's text; returns the bytes read.
// A backslash that starts no known escape is kept as it stands.
int readCharacter(const std::string& text, int index, std::string* value) {
  if (text[index] == '\\' && index + 1 < static_cast<int>(text.size())) {
    char escape = simpleEscape(text[index + 1]);
    if (escape != 0) {
      *value += escape;
      return 2;
    }
    int consumed = decodeUnicode(text, index, value);
    if (consumed > 0) {
      return consumed;
    }
  }
  *value += text[index];
  return 1;
}

void appendQuoted(std::string* out, const std::string& text) {
  static const char HEX[] = "0123456789abcdef";
  *out += '"';
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    size_t escape = ESCAPED.find(c);
    if (escape != std::string_view::npos) {
      *out += '\\';
      *out += ESCAPE_LETTERS[escape];
    } else if (byte < 0x20) {
      *out += "\\u00";
      *out += HEX[byte >> 4];
      *out += HEX[byte & 0xF];
    } else {
      *out += c;
    }
  }
  *out += '"';
}

// "%f", with a point as the decimal separator whatever the process locale.
std::string formatDouble(double value) {
  int size = std::snprintf(nullptr, 0, "%f", value);
  std::vector<char> buffer(size + 1);
  std::snprintf(buffer.data(), buffer.size(), "%f", value);
  std::string text(buffer.data(), size);
  const char* point = std::localeconv()->decimal_point;
  if (point != nullptr && point[0] != '\0' && std::string(point) != ".") {
    text = String::Replace(text, point, ".");
  }
  return text;
}

int truncateToInt(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= 2147483647.0) {
    return INT_MAX;
  }
  if (value <= -2147483648.0) {
    return INT_MIN;
  }
  return static_cast<int>(value);
}

}  // namespace

Json::Json(Logger* logger) : logger(logger) {}

Json::Json(Logger* logger, std::string text)
    : logger(logger), traceLeft(&ownTraceLeft), ownTraceLeft(TRACE_LIMIT) {
  int line = 0;
  int column = 0;
  if (text.empty() || text[0] != '{') {
    log("Json expected object token at " + location(&line, &column) + ".");
    throw "Expected Json object token";
  }
  try {
    int end = parse(text, 0, &line, &column);
    log("Json object definition end at " + location(&line, &column) + " index " +
        std::to_string(end) + " total " + std::to_string(text.size()) + ".");
    for (size_t i = end; i < text.size(); ++i) {
      charLocator(text[i], &line, &column);
      std::string code = std::to_string(static_cast<int>(static_cast<signed char>(text[i])));
      log("Json after char " + code + " code " + code + ".");
      if (!isSpaceChar(text[i])) {
        fail("Json unexpected token at ", &line, &column, "Unexpected Json token");
      }
    }
  } catch (...) {
    // The destructor does not run for a constructor that throws.
    clearItems();
    clearData();
    throw;
  }
}

Json::~Json() {
  clearItems();
  clearData();
}

JsonType Json::GetType() {
  return type;
}

int Json::Count() {
  if (type == JsonObject) {
    return static_cast<int>(data.size());
  }
  return type == JsonArray ? static_cast<int>(items.size()) : 0;
}

Json* Json::GetItem(int index) {
  if (type != JsonArray) {
    return nullptr;
  }
  if (index < 0 || index >= static_cast<int>(items.size())) {
    throw "Out of range";
  }
  return items[index];
}

Json* Json::GetItem(std::string key) {
  if (type != JsonObject || isNull) {
    return nullptr;
  }
  auto found = data.find(key);
  if (found == data.end()) {
    throw "Key not in a map";
  }
  return found->second;
}

int Json::AddItem(Json* item) {
  if (type != JsonArray) {
    throw "Invalid Json type operation AddItem";
  }
  item->parent = this;
  items.push_back(item);
  return static_cast<int>(items.size());
}

void Json::SetItem(std::string key, Json* item) {
  if (type != JsonObject) {
    throw "Invalid Json type operation SetItem";
  }
  Json*& slot = data[key];
  if (slot != item) {
    delete slot;
    slot = item;
  }
  item->parent = this;
}

Json* Json::Parent() {
  return parent;
}

bool Json::GetBoolean() {
  if (type != JsonBoolean) {
    throw "Invalid Json type bool";
  }
  return booleanValue;
}

int Json::GetInteger() {
  if (type == JsonDouble) {
    return truncateToInt(doubleValue);
  }
  if (type != JsonInteger) {
    throw "Invalid Json type int";
  }
  return integerValue;
}

double Json::GetDouble() {
  if (type == JsonInteger) {
    return integerValue;
  }
  if (type != JsonDouble) {
    throw "Invalid Json type double";
  }
  return doubleValue;
}

std::string Json::GetString() {
  if (type != JsonString) {
    throw "Invalid Json type string";
  }
  return stringValue;
}

void Json::SetBoolean(bool value) {
  reset(JsonBoolean);
  booleanValue = value;
}

void Json::SetInteger(int value) {
  reset(JsonInteger);
  integerValue = value;
}

void Json::SetDouble(double value) {
  reset(JsonDouble);
  doubleValue = value;
}

void Json::SetString(std::string value) {
  reset(JsonString);
  stringValue = value;
}

void Json::reset(JsonType kind) {
  if (type == kind) {
    return;
  }
  clearItems();
  clearData();
  isNull = false;
  booleanValue = false;
  integerValue = 0;
  doubleValue = 0;
  stringValue.clear();
  type = kind;
}

std::string Json::Serialize(bool compact) {
  return serialize(compact ? -1 : 0);
}

std::string Json::serialize(int indent) {
  std::string out;
  serializeTo(&out, indent);
  return out;
}

void Json::serializeTo(std::string* out, int indent) {
  switch (type) {
    case JsonBoolean:
      *out += booleanValue ? "true" : "false";
      break;
    case JsonInteger:
      *out += std::to_string(integerValue);
      break;
    case JsonDouble:
      *out += formatDouble(doubleValue);
      break;
    case JsonString:
      appendQuoted(out, stringValue);
      break;
    default:
      serializeChildren(out, indent);
  }
}

void Json::serializeChildren(std::string* out, int indent) {
  bool object = type == JsonObject;
  if (object && isNull) {
    *out += "null";
    return;
  }
  if (Count() == 0) {
    *out += object ? "{}" : "[]";
    return;
  }
  *out += object ? "{" : "[";
  if (indent >= 0) {
    *out += '\n';
  }
  int childIndent = indent >= 0 ? indent + 1 : -1;
  size_t count = object ? data.size() : items.size();
  auto entry = data.begin();
  for (size_t i = 0; i < count; ++i) {
    out->append(childIndent >= 0 ? childIndent : 0, '\t');
    Json* child = object ? entry->second : items[i];
    if (object) {
      appendQuoted(out, entry->first);
      *out += indent >= 0 ? ": " : ":";
      ++entry;
    }
    child->serializeTo(out, childIndent);
    if (i + 1 < count) {
      *out += ',';
    }
    if (indent >= 0) {
      *out += '\n';
    }
  }
  out->append(indent >= 0 ? indent : 0, '\t');
  *out += object ? "}" : "]";
}

int Json::parse(std::string text, int index, int* line, int* column) {
  return parseValue(text, index, line, column, 1);
}

int Json::parseValue(const std::string& text, int index, int* line, int* column, int depth) {
  char c = text[index];
  if ((c == '{' || c == '[') && depth > MAX_DEPTH) {
    fail("Json::parse nesting deeper than " + std::to_string(MAX_DEPTH) + " levels at ", line,
         column, "Unexpected Json token");
  }
  if (c == '{') {
    return parseObject(text, index, line, column, depth);
  }
  if (c == '[') {
    return parseArray(text, index, line, column, depth);
  }
  if (c == '"') {
    return parseString(text, index, line, column);
  }
  if (c == 'n' || c == 't' || c == 'f') {
    return parseWord(text, index, line, column);
  }
  return parseNumber(text, index, line, column);
}

int Json::parseObject(const std::string& text, int index, int* line, int* column, int depth) {
  type = JsonObject;
  log("Json::parse object definition at " + location(line, column) + ".");
  index = step(text, index, line, column);
  while (true) {
    index = skipSpace(text, index, line, column);
    if (index >= static_cast<int>(text.size())) {
      fail("Json::parse expected object declaration end token at ", line, column,
           "Unexpected Json end");
    }
    if (text[index] == '}') {
      return endObject(text, index, line, column);
    }
    index = parseEntry(text, index, line, column, depth);
    index = skipSpace(text, index, line, column);
    if (index < static_cast<int>(text.size()) && text[index] == ',') {
      index = step(text, index, line, column);
    } else if (index < static_cast<int>(text.size()) && text[index] == '}') {
      return endObject(text, index, line, column);
    } else if (index < static_cast<int>(text.size())) {
      fail("Json::parse unexpected token after value definition at ", line, column,
           "Unexpected Json token");
    }
  }
}

int Json::parseKey(const std::string& text, int index, int* line, int* column, std::string* key) {
  if (text[index] != '"') {
    fail("Json::parse unexpected object key token at ", line, column, "Unexpected Json token");
  }
  index = readString(text, index, line, column, key);
  if (index < 0) {
    fail("Json::parse object definition key unexpected end at ", line, column,
         "Unexpected Json end");
  }
  log("Json::parse parse key " + Logger::Excerpt(*key) + ".");
  index = skipSpace(text, index, line, column);
  int size = static_cast<int>(text.size());
  if (index < size && text[index] != ':') {
    fail("Json::parse expected key declaration separator at ", line, column,
         "Unexpected Json token");
  }
  index = index < size ? skipSpace(text, step(text, index, line, column), line, column) : index;
  if (index >= size) {
    fail("Json::parse expected value of key " + Logger::Excerpt(*key) + " at ", line, column,
         "Unexpected Json end");
  }
  if (text[index] == ':') {
    fail("Json::parse unexpected token : at ", line, column, "Unexpected Json token");
  }
  return index;
}

int Json::parseEntry(const std::string& text, int index, int* line, int* column, int depth) {
  std::string key;
  index = parseKey(text, index, line, column, &key);
  std::unique_ptr<Json> child(new Json(logger));
  child->traceLeft = traceLeft;
  index = child->parseValue(text, index, line, column, depth + 1);
  child->parent = this;
  Json*& slot = data[key];
  delete slot;
  slot = child.release();
  log("Json::parse add key " + Logger::Excerpt(key) + " value.");
  if (index >= static_cast<int>(text.size())) {
    fail("Json::parse unexpected value definition end at ", line, column, "Unexpected Json end");
  }
  return index;
}

int Json::endObject(const std::string& text, int index, int* line, int* column) {
  log("Json::parse end of object definition at " + location(line, column) + ".");
  index = step(text, index, line, column);
  log("Json::parse index of end object " + std::to_string(index) + ".");
  return index;
}

int Json::parseArray(const std::string& text, int index, int* line, int* column, int depth) {
  type = JsonArray;
  log("Json::parse array definition at " + location(line, column) + ".");
  index = step(text, index, line, column);
  int size = static_cast<int>(text.size());
  while (true) {
    index = skipSpace(text, index, line, column);
    if (index >= size) {
      fail("Json::parse unexpected array end at ", line, column, "Unexpected Json end");
    }
    if (text[index] == ']') {
      return step(text, index, line, column);
    }
    if (text[index] == ',') {
      fail("Json::parse unexpected token ',' in array at ", line, column, "Unexpected Json token");
    }
    index = skipSpace(text, parseItem(text, index, line, column, depth), line, column);
    if (index < size && text[index] == ',') {
      index = step(text, index, line, column);
    } else if (index < size && text[index] == ']') {
      return step(text, index, line, column);
    } else if (index < size) {
      fail("Json::parse unexpected array token after item definition at ", line, column,
           "Unexpected Json token");
    }
  }
}

int Json::parseItem(const std::string& text, int index, int* line, int* column, int depth) {
  std::unique_ptr<Json> item(new Json(logger));
  item->traceLeft = traceLeft;
  index = item->parseValue(text, index, line, column, depth + 1);
  if (index >= static_cast<int>(text.size())) {
    fail("Json::parse unexpected array end at ", line, column, "Unexpected Json end");
  }
  log("Json::parse append array item " + std::to_string(items.size()) + " at " +
      location(line, column) + ".");
  item->parent = this;
  items.push_back(item.get());
  item.release();
  return index;
}

int Json::parseString(const std::string& text, int index, int* line, int* column) {
  type = JsonString;
  log("Json::parse string definition at " + location(line, column) + ".");
  index = readString(text, index, line, column, &stringValue);
  if (index < 0) {
    fail("Json::parse unexpected end of string at ", line, column, "Unexpected Json end");
  }
  log("Json::parse read string value: " + Logger::Excerpt(stringValue) + ".");
  return index;
}

int Json::parseWord(const std::string& text, int index, int* line, int* column) {
  static const char* const WORDS[] = {"null", "true", "false"};
  for (const char* word : WORDS) {
    std::string name(word);
    size_t end = index + name.size();
    if (text.compare(index, name.size(), name) != 0 ||
        (end < text.size() && !isSeparatorChar(text[end]))) {
      continue;
    }
    if (name == "null") {
      type = JsonObject;
      isNull = true;
      log("Json::parse null object value at " + location(line, column) + ".");
    } else {
      type = JsonBoolean;
      booleanValue = name == "true";
      log("Json::parse " + name + " boolean value at " + location(line, column) + ".");
    }
    for (size_t i = 0; i < name.size(); ++i) {
      index = step(text, index, line, column);
    }
    return index;
  }
  return parseNumber(text, index, line, column);
}

int Json::parseNumber(const std::string& text, int index, int* line, int* column) {
  const char* unexpected = "Json::parse unexpected number token at ";
  int size = static_cast<int>(text.size());
  int start = index;
  bool negative = text[index] == '-';
  index = negative ? step(text, index, line, column) : index;
  int64_t whole = 0;
  int digits = 0;
  for (; index < size && isDigit(text[index]); ++digits) {
    whole = whole * 10 + (text[index] - '0');
    if (whole > DOUBLE_WHOLE_LIMIT) {
      fail(unexpected, line, column, "Unexpected Json token");
    }
    index = step(text, index, line, column);
  }
  bool fraction = digits > 0 && index < size && text[index] == '.';
  if (fraction) {
    index = step(text, index, line, column);
    while (index < size && isDigit(text[index])) {
      index = step(text, index, line, column);
    }
  }
  int64_t intLimit = negative ? 2147483648LL : 2147483647LL;
  if (digits == 0 || (index < size && !isSeparatorChar(text[index])) ||
      (!fraction && whole > intLimit)) {
    fail(unexpected, line, column, "Unexpected Json token");
  }
  if (fraction) {
    type = JsonDouble;
    doubleValue = String::ToNumber<double>(text.substr(start, index - start));
    log("Json::parse double value " + formatDouble(doubleValue) + " at " + location(line, column) +
        ".");
  } else {
    type = JsonInteger;
    integerValue = static_cast<int>(negative ? -whole : whole);
    log("Json::parse integer value " + std::to_string(integerValue) + " at " +
        location(line, column) + ".");
  }
  return index;
}

void Json::fail(const std::string& message, int* line, int* column, const char* error) {
  if (logger != nullptr) {
    logger->Write(message + location(line, column) + ".");
  }
  throw error;
}

void Json::clearItems() {
  if (items.empty()) {
    return;
  }
  log("Json::clearItems start for " + std::to_string(items.size()) + " items.");
  for (size_t i = 0; i < items.size(); ++i) {
    log("Json::clearItems #" + std::to_string(i) + ".");
    delete items[i];
    log("Json::clearItems #" + std::to_string(i) + " end.");
  }
  items.clear();
}

void Json::clearData() {
  if (data.empty()) {
    return;
  }
  log("Json::clearData start for " + std::to_string(data.size()) + " object keys.");
  for (auto& entry : data) {
    std::string key = Logger::Excerpt(entry.first);
    log("Json::clearData #" + key + ".");
    delete entry.second;
    log("Json::clearData #" + key + " end.");
  }
  data.clear();
}

void Json::log(const std::string& message) {
  if (logger == nullptr || (traceLeft != nullptr && *traceLeft < 0)) {
    return;
  }
  if (traceLeft != nullptr && (*traceLeft)-- == 0) {
    logger->Write("Json trace stops after " + std::to_string(TRACE_LIMIT) +
                  " lines; the further trace lines of this document are left out.");
    return;
  }
  logger->Write(message);
}

bool Json::isSpaceChar(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool Json::isSeparatorChar(char c) {
  return isSpaceChar(c) || c == ',' || c == ']' || c == '}';
}

void Json::charLocator(char c, int* line, int* column) {
  if (c == '\n') {
    ++*line;
    *column = 0;
  } else {
    ++*column;
  }
}

std::string Json::location(int* line, int* column) {
  return "[" + std::to_string(*line) + "," + std::to_string(*column) + "]";
}

int Json::step(const std::string& text, int index, int* line, int* column) {
  charLocator(text[index], line, column);
  return index + 1;
}

int Json::skipSpace(const std::string& text, int index, int* line, int* column) {
  while (index < static_cast<int>(text.size()) && isSpaceChar(text[index])) {
    index = step(text, index, line, column);
  }
  return index;
}

int Json::readString(const std::string& text, int index, int* line, int* column,
                     std::string* value) {
  int size = static_cast<int>(text.size());
  index = step(text, index, line, column);
  while (index < size && text[index] != '"') {
    for (int consumed = readCharacter(text, index, value); consumed > 0; --consumed) {
      index = step(text, index, line, column);
    }
  }
  return index < size ? step(text, index, line, column) : -1;
}

#include "util/JsonParser.h"

#include "app/Logger.h"
#include "util/Json.h"
#include "util/JsonEscape.h"
#include "util/JsonWriter.h"
#include "util/String.h"

namespace {

// The whole part of a number is read exactly up to this magnitude (2^53).
const int64_t WHOLE_LIMIT = 9007199254740992LL;
const char* const UNEXPECTED_TOKEN = "Unexpected Json token";
const char* const UNEXPECTED_END = "Unexpected Json end";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isSpaceChar(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isSeparatorChar(char c) {
  return isSpaceChar(c) || c == ',' || c == ']' || c == '}';
}

}  // namespace

JsonParser::JsonParser(Json* root, const std::string& text)
    : root(root), text(text), size(static_cast<int>(text.size())) {}

// document = object space*
void JsonParser::Parse() {
  if (text.empty() || text[0] != '{') {
    trace("Json expected object token at " + location() + ".");
    throw "Expected Json object token";
  }
  parseValue(root);
  trace("Json object definition end at " + location() + " index " + std::to_string(index) +
        " total " + std::to_string(text.size()) + ".");
  parseRest();
}

// The space* after the document's object.
void JsonParser::parseRest() {
  while (index < size) {
    char c = text[index];
    step();
    std::string code = std::to_string(static_cast<int>(static_cast<signed char>(c)));
    std::string message = "Json after char " + code;
    trace(message.append(" code ").append(code).append("."));
    if (!isSpaceChar(c)) {
      fail("Json unexpected token at ", UNEXPECTED_TOKEN);
    }
  }
}

// value = object | array | string | "null" | "true" | "false" | number
void JsonParser::parseValue(Json* node) {
  char c = text[index];
  if ((c == '{' || c == '[') && depth > MAX_DEPTH) {
    fail("Json::parse nesting deeper than " + std::to_string(MAX_DEPTH) + " levels at ",
         UNEXPECTED_TOKEN);
  }
  if (c == '{') {
    parseObject(node);
  } else if (c == '[') {
    parseArray(node);
  } else if (c == '"') {
    parseString(node);
  } else if (c == 'n' || c == 't' || c == 'f') {
    parseWord(node);
  } else {
    parseNumber(node);
  }
}

std::unique_ptr<Json> JsonParser::parseChild(Json* parent) {
  std::unique_ptr<Json> child(new Json(root->logger));
  child->traceLeft = root->traceLeft;
  ++depth;
  parseValue(child.get());
  --depth;
  child->parent = parent;
  return child;
}

// object = "{" space* (entry space* "," space*)* [entry space*] "}"
void JsonParser::parseObject(Json* node) {
  node->type = JsonObject;
  trace("Json::parse object definition at " + location() + ".");
  step();
  while (true) {
    skipSpace();
    if (atEnd()) {
      fail("Json::parse expected object declaration end token at ", UNEXPECTED_END);
    }
    if (text[index] == '}') {
      return endObject();
    }
    parseEntry(node);
    skipSpace();
    if (at(',')) {
      step();
    } else if (at('}')) {
      return endObject();
    } else if (!atEnd()) {
      fail("Json::parse unexpected token after value definition at ", UNEXPECTED_TOKEN);
    }
  }
}

// entry = string space* ":" space* value
void JsonParser::parseEntry(Json* node) {
  std::string key;
  parseKey(&key);
  std::unique_ptr<Json> child = parseChild(node);
  Json*& slot = node->data[key];
  delete slot;
  slot = child.release();
  trace("Json::parse add key " + Logger::Excerpt(key) + " value.");
  if (atEnd()) {
    fail("Json::parse unexpected value definition end at ", UNEXPECTED_END);
  }
}

// string space* ":" space*, up to the start of the entry's value.
void JsonParser::parseKey(std::string* key) {
  if (text[index] != '"') {
    fail("Json::parse unexpected object key token at ", UNEXPECTED_TOKEN);
  }
  if (!readString(key)) {
    fail("Json::parse object definition key unexpected end at ", UNEXPECTED_END);
  }
  trace("Json::parse parse key " + Logger::Excerpt(*key) + ".");
  skipSpace();
  if (!atEnd() && text[index] != ':') {
    fail("Json::parse expected key declaration separator at ", UNEXPECTED_TOKEN);
  }
  if (!atEnd()) {
    step();
    skipSpace();
  }
  if (atEnd()) {
    fail("Json::parse expected value of key " + Logger::Excerpt(*key) + " at ", UNEXPECTED_END);
  }
  if (text[index] == ':') {
    fail("Json::parse unexpected token : at ", UNEXPECTED_TOKEN);
  }
}

void JsonParser::endObject() {
  trace("Json::parse end of object definition at " + location() + ".");
  step();
  trace("Json::parse index of end object " + std::to_string(index) + ".");
}

// array = "[" space* (value space* "," space*)* [value space*] "]"
void JsonParser::parseArray(Json* node) {
  node->type = JsonArray;
  trace("Json::parse array definition at " + location() + ".");
  step();
  while (true) {
    skipSpace();
    if (atEnd()) {
      fail("Json::parse unexpected array end at ", UNEXPECTED_END);
    }
    if (text[index] == ']') {
      return step();
    }
    if (text[index] == ',') {
      fail("Json::parse unexpected token ',' in array at ", UNEXPECTED_TOKEN);
    }
    parseItem(node);
    skipSpace();
    if (at(',')) {
      step();
    } else if (at(']')) {
      return step();
    } else if (!atEnd()) {
      fail("Json::parse unexpected array token after item definition at ", UNEXPECTED_TOKEN);
    }
  }
}

// One value of an array.
void JsonParser::parseItem(Json* node) {
  std::unique_ptr<Json> item = parseChild(node);
  if (atEnd()) {
    fail("Json::parse unexpected array end at ", UNEXPECTED_END);
  }
  trace("Json::parse append array item " + std::to_string(node->items.size()) + " at " +
        location() + ".");
  node->items.push_back(item.get());
  static_cast<void>(item.release());  // the array owns it now
}

// string = '"' (escape | any byte but '"')* '"'
void JsonParser::parseString(Json* node) {
  node->type = JsonString;
  trace("Json::parse string definition at " + location() + ".");
  if (!readString(&node->stringValue)) {
    fail("Json::parse unexpected end of string at ", UNEXPECTED_END);
  }
  trace("Json::parse read string value: " + Logger::Excerpt(node->stringValue) + ".");
}

// "null" | "true" | "false", followed by a separator or the end; anything else that starts with
// their first letters is read as a number, and so refused.
void JsonParser::parseWord(Json* node) {
  static const char* const WORDS[] = {"null", "true", "false"};
  for (const char* word : WORDS) {
    std::string name(word);
    if (!isWordAt(name)) {
      continue;
    }
    if (name == "null") {
      node->type = JsonObject;
      node->isNull = true;
      trace("Json::parse null object value at " + location() + ".");
    } else {
      node->type = JsonBoolean;
      node->booleanValue = name == "true";
      trace("Json::parse " + name + " boolean value at " + location() + ".");
    }
    for (size_t i = 0; i < name.size(); ++i) {
      step();
    }
    return;
  }
  parseNumber(node);
}

bool JsonParser::isWordAt(const std::string& word) const {
  size_t end = index + word.size();
  return text.compare(index, word.size(), word) == 0 &&
         (end >= text.size() || isSeparatorChar(text[end]));
}

// number = ["-"] digit+ ["." digit*], followed by a separator or the end. Without a point it is
// an integer and must fit an int.
void JsonParser::parseNumber(Json* node) {
  int start = index;
  bool negative = text[index] == '-';
  if (negative) {
    step();
  }
  int digits = 0;
  int64_t whole = parseWhole(&digits);
  bool fraction = digits > 0 && at('.');
  if (fraction) {
    step();
    while (index < size && isDigit(text[index])) {
      step();
    }
  }
  int64_t intLimit = negative ? 2147483648LL : 2147483647LL;
  if (digits == 0 || (!atEnd() && !isSeparatorChar(text[index])) ||
      (!fraction && whole > intLimit)) {
    fail("Json::parse unexpected number token at ", UNEXPECTED_TOKEN);
  }
  if (fraction) {
    node->type = JsonDouble;
    node->doubleValue = String::ToNumber<double>(text.substr(start, index - start));
    trace("Json::parse double value " + JsonWriter::FormatDouble(node->doubleValue) + " at " +
          location() + ".");
  } else {
    node->type = JsonInteger;
    node->integerValue = static_cast<int>(negative ? -whole : whole);
    trace("Json::parse integer value " + std::to_string(node->integerValue) + " at " + location() +
          ".");
  }
}

// digit*, with their count; refuses a whole part above WHOLE_LIMIT.
int64_t JsonParser::parseWhole(int* digits) {
  int64_t whole = 0;
  for (; index < size && isDigit(text[index]); ++*digits) {
    whole = whole * 10 + (text[index] - '0');
    if (whole > WHOLE_LIMIT) {
      fail("Json::parse unexpected number token at ", UNEXPECTED_TOKEN);
    }
    step();
  }
  return whole;
}

bool JsonParser::readString(std::string* value) {
  step();
  while (index < size && text[index] != '"') {
    for (int consumed = JsonEscape::Read(text, index, value); consumed > 0; --consumed) {
      step();
    }
  }
  if (atEnd()) {
    return false;
  }
  step();
  return true;
}

void JsonParser::step() {
  if (text[index] == '\n') {
    ++line;
    column = 0;
  } else {
    ++column;
  }
  ++index;
}

void JsonParser::skipSpace() {
  while (index < size && isSpaceChar(text[index])) {
    step();
  }
}

std::string JsonParser::location() const {
  return "[" + std::to_string(line) + "," + std::to_string(column) + "]";
}

void JsonParser::trace(const std::string& message) {
  root->log(message);
}

void JsonParser::fail(const std::string& message, const char* error) {
  if (root->logger != nullptr) {
    root->logger->Write(message + location() + ".");
  }
  throw error;
}

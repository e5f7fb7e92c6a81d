#include "util/Json.h"

#include <climits>
#include <cmath>

#include "app/Logger.h"
#include "util/JsonParser.h"
#include "util/JsonWriter.h"

namespace {

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
  try {
    JsonParser(this, text).Parse();
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

Json* Json::FindItem(const std::string& key) {
  if (type != JsonObject || isNull)
    return nullptr;
  auto found = data.find(key);
  return found != data.end() ? found->second : nullptr;
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
  return JsonWriter::Write(this, compact);
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

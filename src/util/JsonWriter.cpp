#include "util/JsonWriter.h"

#include <clocale>
#include <cstdio>

#include "util/Json.h"
#include "util/JsonEscape.h"
#include "util/String.h"

std::string JsonWriter::Write(const Json* node, bool compact) {
  JsonWriter writer;
  writer.value(node, compact ? -1 : 0);
  return writer.out;
}

std::string JsonWriter::FormatDouble(double value) {
  // The longest is the lowest double: a sign, 309 digits, a point and six decimals.
  char buffer[320];
  int size = std::snprintf(buffer, sizeof buffer, "%f", value);
  std::string text(buffer, size);
  const char* point = std::localeconv()->decimal_point;
  if (point != nullptr && point[0] != '\0' && std::string(point) != ".") {
    text = String::Replace(text, point, ".");
  }
  return text;
}

void JsonWriter::value(const Json* node, int indent) {
  switch (node->type) {
    case JsonBoolean:
      out += node->booleanValue ? "true" : "false";
      break;
    case JsonInteger:
      out += std::to_string(node->integerValue);
      break;
    case JsonDouble:
      out += FormatDouble(node->doubleValue);
      break;
    case JsonString:
      JsonEscape::AppendQuoted(&out, node->stringValue);
      break;
    default:
      children(node, indent);
  }
}

void JsonWriter::children(const Json* node, int indent) {
  bool object = node->type == JsonObject;
  if (object && node->isNull) {
    out += "null";
    return;
  }
  size_t count = object ? node->data.size() : node->items.size();
  if (count == 0) {
    out += object ? "{}" : "[]";
    return;
  }
  out += object ? "{" : "[";
  if (indent >= 0) {
    out += '\n';
  }
  int childIndent = indent >= 0 ? indent + 1 : -1;
  auto entry = node->data.begin();
  for (size_t i = 0; i < count; ++i) {
    out.append(childIndent >= 0 ? childIndent : 0, '\t');
    const Json* child = object ? entry->second : node->items[i];
    if (object) {
      JsonEscape::AppendQuoted(&out, entry->first);
      out += indent >= 0 ? ": " : ":";
      ++entry;
    }
    value(child, childIndent);
    if (i + 1 < count) {
      out += ',';
    }
    if (indent >= 0) {
      out += '\n';
    }
  }
  out.append(indent >= 0 ? indent : 0, '\t');
  out += object ? "}" : "]";
}

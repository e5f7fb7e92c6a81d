#include "app/JournalRecord.h"

#include <ctime>

#include "util/Json.h"
#include "util/JsonEscape.h"

const char* const JournalRecord::SUCCEEDED = "succeeded";
const char* const JournalRecord::FAILED = "failed";
const char* const JournalRecord::ROLLED_BACK = "rolled_back";
const char* const JournalRecord::INTERRUPTED = "interrupted";

namespace {

class Line {
 public:
  void Text(const char* key, const std::string& value) {
    name(key);
    if (value.empty())
      out += "null";
    else
      JsonEscape::AppendQuoted(&out, value);
  }
  void Number(const char* key, int value) {
    name(key);
    out += std::to_string(value);
  }
  void Null(const char* key) {
    name(key);
    out += "null";
  }
  std::string Close() { return out + "}"; }

 private:
  void name(const char* key) {
    out += out.size() > 1 ? ", " : "";
    JsonEscape::AppendQuoted(&out, key);
    out += ": ";
  }
  std::string out = "{";
};

// The item of an object under key; null when the key is absent.
Json* itemOf(Json* object, const std::string& key) {
  return object != nullptr ? object->FindItem(key) : nullptr;
}

std::string textOf(Json& object, const std::string& key) {
  Json* item = itemOf(&object, key);
  return item != nullptr && item->GetType() == JsonString ? item->GetString() : "";
}

int numberOf(Json& object, const std::string& key, int fallback) {
  Json* item = itemOf(&object, key);
  return item != nullptr && item->GetType() == JsonInteger ? item->GetInteger() : fallback;
}

}  // namespace

std::string JournalRecord::ToLine() const {
  Line line;
  line.Text("record", end ? "end" : "start");
  line.Text("id", id);
  line.Text("action", action);
  line.Text("result", result);
  line.Text("version_before", versionBefore);
  line.Text("version_after", versionAfter);
  line.Text("started", started);
  line.Text("ended", ended);
  if (exitStatus >= 0)
    line.Number("exit_status", exitStatus);
  else
    line.Null("exit_status");
  line.Text("user", user);
  line.Text("host", host);
  line.Text("program_version", programVersion);
  line.Text("settings_sha256", settingsSha256);
  line.Text("failed_command", failedCommand);
  if (!failedCommand.empty())
    line.Number("failed_status", failedStatus);
  else
    line.Null("failed_status");
  return line.Close();
}

bool JournalRecord::FromLine(const std::string& line, JournalRecord* record) {
  try {
    Json object(nullptr, line);
    std::string kind = textOf(object, "record");
    if (kind != "start" && kind != "end")
      return false;
    *record = JournalRecord();
    record->end = kind == "end";
    record->id = textOf(object, "id");
    record->action = textOf(object, "action");
    record->result = record->end ? textOf(object, "result") : INTERRUPTED;
    record->versionBefore = textOf(object, "version_before");
    record->versionAfter = textOf(object, "version_after");
    record->started = textOf(object, "started");
    record->ended = textOf(object, "ended");
    record->exitStatus = numberOf(object, "exit_status", -1);
    record->user = textOf(object, "user");
    record->host = textOf(object, "host");
    record->programVersion = textOf(object, "program_version");
    record->settingsSha256 = textOf(object, "settings_sha256");
    record->failedCommand = textOf(object, "failed_command");
    record->failedStatus = numberOf(object, "failed_status", 0);
    return true;
  } catch (...) {
    return false;
  }
}

std::string JournalRecord::Now() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return buffer;
}

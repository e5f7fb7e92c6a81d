#include "cli/HistoryCommand.h"

#include "app/Journal.h"

namespace {

std::string orNone(const std::string& text) {
  return text.empty() ? "-" : text;
}

}  // namespace

int HistoryCommand::Run(int count, bool json, std::ostream& out) {
  for (const JournalRecord& record : Journal().Last(static_cast<size_t>(count))) {
    if (json) {
      out << record.ToLine() << '\n';
      continue;
    }
    out << record.started << "  " << record.action << "  " << record.result << "  "
        << orNone(record.versionBefore) << " -> " << orNone(record.versionAfter);
    if (record.exitStatus >= 0)
      out << "  exit " << record.exitStatus;
    out << "  " << record.user << "@" << record.host;
    if (!record.failedCommand.empty())
      out << "  failed: " << record.failedCommand << " (" << record.failedStatus << ")";
    out << '\n';
  }
  return 0;
}

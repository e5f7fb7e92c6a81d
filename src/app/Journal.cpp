#include "app/Journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

const char* const Journal::FILE_NAME = "history.jsonl";

namespace {

// Reads the lines of a file from its end, a block at a time, so that the last actions of a large
// journal are found without reading all of it.
class BackwardLines {
 public:
  explicit BackwardLines(const std::string& file) : in(file, std::ios::binary) {
    if (in) {
      in.seekg(0, std::ios::end);
      position = static_cast<long>(in.tellg());
    }
  }

  bool Next(std::string* line) {
    while (true) {
      size_t cut = pending.rfind('\n');
      if (cut != std::string::npos) {
        *line = pending.substr(cut + 1);
        pending.erase(cut);
        if (!line->empty())
          return true;
        continue;
      }
      if (position == 0) {
        *line = pending;
        pending.clear();
        return !line->empty();
      }
      long size = std::min(position, BLOCK);
      position -= size;
      std::string block(static_cast<size_t>(size), '\0');
      in.seekg(position);
      in.read(block.data(), size);
      pending = block + pending;
    }
  }

 private:
  static constexpr long BLOCK = 16384;
  std::ifstream in;
  long position = 0;
  std::string pending;
};

}  // namespace

Journal::Journal(std::string folder)
    : path(folder.empty() || folder == "." ? FILE_NAME : folder + "/" + FILE_NAME) {}

bool Journal::Append(const JournalRecord& record) {
  rotate();
  std::string line = record.ToLine() + "\n";
  int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  bool written = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  written = fsync(fd) == 0 && written;
  return close(fd) == 0 && written;
}

void Journal::rotate() {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && status.st_size > ROTATE_BYTES)
    std::rename(path.c_str(), (path + ".1").c_str());
}

std::vector<JournalRecord> Journal::Last(size_t count) const {
  std::vector<JournalRecord> found;
  std::vector<std::string> ended;
  collect(path, count, &found, &ended);
  if (found.size() < count)
    collect(path + ".1", count, &found, &ended);
  std::reverse(found.begin(), found.end());
  return found;
}

void Journal::collect(const std::string& file, size_t count, std::vector<JournalRecord>* found,
                      std::vector<std::string>* ended) {
  BackwardLines lines(file);
  std::string line;
  JournalRecord record;
  while (found->size() < count && lines.Next(&line)) {
    if (!JournalRecord::FromLine(line, &record))
      continue;
    if (record.end) {
      ended->push_back(record.id);
      found->push_back(record);
    } else if (std::find(ended->begin(), ended->end(), record.id) == ended->end()) {
      found->push_back(record);
    }
  }
}

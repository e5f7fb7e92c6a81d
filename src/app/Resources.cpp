#include "app/Resources.h"

#include "app/InputFile.h"
#include "app/Logger.h"

namespace {

constexpr size_t BUFFER_SIZE = 256;

// Collects bytes through a fixed buffer that is appended to the text whenever it fills.
class Collector {
 public:
  void Add(char c) {
    buffer[used++] = c;
    if (used == BUFFER_SIZE)
      flush();
  }
  std::string Take() {
    flush();
    std::string result;
    result.swap(text);
    return result;
  }

 private:
  void flush() {
    text.append(buffer, used);
    used = 0;
  }

  char buffer[BUFFER_SIZE];
  size_t used = 0;
  std::string text;
};

// The entry state machine: 0 between entries, 1 in a key, 2 after "=", 3 in a text.
class EntryReader {
 public:
  // Feeds one byte; false when the byte is not allowed after "=".
  bool Step(char byte, std::map<std::string, std::string>& texts) {
    switch (state) {
      case 0:
        if (byte == '#')
          state = 1;
        return true;
      case 1:
        if (byte == '=')
          state = 2;
        else
          key.Add(byte);
        return true;
      case 2:
        return afterEquals(byte);
      default:
        if (byte != ']') {
          text.Add(byte);
          return true;
        }
        texts.insert_or_assign(key.Take(), text.Take());
        state = 0;
        return true;
    }
  }
  int State() const { return state; }

 private:
  bool afterEquals(char byte) {
    if (byte == '[')
      state = 3;
    return byte == '[' || byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
  }

  int state = 0;
  Collector key;
  Collector text;
};

}  // namespace

Resources::Resources(Logger* logger, std::string fileName) : logger(logger), fileName(fileName) {}

void Resources::Load() {
  std::string content = InputFile::Load(logger, fileName, "Resources::Load",
                                        "Can't open file " + fileName + " with resources. ",
                                        "Fail when load resources");
  EntryReader reader;
  for (char byte : content) {
    if (!reader.Step(byte, texts)) {
      logger->Write("Resource read unexpected char " + std::string(1, byte) + " wass found in" +
                    fileName + ".");
      throw "ResourceReadFormat";
    }
  }
  if (reader.State() != 0) {
    logger->Write("Resource read state " + std::to_string(reader.State()) + " while reading file " +
                  fileName + ".");
    throw "Unexpected end of file.";
  }
}

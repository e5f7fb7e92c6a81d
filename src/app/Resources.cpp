#include "app/Resources.h"

#include "app/InputFile.h"
#include "app/Logger.h"

Resources::Resources(Logger* logger, std::string fileName) : logger(logger), fileName(fileName) {}

void Resources::Load() {
  std::string content = InputFile::Load(logger, fileName, "Resources::Load",
                                        "Can't open file " + fileName + " with resources. ",
                                        "Fail when load resources");
  size_t at = 0;
  while ((at = content.find('#', at)) != std::string::npos)
    at = readEntry(content, at);
}

// One entry "#KEY=[TEXT]" from the "#" at start: the key runs to the first "=", only blanks may
// stand between "=" and "[", and the text runs to the first "]". Returns where the next entry
// may start; what stands between entries is skipped.
size_t Resources::readEntry(const std::string& content, size_t start) {
  size_t equals = content.find('=', start + 1);
  if (equals == std::string::npos)
    unexpectedEnd(1);
  size_t open = content.find_first_not_of(" \t\r\n", equals + 1);
  if (open == std::string::npos)
    unexpectedEnd(2);
  if (content[open] != '[') {
    logger->Write("Resource read unexpected char " + std::string(1, content[open]) +
                  " wass found in" + fileName + ".");
    throw "ResourceReadFormat";
  }
  size_t close = content.find(']', open + 1);
  if (close == std::string::npos)
    unexpectedEnd(3);
  texts.insert_or_assign(content.substr(start + 1, equals - start - 1),
                         content.substr(open + 1, close - open - 1));
  return close + 1;
}

// The file ended inside an entry: 1 in its key, 2 after "=", 3 in its text.
void Resources::unexpectedEnd(int state) {
  logger->Write("Resource read state " + std::to_string(state) + " while reading file " + fileName +
                ".");
  throw "Unexpected end of file.";
}

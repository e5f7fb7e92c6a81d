// Feeds arbitrary bytes to Resources::Load through a temporary file: every input must load or fail
// with one of the documented texts.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Logger.h"
#include "app/Resources.h"

namespace {

// The file the inputs are written to, removed when the fuzzer ends.
struct InputFile {
  InputFile() {
    char pattern[] = "/tmp/fuzz-resources-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0)
      std::abort();
    close(fd);
    name = pattern;
  }
  ~InputFile() { std::remove(name.c_str()); }
  void Write(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
      std::abort();
  }
  std::string name;
};

bool documented(const char* message) {
  for (const char* known : {"ResourceReadFormat", "Unexpected end of file."}) {
    if (std::strcmp(message, known) == 0)
      return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static InputFile input;
  static Logger logger("/dev/null");
  input.Write(data, size);
  Resources resources(&logger, input.name);
  try {
    resources.Load();
  } catch (const char* message) {
    if (!documented(message))
      std::abort();
  }
  return 0;
}

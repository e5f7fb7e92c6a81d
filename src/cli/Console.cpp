#include "cli/Console.h"

#include <ext/stdio_sync_filebuf.h>

#include <cstdio>

namespace {

using StdioBuffer = __gnu_cxx::stdio_sync_filebuf<char>;

// The stream, which flushes the output before it is used.
template <typename Stream>
Stream& tiedToOut(Stream& stream) {
  stream.tie(&Console::Out());
  return stream;
}

}  // namespace

std::ostream& Console::Out() {
  static StdioBuffer buffer(stdout);
  static std::ostream stream(&buffer);
  return stream;
}

// Unit-buffered and tied to the output, as std::cerr is: an error comes after whatever the output
// has printed so far, even where both go to one file.
std::ostream& Console::Err() {
  static StdioBuffer buffer(stderr);
  static std::ostream stream(&buffer);
  static std::ostream& ready = tiedToOut(stream << std::unitbuf);
  return ready;
}

std::istream& Console::In() {
  static StdioBuffer buffer(stdin);
  static std::istream stream(&buffer);
  static std::istream& ready = tiedToOut(stream);
  return ready;
}

#include "cli/Console.h"

#include <ext/stdio_sync_filebuf.h>

#include <cstdio>

namespace {

using StdioBuffer = __gnu_cxx::stdio_sync_filebuf<char>;

}  // namespace

std::ostream& Console::Out() {
  static StdioBuffer buffer(stdout);
  static std::ostream stream(&buffer);
  return stream;
}

std::ostream& Console::Err() {
  static StdioBuffer buffer(stderr);
  static std::ostream stream(&buffer);
  return stream;
}

std::istream& Console::In() {
  static StdioBuffer buffer(stdin);
  static std::istream stream(&buffer);
  stream.tie(&Out());
  return stream;
}

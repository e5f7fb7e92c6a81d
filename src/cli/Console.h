#pragma once

#include <istream>
#include <ostream>

// The standard input, output and error as streams, made at their first use. They behave as
// std::cin, std::cout and std::cerr do by default: each writes through the C library's own
// stdin, stdout and stderr, so stream and stdio output keep their order, and the input and the
// error are tied to the output (reading or writing an error flushes it first). Unlike those, they
// cost nothing until a command prints: a unit that includes <iostream> makes the eight standard
// streams and the C++ locale at every start, before main, and the interactive run never prints
// through them.
class Console {
 public:
  static std::ostream& Out();
  static std::ostream& Err();
  static std::istream& In();
};

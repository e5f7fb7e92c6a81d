#pragma once

#include <string>

// The one way failures are told apart where they are contained: whatever was thrown, a C string,
// a std::string (the observer's failure), a std::exception or anything else, is classified the
// same way everywhere. Call Caught only inside a catch block.
class Failure {
 public:
  struct Kind {
    bool known;        // a C string, std::string or std::exception, with a text
    std::string text;  // its text; "unknown failure" for anything else
  };

  // The failure being handled.
  static Kind Caught();
};

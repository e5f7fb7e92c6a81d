#include "support/Thrown.h"

std::string Thrown(const std::function<void()>& call) {
  try {
    call();
  } catch (const char* message) {
    return message;
  }
  return "";
}

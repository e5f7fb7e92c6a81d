#include "util/Failure.h"

#include <exception>

Failure::Kind Failure::Caught() {
  try {
    throw;
  } catch (const char* message) {
    return {true, message != nullptr ? message : ""};
  } catch (const std::string& message) {
    return {true, message};
  } catch (const std::exception& error) {
    return {true, error.what()};
  } catch (...) {
    return {false, "unknown failure"};
  }
}

#include "ui/Container.h"

Size Container::GetSize() {
  throw "Not Implemented Method Container::GetSize";
}

void Container::ChildDestroyHandler() {
  throw "Not Implemented Method Container::ChildDestroyHandler";
}

bool Container::ReportFailure(const std::string& /*operation*/, const std::string& /*message*/) {
  return false;
}

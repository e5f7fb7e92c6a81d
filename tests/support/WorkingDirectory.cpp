#include "support/WorkingDirectory.h"

#include <filesystem>

WorkingDirectory::WorkingDirectory(const std::string& folder)
    : previous(std::filesystem::current_path().string()) {
  std::filesystem::current_path(folder);
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous, ignored);
}

#include "app/CsType.h"

std::map<std::string, std::string> CsType::GetItems() {
  return {{"docker", "Docker"}, {"podman", "Podman"}};
}

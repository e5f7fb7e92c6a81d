#include "preflight/PortProbe.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const LISTEN_STATE = "0A";

// One table: after its heading, a line per socket with "sl local_address rem_address st ...",
// the local address as HEXADDRESS:HEXPORT.
bool listedIn(const char* table, int port) {
  std::ifstream in(table);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string slot;
    std::string local;
    std::string remote;
    std::string state;
    fields >> slot >> local >> remote >> state;
    size_t colon = local.rfind(':');
    if (colon != std::string::npos && state == LISTEN_STATE &&
        std::strtol(local.c_str() + colon + 1, nullptr, 16) == port)
      return true;
  }
  return false;
}

}  // namespace

bool PortProbe::Listening(int port) {
  return listedIn("/proc/net/tcp", port) || listedIn("/proc/net/tcp6", port);
}

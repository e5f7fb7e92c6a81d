#pragma once

// Tells whether a TCP port has a listener on this machine, from the kernel's tables
// (/proc/net/tcp and /proc/net/tcp6), whatever the address it listens on and whoever holds it.
class PortProbe {
 public:
  static bool Listening(int port);
};

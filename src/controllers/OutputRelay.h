#pragma once

#include <poll.h>
#include <spawn.h>

#include <string>

// A command's standard output and error through relays: what comes is written on at once to this
// program's own standard output and error, so the terminal shows it as it happens, and the last
// 64 KiB of it is kept. A stream of this program that is a terminal is relayed through a new
// pseudo-terminal of its size, so that the command still writes to a terminal (wget draws its
// progress bar, output stays line-buffered); any other through a pipe. When this program's two
// streams are one file or terminal, one relay takes both of the command's, so that their order
// stays. A relay that cannot be made leaves that stream to the command.
class OutputRelay {
 public:
  static constexpr size_t KEPT = size_t{64} * 1024;

  OutputRelay();
  ~OutputRelay();
  OutputRelay(const OutputRelay&) = delete;
  OutputRelay& operator=(const OutputRelay&) = delete;

  // The relays as the command's standard output and error.
  void AddTo(posix_spawn_file_actions_t* actions) const;
  // After the start: only the command writes to the relays.
  void Started();
  // Fills fds with the relays still open, for a wait; returns their number (at most 2).
  nfds_t Watched(pollfd* fds) const;
  // Passes on what can be read now; closes a relay at its end.
  void Relay();
  // What was passed on, at least its last KEPT bytes.
  const std::string& Kept() const { return kept; }

 private:
  struct Channel {
    int stream;   // of this program and of the command: standard output or error
    int ends[2];  // the end read by this program, the end the command writes to
  };

  void relay(Channel* channel);
  void keep(const char* data, size_t size);
  static void writeAll(int fd, const char* data, size_t size);

  bool shared;
  Channel channels[2] = {{1, {-1, -1}}, {2, {-1, -1}}};
  std::string kept;
};

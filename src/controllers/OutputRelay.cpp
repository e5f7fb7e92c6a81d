#include "controllers/OutputRelay.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {
bool sameFile(int first, int second) {
  struct stat one;
  struct stat other;
  return fstat(first, &one) == 0 && fstat(second, &other) == 0 && one.st_dev == other.st_dev &&
         one.st_ino == other.st_ino;
}

// A new pseudo-terminal of the terminal's size that passes on the bytes as they are written (the
// terminal itself turns line feeds into new lines): its controlling side in ends[0], the other
// in ends[1]. False when none can be made.
bool openLike(int terminal, int ends[2]) {
  ends[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[128];
  if (ends[0] < 0 || grantpt(ends[0]) != 0 || unlockpt(ends[0]) != 0 ||
      ptsname_r(ends[0], name, sizeof name) != 0 ||
      (ends[1] = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0) {
    if (ends[0] >= 0)
      close(ends[0]);
    return false;
  }
  winsize size;
  if (ioctl(terminal, TIOCGWINSZ, &size) == 0)
    ioctl(ends[1], TIOCSWINSZ, &size);
  termios modes;
  if (tcgetattr(ends[1], &modes) == 0) {
    modes.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tcsetattr(ends[1], TCSANOW, &modes);
  }
  return true;
}
}  // namespace

OutputRelay::OutputRelay() : shared(sameFile(STDOUT_FILENO, STDERR_FILENO)) {
  for (Channel& channel : channels) {
    if (shared && channel.stream != STDOUT_FILENO)
      continue;
    bool made = isatty(channel.stream) ? openLike(channel.stream, channel.ends)
                                       : pipe2(channel.ends, O_CLOEXEC) == 0;
    if (!made)
      channel.ends[0] = channel.ends[1] = -1;
  }
}

OutputRelay::~OutputRelay() {
  for (Channel& channel : channels)
    for (int end : channel.ends)
      if (end >= 0)
        close(end);
}

// With one relay, the command's standard error joins its standard output.
void OutputRelay::AddTo(posix_spawn_file_actions_t* actions) const {
  int out = channels[0].ends[1];
  int err = shared ? out : channels[1].ends[1];
  if (out >= 0)
    posix_spawn_file_actions_adddup2(actions, out, STDOUT_FILENO);
  if (err >= 0)
    posix_spawn_file_actions_adddup2(actions, err, STDERR_FILENO);
}

void OutputRelay::Started() {
  for (Channel& channel : channels) {
    if (channel.ends[1] < 0)
      continue;
    close(channel.ends[1]);
    channel.ends[1] = -1;
    fcntl(channel.ends[0], F_SETFL, O_NONBLOCK);
  }
}

nfds_t OutputRelay::Watched(pollfd* fds) const {
  nfds_t count = 0;
  for (const Channel& channel : channels)
    if (channel.ends[0] >= 0)
      fds[count++] = {channel.ends[0], POLLIN, 0};
  return count;
}

void OutputRelay::Relay() {
  for (Channel& channel : channels)
    relay(&channel);
}

void OutputRelay::relay(Channel* channel) {
  int& end = channel->ends[0];
  char buffer[4096];
  ssize_t count;
  while (end >= 0 && (count = read(end, buffer, sizeof buffer)) != 0) {
    if (count < 0) {
      if (errno == EINTR)
        continue;
      if (errno == EAGAIN)
        return;
      break;  // EIO from a pseudo-terminal that no process holds any more: its end
    }
    writeAll(channel->stream, buffer, static_cast<size_t>(count));
    keep(buffer, static_cast<size_t>(count));
  }
  if (end >= 0)
    close(end);
  end = -1;
}

// Cut only when twice the size kept, so that a long output is not moved for every read.
void OutputRelay::keep(const char* data, size_t size) {
  kept.append(data, size);
  if (kept.size() > 2 * KEPT)
    kept.erase(0, kept.size() - KEPT);
}

void OutputRelay::writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return;
    data += written;
    size -= static_cast<size_t>(written);
  }
}

#include "controllers/OutputRelay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {
bool sameFile(int first, int second) {
  struct stat one, other;
  return fstat(first, &one) == 0 && fstat(second, &other) == 0 && one.st_dev == other.st_dev &&
         one.st_ino == other.st_ino;
}
}  // namespace

OutputRelay::OutputRelay() : shared(sameFile(STDOUT_FILENO, STDERR_FILENO)) {
  for (Channel& channel : channels)
    if ((!shared || channel.stream == STDOUT_FILENO) && pipe2(channel.ends, O_CLOEXEC) != 0)
      channel.ends[0] = channel.ends[1] = -1;
}

OutputRelay::~OutputRelay() {
  for (Channel& channel : channels)
    for (int end : channel.ends)
      if (end >= 0)
        close(end);
}

// With one pipe, the command's standard error joins its standard output.
void OutputRelay::AddTo(posix_spawn_file_actions_t* actions) const {
  int out = channels[0].ends[1], err = shared ? out : channels[1].ends[1];
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
      break;
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

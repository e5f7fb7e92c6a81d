#include "util/Descriptor.h"

#include <unistd.h>

#include <cerrno>

bool Descriptor::WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

#include "support/ChildOutput.h"

#include <sys/wait.h>
#include <unistd.h>

std::string ChildOutput(const std::function<void(int fd)>& body) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return "no pipe";
  pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    body(pipeEnds[1]);
    _exit(0);
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<size_t>(got));
  close(pipeEnds[0]);
  waitpid(child, nullptr, 0);
  return output;
}

#include "preflight/AddressProbe.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "controllers/Shell.h"

namespace {

const char* const FILE_SCHEME = "file://";

// One wget run: its process and the read end of its standard error.
struct Spider {
  pid_t pid = -1;
  int error = -1;  // the read end, -1 once it has ended
  int startError = 0;
  std::string output;
};

// wget with its messages in English, so that its headers and reasons can be read.
std::vector<char*> environment(std::vector<std::string>* own) {
  for (char** entry = environ; *entry != nullptr; ++entry)
    if (std::strncmp(*entry, "LC_ALL=", 7) != 0 && std::strncmp(*entry, "LANGUAGE=", 9) != 0)
      own->push_back(*entry);
  own->push_back("LC_ALL=C");
  own->push_back("LANGUAGE=C");
  std::vector<char*> pointers;
  for (std::string& entry : *own)
    pointers.push_back(entry.data());
  pointers.push_back(nullptr);
  return pointers;
}

void start(Spider* spider, const std::vector<std::string>& words, char* const* env) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    spider->startError = errno;
    return;
  }
  std::vector<char*> argv = Shell::Argv(words);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  spider->startError = posix_spawnp(&spider->pid, argv[0], &actions, nullptr, argv.data(), env);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spider->startError == 0)
    spider->error = pipeEnds[0];
  else
    close(pipeEnds[0]);
}

// Reads every standard error to its end, all at the same time.
void collect(std::vector<Spider>* spiders) {
  for (;;) {
    std::vector<pollfd> open;
    std::vector<Spider*> owners;
    for (Spider& spider : *spiders)
      if (spider.error >= 0) {
        open.push_back({spider.error, POLLIN, 0});
        owners.push_back(&spider);
      }
    if (open.empty())
      return;
    if (poll(open.data(), open.size(), -1) < 0 && errno != EINTR)
      return;
    for (size_t i = 0; i < open.size(); ++i) {
      if (open[i].revents == 0)
        continue;
      char buffer[4096];
      ssize_t count = read(open[i].fd, buffer, sizeof buffer);
      if (count > 0) {
        owners[i]->output.append(buffer, static_cast<size_t>(count));
      } else if (count == 0 || errno != EINTR) {
        close(open[i].fd);
        owners[i]->error = -1;
      }
    }
  }
}

int exitStatus(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR)
      return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string trimmed(std::string text) {
  size_t first = text.find_first_not_of(" \t\r");
  size_t last = text.find_last_not_of(" \t\r.");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

}  // namespace

std::vector<AddressProbe::Answer> AddressProbe::Probe(const std::vector<std::string>& addresses,
                                                      bool ignoreCerts) {
  std::vector<std::string> own;
  std::vector<char*> env = environment(&own);
  std::vector<Spider> spiders(addresses.size());
  for (size_t i = 0; i < addresses.size(); ++i)
    if (LocalPath(addresses[i]).empty())
      start(&spiders[i], Command(addresses[i], ignoreCerts), env.data());
  collect(&spiders);
  std::vector<Answer> answers;
  for (size_t i = 0; i < addresses.size(); ++i) {
    std::string path = LocalPath(addresses[i]);
    if (!path.empty())
      answers.push_back(local(path));
    else if (spiders[i].startError == ENOENT)
      answers.push_back({false, "wget not found on PATH", -1});
    else if (spiders[i].startError != 0)
      answers.push_back({false, std::strerror(spiders[i].startError), -1});
    else
      answers.push_back(Read(exitStatus(spiders[i].pid), spiders[i].output));
  }
  return answers;
}

std::string AddressProbe::LocalPath(const std::string& address) {
  if (address.compare(0, std::strlen(FILE_SCHEME), FILE_SCHEME) == 0)
    return address.substr(std::strlen(FILE_SCHEME));
  return !address.empty() && address[0] == '/' ? address : "";
}

std::vector<std::string> AddressProbe::Command(const std::string& address, bool ignoreCerts) {
  std::vector<std::string> words = {"wget",
                                    "--spider",
                                    "-S",
                                    "-T",
                                    "5",
                                    "--tries=3",
                                    "--waitretry=1",
                                    "--retry-connrefused",
                                    "--retry-on-http-error=500,502,503,504"};
  if (ignoreCerts)
    words.emplace_back("--no-check-certificate");
  words.insert(words.end(), {"--", address});
  return words;
}

// The last status line and Content-Length are those of the final answer after any redirect; a
// failure without an answer is named by wget's "failed: REASON" or its "ERROR" line.
AddressProbe::Answer AddressProbe::Read(int exitStatus, const std::string& output) {
  Answer answer;
  answer.ok = exitStatus == 0;
  std::istringstream lines(output);
  std::string reason;
  for (std::string line; std::getline(lines, line);) {
    std::string text = trimmed(line);
    if (text.compare(0, 5, "HTTP/") == 0 && text.find(' ') != std::string::npos) {
      answer.found = text.substr(text.find(' ') + 1);
      answer.size = -1;
    } else if (text.compare(0, 15, "Content-Length:") == 0) {
      answer.size = std::atoll(text.c_str() + 15);
    } else if (text.find("failed: ") != std::string::npos) {
      reason = text.substr(text.find("failed: ") + 8);
    } else if (text.compare(0, 6, "ERROR:") == 0 || text.compare(0, 6, "wget: ") == 0) {
      reason = text;
    }
  }
  if (!answer.ok && (answer.found.empty() || answer.found[0] == '2'))
    answer.found = reason.empty() ? "wget exit status " + std::to_string(exitStatus) : reason;
  return answer;
}

AddressProbe::Answer AddressProbe::local(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0)
    return {false, std::strerror(errno), -1};
  if (!S_ISREG(status.st_mode))
    return {false, "not a regular file", -1};
  if (access(path.c_str(), R_OK) != 0)
    return {false, std::strerror(errno), -1};
  return {true, "readable", static_cast<long long>(status.st_size)};
}

#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace {
const int ATTEMPTS = 5;
const int WAIT_STEPS = 200;
const auto WAIT_STEP = std::chrono::milliseconds(50);

// Arguments: the served folder, the port, the control folder (requests.txt, answers.txt).
const char* const SERVER = DEPLOYER_SOURCE_DIR "/tests/support/loopback_server.py";

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}
}  // namespace

LoopbackServer::LoopbackServer(const std::string& folder, const std::string& script)
    : script(script) {
  for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
    if (start(folder))
      return;
  }
  throw std::runtime_error("the loopback HTTP server did not start");
}

LoopbackServer::~LoopbackServer() {
  stop();
}

std::string LoopbackServer::Url(const std::string& name) const {
  return "http://127.0.0.1:" + std::to_string(port) + "/" + name;
}

void LoopbackServer::AnswerNext(const std::vector<int>& statuses) const {
  std::string plan;
  for (int status : statuses)
    plan += std::to_string(status) + " ";
  control.Write("answers.txt", plan);
}

std::string LoopbackServer::Requests() const {
  return control.Read("requests.txt");
}

bool LoopbackServer::start(const std::string& folder) {
  port = freePort();
  std::string portText = std::to_string(port);
  std::vector<std::string> words = {"python3", SERVER, folder, portText, control.Path()};
  if (!script.empty())
    words = {"python3", script, portText, folder};
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  int failed = posix_spawnp(&pid, "python3", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    pid = -1;
    return false;
  }
  if (waitUntilAnswering())
    return true;
  stop();
  return false;
}

bool LoopbackServer::waitUntilAnswering() {
  for (int step = 0; step < WAIT_STEPS; ++step) {
    if (answers())
      return true;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;  // the port was taken in the meantime
      return false;
    }
    std::this_thread::sleep_for(WAIT_STEP);
  }
  return false;
}

bool LoopbackServer::answers() const {
  int client = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(port);
  bool connected = connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(client);
  return connected;
}

void LoopbackServer::stop() {
  if (pid <= 0)
    return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  pid = -1;
}

int LoopbackServer::freePort() {
  int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

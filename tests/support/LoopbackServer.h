#pragma once

#include <sys/types.h>

#include <string>

// An HTTP server on 127.0.0.1 that serves the files of one folder, for tests and benchmarks that
// download with wget for real. It runs "python3 -m http.server --bind 127.0.0.1" on a free port;
// the constructor returns once the server answers, the destructor stops it. Files added to the
// folder later are served as well.
//
//   LoopbackServer server(folder);
//   system(("wget " + server.Url("file.tar.gz") + " -P temp").c_str());
//
// Throws std::runtime_error when no server could be started.
class LoopbackServer {
 public:
  explicit LoopbackServer(const std::string& folder);
  // Runs "python3 -c script PORT FOLDER" instead: a server of the test's own.
  LoopbackServer(const std::string& folder, const std::string& script);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port; }
  // "http://127.0.0.1:<port>/" followed by the name.
  std::string Url(const std::string& name) const;

 private:
  void startAny(const std::string& folder);
  bool start(const std::string& folder);
  bool waitUntilAnswering();
  bool answers() const;
  void stop();
  static int freePort();

  std::string script;
  pid_t pid = -1;
  int port = 0;
};

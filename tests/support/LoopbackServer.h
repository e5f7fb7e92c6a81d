#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

// An HTTP server on 127.0.0.1 that serves the files of one folder, for tests and benchmarks that
// download with wget for real. It runs python3's http.server module on a free port; the
// constructor returns once the server answers, the destructor stops it. Files added to the
// folder later are served as well. It records the path of every request, and can be told to
// answer the next requests with error statuses instead.
//
//   LoopbackServer server(folder);
//   system(("wget " + server.Url("file.tar.gz") + " -P temp").c_str());
//
// Throws std::runtime_error when no server could be started.
class LoopbackServer {
 public:
  // With a script (a file), runs "python3 SCRIPT PORT FOLDER" instead: a server of the test's own.
  explicit LoopbackServer(const std::string& folder, const std::string& script = "");
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port; }
  // "http://127.0.0.1:<port>/" followed by the name.
  std::string Url(const std::string& name) const;
  // The next requests, one per status, are answered with these statuses (503, 404, ...).
  void AnswerNext(const std::vector<int>& statuses) const;
  // The path of every request so far ("/runtime-1.0.tar.gz"; a proxy request names the whole
  // address), one a line.
  std::string Requests() const;
  // Stops the server before its end; later downloads find no server.
  void Stop() { stop(); }

 private:
  bool start(const std::string& folder);
  bool waitUntilAnswering();
  bool answers() const;
  void stop();
  static int freePort();

  TempDir control;  // the request record and the planned answers
  std::string script;
  pid_t pid = -1;
  int port = 0;
};

#pragma once

#include <string>
#include <vector>

// Asks each download address for its headers only, all of them at the same time, as the download
// would reach it: "wget --spider" with redirects followed, 5 seconds per try, and further tries
// after a refused connection or a 5xx answer. A local source (an absolute path or a file://
// address) is looked at on disk instead. Runs no shell and writes nothing.
class AddressProbe {
 public:
  struct Answer {
    bool ok = false;
    // What was found: "200 OK", "404 Not Found", "Connection refused", "not found on PATH", ...
    std::string found;
    // The size in bytes from the answer's Content-Length or the file; -1 when unknown.
    long long size = -1;
  };

  // One answer per address, in the same order.
  static std::vector<Answer> Probe(const std::vector<std::string>& addresses, bool ignoreCerts);
  // The path of a local source ("/srv/a.tar.gz" or "file:///srv/a.tar.gz"), or "" for a remote one.
  static std::string LocalPath(const std::string& address);
  // The wget command line of one address, as its words.
  static std::vector<std::string> Command(const std::string& address, bool ignoreCerts);
  // The answer read from wget's exit status and its standard error (the headers of -S).
  static Answer Read(int exitStatus, const std::string& output);

 private:
  static Answer local(const std::string& path);
};

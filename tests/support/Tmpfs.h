#pragma once

#include <string>

// A small tmpfs mounted over a folder while it lives (the folder then looks empty), for tests of
// a full or read-only disk. Mounted() is false where this process may not mount.
class Tmpfs {
 public:
  // size as mount(8) takes it ("64k", "1m").
  Tmpfs(std::string folder, const std::string& size);
  ~Tmpfs();
  Tmpfs(const Tmpfs&) = delete;
  Tmpfs& operator=(const Tmpfs&) = delete;

  bool Mounted() const { return mounted; }
  // Fills every block left with a file of its own.
  void Fill() const;
  bool MakeReadOnly() const;

 private:
  std::string folder;
  std::string options;
  bool mounted = false;
};

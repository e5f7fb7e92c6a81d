#include "support/Tmpfs.h"

#include <sys/mount.h>

#include <fstream>

Tmpfs::Tmpfs(std::string folder, const std::string& size)
    : folder(std::move(folder)), options("size=" + size) {
  mounted = mount("tmpfs", this->folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

Tmpfs::~Tmpfs() {
  if (mounted)
    umount2(folder.c_str(), MNT_DETACH);
}

void Tmpfs::Fill() const {
  std::ofstream filler(folder + "/filler", std::ios::binary);
  std::string block(4096, 'f');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
    filler.flush();
}

bool Tmpfs::MakeReadOnly() const {
  return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, options.c_str()) == 0;
}

#include "util/Sha256.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const size_t BUFFER_SIZE = size_t{256} * 1024;

// The functions of libcrypto in use. The library is opened when the first digest is computed,
// so that the many runs that compute none (the interface, show, get, set) do not pay for loading
// and relocating it at every start.
struct Crypto {
  EVP_MD_CTX* (*newContext)();
  void (*freeContext)(EVP_MD_CTX*);
  const EVP_MD* (*sha256)();
  int (*init)(EVP_MD_CTX*, const EVP_MD*, ENGINE*);
  int (*update)(EVP_MD_CTX*, const void*, size_t);
  int (*final)(EVP_MD_CTX*, unsigned char*, unsigned int*);

  bool Loaded() const { return newContext && freeContext && sha256 && init && update && final; }
};

template <typename F>
void bind(void* library, const char* name, F* function) {
  *function = reinterpret_cast<F>(dlsym(library, name));
}

Crypto load() {
  Crypto crypto{};
  void* library = dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);  // kept for the whole run
  if (library == nullptr)
    return crypto;
  bind(library, "EVP_MD_CTX_new", &crypto.newContext);
  bind(library, "EVP_MD_CTX_free", &crypto.freeContext);
  bind(library, "EVP_sha256", &crypto.sha256);
  bind(library, "EVP_DigestInit_ex", &crypto.init);
  bind(library, "EVP_DigestUpdate", &crypto.update);
  bind(library, "EVP_DigestFinal_ex", &crypto.final);
  return crypto;
}

const Crypto& crypto() {
  static const Crypto loaded = load();
  return loaded;
}

struct ContextDeleter {
  void operator()(EVP_MD_CTX* context) const { crypto().freeContext(context); }
};

// Closes the descriptor when it goes. A symbolic link is not followed: the file checked is the one
// downloaded, never what a link put in its place points to.
class InputFile {
 public:
  explicit InputFile(const std::string& path)
      : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)) {}
  ~InputFile() {
    if (fd >= 0)
      close(fd);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  int Descriptor() const { return fd; }

 private:
  int fd;
};

std::string hex(const unsigned char* bytes, unsigned int count) {
  static const char DIGITS[] = "0123456789abcdef";
  std::string text;
  text.reserve(size_t{count} * 2);
  for (unsigned int i = 0; i < count; ++i) {
    text += DIGITS[bytes[i] >> 4];
    text += DIGITS[bytes[i] & 0x0f];
  }
  return text;
}

// Feeds the whole file into the context; false with errno set on a read error.
bool feed(int fd, EVP_MD_CTX* context) {
  std::vector<unsigned char> buffer(BUFFER_SIZE);
  for (;;) {
    ssize_t count = read(fd, buffer.data(), buffer.size());
    if (count == 0)
      return true;
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0 || crypto().update(context, buffer.data(), static_cast<size_t>(count)) != 1)
      return false;
  }
}

}  // namespace

bool Sha256::OfFile(const std::string& path, std::string* digest, std::string* reason) {
  InputFile file(path);
  if (file.Descriptor() < 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (!crypto().Loaded()) {
    *reason = "libcrypto.so.3 cannot be loaded";
    return false;
  }
  std::unique_ptr<EVP_MD_CTX, ContextDeleter> context(crypto().newContext());
  unsigned char value[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  errno = 0;
  if (!context || crypto().init(context.get(), crypto().sha256(), nullptr) != 1 ||
      !feed(file.Descriptor(), context.get()) ||
      crypto().final(context.get(), value, &length) != 1) {
    *reason = errno != 0 ? std::strerror(errno) : "the digest could not be computed";
    return false;
  }
  *digest = hex(value, length);
  return true;
}

bool Sha256::IsValidSetting(const std::string& text) {
  if (text.empty())
    return true;
  if (text.size() != HEX_LENGTH)
    return false;
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      return false;
  return true;
}

std::string Sha256::Normalised(const std::string& text) {
  std::string result = text;
  for (char& c : result)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

#pragma once

#include <string>

// SHA-256 digests of files, computed in this process with libcrypto while the file is read
// through a fixed buffer, so that a large archive needs little memory. libcrypto is loaded when
// the first digest is computed; a program that computes none never loads it.
class Sha256 {
 public:
  // Length of a digest written in hexadecimal.
  static constexpr size_t HEX_LENGTH = 64;

  // The digest of the file's contents in lower-case hexadecimal; false when the file cannot be
  // opened or read (reason then says why), or is a symbolic link.
  static bool OfFile(const std::string& path, std::string* digest, std::string* reason);
  // True for an empty text or 64 hexadecimal digits of either case: what a checksum setting holds.
  static bool IsValidSetting(const std::string& text);
  // The text in lower case, the form in which checksums are stored and compared.
  static std::string Normalised(const std::string& text);
};

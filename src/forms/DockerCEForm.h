#pragma once

#include "forms/SettingsForm.h"

inline constexpr const char* DOCKER_CE_FORM_NAME = "DockerCEPanel";
inline constexpr const char* DOCKER_ZIP_SOURCE_INVALID_LABEL_NAME = "DockerCEZipSourceInvalidLabel";
inline constexpr const char* DOCKER_ZIP_NAME_INVALID_LABEL_NAME = "DockerCEZipNameInvalidLabel";
inline constexpr const char* DOCKER_UNZIP_PATH_INVALID_LABEL_NAME = "DockerCEUnzipPathInvalidLabel";
inline constexpr const char* DOCKER_SHA256_INVALID_LABEL_NAME = "DockerCESha256InvalidLabel";

// The container runtime archive: its address and unpack folder, neither of which may be empty
// (the address must end in a plain file name),
// and the optional SHA-256 checksum the download must match: empty or 64 hexadecimal digits.
class DockerCEForm : public SettingsForm {
 public:
  // The services and the container are shared and not owned. Throws when an entry is missing.
  DockerCEForm(Logger* logger, Resources* resources, Settings* settings, Container* container);

  void Apply();

 private:
  Field* urlField;
  Field* checksumField;
  Field* pathField;
};

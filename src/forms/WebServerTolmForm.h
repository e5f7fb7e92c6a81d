#pragma once

#include "forms/SettingsForm.h"

inline constexpr const char* WEB_SERVER_TOLM_FORM_NAME = "WebServerTolmPanel";
inline constexpr const char* ZIP_SOURCE_INVALID_LABEL_NAME = "WebServerTolmZipSourceInvalidLabel";
inline constexpr const char* ZIP_NAME_INVALID_LABEL_NAME = "WebServerTolmZipNameInvalidLabel";
inline constexpr const char* UNZIP_PATH_INVALID_LABEL_NAME = "WebServerTolmUnzipPathInvalidLabel";
inline constexpr const char* WEB_SERVER_SHA256_INVALID_LABEL_NAME =
    "WebServerTolmSha256InvalidLabel";
inline constexpr const char* PORT_INVALID_LABEL_NAME = "WebServerTolmPortInvalidLabel";
inline constexpr const char* DEBUG_PORT_INVALID_LABEL_NAME = "WebServerTolmDebugPortInvalidLabel";

// The web server archive and its options: address, checksum, unpack folder, type, port,
// container software and debug port. Apply refuses an empty address or folder, a checksum that is
// neither empty nor 64 hexadecimal digits, and a changed port outside 1 to 65535 or a changed
// debug port above 65535, each with a red message below it.
class WebServerTolmForm : public SettingsForm {
 public:
  // The services and the container are shared and not owned. Throws when an entry is missing.
  WebServerTolmForm(Logger* logger, Resources* resources, Settings* settings, Container* container);

  void Apply();

 private:
  bool portsInvalid();
  void writeAll();

  Field* urlField;
  Field* checksumField;
  Field* pathField;
  StoredKeySelect* typeSelect;
  Number<int>* portField;
  StoredKeySelect* contSoftSelect;
  Number<int>* debugPortField;
};

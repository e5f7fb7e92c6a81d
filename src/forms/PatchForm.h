#pragma once

#include "forms/SettingsForm.h"

inline constexpr const char* PATCH_FORM_NAME = "PatchFormPanel";
inline constexpr const char* SOURCE_URL_EMPTY_LABEL_NAME = "PatchSourceUrlEmptyLabel";
inline constexpr const char* ZIP_TEMPLATE_INVALID_LABEL_NAME = "PatchZipTemplateInvalidLabel";
inline constexpr const char* ZIP_TEMPLATE_NAME_INVALID_LABEL_NAME =
    "PatchZipTemplateNameInvalidLabel";
inline constexpr const char* PATCH_SHA256_INVALID_LABEL_NAME = "PatchSha256InvalidLabel";

// The application patch source: its address, the optional SHA-256 checksum of the patch file and
// the file name template, in which "*" stands for the patch version. An empty address is noticed
// once; a checksum neither empty nor 64 hexadecimal digits, a template without "*" and one that is
// no plain file name (with "/", "." or "..", or "-" first) are refused.
class PatchForm : public SettingsForm {
 public:
  // The services and the container are shared and not owned. Throws when an entry is missing.
  PatchForm(Logger* logger, Resources* resources, Settings* settings, Container* container);

  void Apply();

 private:
  Field* urlField;
  Field* checksumField;
  Field* templateField;
};

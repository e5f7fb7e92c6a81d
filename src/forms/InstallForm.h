#pragma once

#include "forms/SettingsForm.h"

inline constexpr const char* INSTALL_FORM_NAME = "InstallFormPanel";
inline constexpr const char* COMPLEX_ID_EMPTY_LABEL_NAME = "InstallComplexIdEmptyLabel";
inline constexpr const char* DLL_EMPTY_LABEL_NAME = "InstallDllEmptyLabel";
inline constexpr const char* HEALTH_URL_INVALID_LABEL_NAME = "InstallHealthUrlInvalidLabel";
inline constexpr const char* HEALTH_TIMEOUT_INVALID_LABEL_NAME = "InstallHealthTimeoutInvalidLabel";
inline constexpr const char* COMPLEX_ID_DEFAULT = "tRQV";
inline constexpr const char* DLL_DEFAULT = "web_core.dll";

// The install identifiers and the health check. An empty identifier field is filled with its
// default and a notice tells so; the notice holds the form once, and the default shown is what
// Apply stores. A health address that is neither empty nor http(s), and a timeout outside 1 to
// 3600 seconds, hold the form with a red message until they are corrected.
class InstallForm : public SettingsForm {
 public:
  // The services and the container are shared and not owned. Throws when an entry is missing.
  InstallForm(Logger* logger, Resources* resources, Settings* settings, Container* container);

  void Apply();

 private:
  // Fills an empty field with its default; true when the notice has just been shown.
  bool fillDefault(Field* field, const char* value, const std::string& labelName,
                   const std::string& text, int row);

  // Shows the red messages of the health settings; true when either is refused.
  bool healthInvalid();

  Field* complexIdField;
  Field* dllField;
  Field* healthUrlField;
  Number<int>* healthTimeoutField;
};

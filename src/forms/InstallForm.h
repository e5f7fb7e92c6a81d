#pragma once

#include "forms/SettingsForm.h"

inline constexpr const char* INSTALL_FORM_NAME = "InstallFormPanel";
inline constexpr const char* COMPLEX_ID_EMPTY_LABEL_NAME = "InstallComplexIdEmptyLabel";
inline constexpr const char* DLL_EMPTY_LABEL_NAME = "InstallDllEmptyLabel";
inline constexpr const char* COMPLEX_ID_DEFAULT = "tRQV";
inline constexpr const char* DLL_DEFAULT = "web_core.dll";

// The install identifiers. An empty field is filled with its default and a notice tells so;
// the notice holds the form once, and the default shown is what Apply stores.
class InstallForm : public SettingsForm {
 public:
  // The services and the container are shared and not owned. Throws when an entry is missing.
  InstallForm(Logger* logger, Resources* resources, Settings* settings, Container* container);

  void Apply();

 private:
  // Fills an empty field with its default; true when the notice has just been shown.
  bool fillDefault(Field* field, const char* value, const std::string& labelName,
                   const std::string& text, int row);

  Field* complexIdField;
  Field* dllField;
};

#include "forms/InstallForm.h"

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "ui/Field.h"

InstallForm::InstallForm(Logger* logger, Resources* resources, Settings* settings,
                         Container* container)
    : SettingsForm(logger, resources, settings, container, INSTALL_FORM_NAME,
                   resources->texts["INSTALL_SETTINGS"]) {
  addLabels({
      {"InstallComplexIdLabel", resources->texts["INSTALL_COMPLEX_ID"], Theme::Basic},
      {"InstallDllLabel", resources->texts["INSTALL_DLL"], Theme::Basic},
      {"InstallHealthUrlLabel", resources->texts["HEALTH_URL_LABEL"], Theme::Basic},
      {"InstallHealthTimeoutLabel", resources->texts["HEALTH_TIMEOUT_LABEL"], Theme::Basic},
  });
  complexIdField = addField("InstallComplexIdField", 0, SettingsPath::InstallComplexId);
  dllField = addField("InstallDllField", 2, SettingsPath::InstallDll);
  healthUrlField = addChecksum("InstallHealthUrlField", 4, SettingsPath::InstallHealthUrl);
  healthTimeoutField =
      addOptionalNumber("InstallHealthTimeoutField", 6, SettingsPath::InstallHealthTimeout,
                        SettingsSchema::DefaultHealthTimeout);
  finish([this] { Apply(); });
}

void InstallForm::Apply() {
  bool complexIdNoticed =
      fillDefault(complexIdField, COMPLEX_ID_DEFAULT, COMPLEX_ID_EMPTY_LABEL_NAME,
                  resources->texts["INSTALL_COMPLEX_ID_EMPTY"], 1);
  bool dllNoticed = fillDefault(dllField, DLL_DEFAULT, DLL_EMPTY_LABEL_NAME,
                                resources->texts["INSTALL_DLL_EMPTY"], 3);
  bool invalid = healthInvalid();
  if (complexIdNoticed || dllNoticed || invalid)
    return stay();
  // The fields now show the defaults they were given, and that is what gets stored.
  write(complexIdField, SettingsPath::InstallComplexId);
  write(dllField, SettingsPath::InstallDll);
  writeOptional(healthUrlField, SettingsPath::InstallHealthUrl);
  writeOptional(healthTimeoutField, SettingsPath::InstallHealthTimeout);
  closeForm();
}

bool InstallForm::healthInvalid() {
  bool url = !SettingsSchema::IsHealthUrl(healthUrlField->GetValue());
  bool timeout = !SettingsSchema::IsHealthTimeout(healthTimeoutField->GetValue());
  feedback(url, HEALTH_URL_INVALID_LABEL_NAME, resources->texts["HEALTH_URL_INVALID"], 5,
           Theme::Error);
  feedback(timeout, HEALTH_TIMEOUT_INVALID_LABEL_NAME, resources->texts["HEALTH_TIMEOUT_INVALID"],
           7, Theme::Error);
  return url || timeout;
}

bool InstallForm::fillDefault(Field* field, const char* value, const std::string& labelName,
                              const std::string& text, int row) {
  bool empty = !SettingsSchema::IsFilled(field->GetValue());
  if (empty)
    field->SetValue(value);
  return feedback(empty, labelName, text, row, Theme::Notice);
}

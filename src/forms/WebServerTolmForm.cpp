#include "forms/WebServerTolmForm.h"

#include "app/CsType.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "app/WsType.h"
#include "forms/StoredKeySelect.h"
#include "ui/Field.h"

WebServerTolmForm::WebServerTolmForm(Logger* logger, Resources* resources, Settings* settings,
                                     Container* container)
    : SettingsForm(logger, resources, settings, container, WEB_SERVER_TOLM_FORM_NAME,
                   resources->texts["WEB_SERVER_TOLM_SETTINGS"]) {
  addLabels({
      {"WebServerTolmUrlLabel", resources->texts["ZIP_SOURCE_URL"], Theme::Highlight},
      {"WebServerTolmSha256Label", resources->texts["SHA256_LABEL"], Theme::Basic},
      {"WebServerTolmPathLabel", resources->texts["UNZIP_PATH"], Theme::Highlight},
      {"WebServerTolmTypeLabel", resources->texts["WEB_SERVER_TOLM_TYPE"], Theme::Basic},
      {"WebServerTolmPortLabel", resources->texts["WEB_SERVER_TOLM_PORT"], Theme::Basic},
      {"WebServerTolmContSoftLabel", resources->texts["WEB_SERVER_TOLM_CONT_SOFT"], Theme::Basic},
      {"WebServerTolmDebugPortLabel", resources->texts["WEB_SERVER_TOLM_DEBUG_PORT"], Theme::Basic},
  });
  urlField = addField("WebServerTolmUrlField", 0, SettingsPath::WebServerUrl);
  checksumField = addChecksum("WebServerTolmSha256Field", 2, SettingsPath::WebServerSha256);
  pathField = addField("WebServerTolmPathField", 4, SettingsPath::WebServerPath);
  typeSelect =
      addSelect("WebServerTolmTypeSelect", 6, WsType::GetItems(), SettingsPath::WebServerType);
  portField = addNumber("WebServerTolmPortField", 8, SettingsPath::WebServerPort);
  contSoftSelect = addSelect("WebServerTolmContSoftSelect", 10, CsType::GetItems(),
                             SettingsPath::WebServerContSoft);
  debugPortField = addNumber("WebServerTolmDebugPortField", 12, SettingsPath::WebServerDebugPort);
  finish([this] { Apply(); });
}

void WebServerTolmForm::Apply() {
  bool blocked = archiveInvalid(
      urlField, pathField,
      {ZIP_SOURCE_INVALID_LABEL_NAME, ZIP_NAME_INVALID_LABEL_NAME, UNZIP_PATH_INVALID_LABEL_NAME});
  blocked = checksumInvalid(checksumField, WEB_SERVER_SHA256_INVALID_LABEL_NAME) || blocked;
  blocked = portsInvalid() || blocked;
  if (blocked)
    return stay();
  writeAll();
  closeForm();
}

// Stored values pass as they are; only a port typed here must be usable. A debug port of 0
// leaves debugging off.
bool WebServerTolmForm::portsInvalid() {
  int port = portField->GetValue();
  int debugPort = debugPortField->GetValue();
  bool portBad = portField->IsModified() && !SettingsSchema::IsPort(port);
  bool debugPortBad = debugPortField->IsModified() && !SettingsSchema::IsDebugPort(debugPort);
  feedback(portBad, PORT_INVALID_LABEL_NAME, resources->texts["PORT_INVALID"], rowBelow(portField),
           Theme::Error);
  feedback(debugPortBad, DEBUG_PORT_INVALID_LABEL_NAME, resources->texts["PORT_INVALID"],
           rowBelow(debugPortField), Theme::Error);
  return portBad || debugPortBad;
}

void WebServerTolmForm::writeAll() {
  write(urlField, SettingsPath::WebServerUrl);
  writeChecksum(checksumField, SettingsPath::WebServerSha256);
  write(pathField, SettingsPath::WebServerPath);
  write(typeSelect, SettingsPath::WebServerType);
  write(portField, SettingsPath::WebServerPort);
  write(contSoftSelect, SettingsPath::WebServerContSoft);
  write(debugPortField, SettingsPath::WebServerDebugPort);
}

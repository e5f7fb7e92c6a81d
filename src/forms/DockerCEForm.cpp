#include "forms/DockerCEForm.h"

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"

DockerCEForm::DockerCEForm(Logger* logger, Resources* resources, Settings* settings,
                           Container* container)
    : SettingsForm(logger, resources, settings, container, DOCKER_CE_FORM_NAME,
                   resources->texts["DOCKER_INSTALL_SETTINGS"]) {
  addLabels({
      {"DockerCEZipSourceLabel", resources->texts["ZIP_SOURCE_URL"], Theme::Highlight},
      {"DockerCESha256Label", resources->texts["SHA256_LABEL"], Theme::Basic},
      {"DockerCEUnzipPathLabel", resources->texts["UNZIP_PATH"], Theme::Highlight},
  });
  urlField = addField("DockerCEZipSourceField", 0, SettingsPath::DockerUrl);
  checksumField = addChecksum("DockerCESha256Field", 2, SettingsPath::DockerSha256);
  pathField = addField("DockerCEUnzipPathField", 4, SettingsPath::DockerPath);
  finish([this] { Apply(); });
}

void DockerCEForm::Apply() {
  bool blocked =
      archiveInvalid(urlField, pathField,
                     {DOCKER_ZIP_SOURCE_INVALID_LABEL_NAME, DOCKER_ZIP_NAME_INVALID_LABEL_NAME,
                      DOCKER_UNZIP_PATH_INVALID_LABEL_NAME});
  blocked = checksumInvalid(checksumField, DOCKER_SHA256_INVALID_LABEL_NAME) || blocked;
  if (blocked)
    return stay();
  write(urlField, SettingsPath::DockerUrl);
  writeChecksum(checksumField, SettingsPath::DockerSha256);
  write(pathField, SettingsPath::DockerPath);
  closeForm();
}

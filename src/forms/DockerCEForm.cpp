#include "forms/DockerCEForm.h"

#include "app/Resources.h"
#include "app/Settings.h"

DockerCEForm::DockerCEForm(Logger* logger, Resources* resources, Settings* settings,
                           Container* container)
    : SettingsForm(logger, resources, settings, container, DOCKER_CE_FORM_NAME,
                   resources->texts["DOCKER_INSTALL_SETTINGS"]) {
  addLabels({
      {"DockerCEZipSourceLabel", resources->texts["ZIP_SOURCE_URL"], Theme::Highlight},
      {"DockerCEUnzipPathLabel", resources->texts["UNZIP_PATH"], Theme::Highlight},
  });
  urlField = addField("DockerCEZipSourceField", 0, Settings::Docker + "/Url");
  pathField = addField("DockerCEUnzipPathField", 2, Settings::Docker + "/Path");
  finish([this] { Apply(); });
}

void DockerCEForm::Apply() {
  if (archiveInvalid(urlField, pathField, DOCKER_ZIP_SOURCE_INVALID_LABEL_NAME,
                     DOCKER_UNZIP_PATH_INVALID_LABEL_NAME))
    return stay();
  write(urlField, Settings::Docker + "/Url");
  write(pathField, Settings::Docker + "/Path");
  closeForm();
}

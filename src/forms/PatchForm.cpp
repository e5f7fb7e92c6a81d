#include "forms/PatchForm.h"

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "ui/Field.h"
#include "ui/Label.h"

PatchForm::PatchForm(Logger* logger, Resources* resources, Settings* settings, Container* container)
    : SettingsForm(logger, resources, settings, container, PATCH_FORM_NAME,
                   resources->texts["PATCH_SETTINGS"]) {
  addLabels({
      {"PatchSourceUrlLabel", resources->texts["PATCH_SOURCE_URL"], Theme::Basic},
      {"PatchSha256Label", resources->texts["SHA256_LABEL"], Theme::Basic},
      {"PatchZipTemplateLabel", resources->texts["PATCH_ZIP_TEMPLATE"], Theme::Highlight},
  });
  urlField = addField("PatchSourceUrlField", 0, SettingsPath::PatchUrl);
  checksumField = addChecksum("PatchSha256Field", 2, SettingsPath::PatchSha256);
  templateField = addField("PatchZipTemplateField", 4, SettingsPath::PatchTemplate);
  addControl(new Label(logger, "PatchZipTemplateNoteLabel",
                       new Position(0, rowBelow(templateField)), nullptr,
                       resources->texts["PATCH_ZIP_TEMPLATE_NOTE"], Theme::Notice));
  finish([this] { Apply(); });
}

// The template's message goes below its note.
void PatchForm::Apply() {
  bool blocked =
      feedback(!SettingsSchema::IsFilled(urlField->GetValue()), SOURCE_URL_EMPTY_LABEL_NAME,
               resources->texts["PATCH_SOURCE_URL_EMPTY"], rowBelow(urlField), Theme::Notice);
  bool refused = checksumInvalid(checksumField, PATCH_SHA256_INVALID_LABEL_NAME);
  std::string patchTemplate = templateField->GetValue();
  bool noVersion = !SettingsSchema::IsPatchTemplate(patchTemplate);
  bool notName = !noVersion && !SettingsSchema::IsPatchFileName(patchTemplate);
  feedback(noVersion, ZIP_TEMPLATE_INVALID_LABEL_NAME,
           resources->texts["PATCH_ZIP_TEMPLATE_INVALID"], rowBelow(templateField) + 1,
           Theme::Error);
  feedback(notName, ZIP_TEMPLATE_NAME_INVALID_LABEL_NAME,
           resources->texts["PATCH_ZIP_TEMPLATE_NAME_INVALID"], rowBelow(templateField) + 1,
           Theme::Error);
  if (noVersion || notName || refused || blocked)
    return stay();
  write(urlField, SettingsPath::PatchUrl);
  writeChecksum(checksumField, SettingsPath::PatchSha256);
  write(templateField, SettingsPath::PatchTemplate);
  closeForm();
}

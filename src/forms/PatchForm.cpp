#include "forms/PatchForm.h"

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsSchema.h"
#include "ui/Field.h"
#include "ui/Label.h"

PatchForm::PatchForm(Logger* logger, Resources* resources, Settings* settings, Container* container)
    : SettingsForm(logger, resources, settings, container, PATCH_FORM_NAME,
                   resources->texts["PATCH_SETTINGS"]) {
  addLabels({
      {"PatchSourceUrlLabel", resources->texts["PATCH_SOURCE_URL"], Theme::Basic},
      {"PatchZipTemplateLabel", resources->texts["PATCH_ZIP_TEMPLATE"], Theme::Highlight},
  });
  urlField = addField("PatchSourceUrlField", 0, Settings::Patch + "/Url");
  templateField = addField("PatchZipTemplateField", 2, Settings::Patch + "/Template");
  addControl(new Label(logger, "PatchZipTemplateNoteLabel", new Position(0, 3), nullptr,
                       resources->texts["PATCH_ZIP_TEMPLATE_NOTE"], Theme::Notice));
  finish([this] { Apply(); });
}

void PatchForm::Apply() {
  bool blocked =
      feedback(!SettingsSchema::IsFilled(urlField->GetValue()), SOURCE_URL_EMPTY_LABEL_NAME,
               resources->texts["PATCH_SOURCE_URL_EMPTY"], 1, Theme::Notice);
  bool noVersion = !SettingsSchema::IsPatchTemplate(templateField->GetValue());
  feedback(noVersion, ZIP_TEMPLATE_INVALID_LABEL_NAME,
           resources->texts["PATCH_ZIP_TEMPLATE_INVALID"], 4, Theme::Error);
  if (noVersion || blocked)
    return stay();
  write(urlField, Settings::Patch + "/Url");
  write(templateField, Settings::Patch + "/Template");
  closeForm();
}

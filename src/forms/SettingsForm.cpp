#include "forms/SettingsForm.h"

#include <algorithm>

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsSchema.h"
#include "forms/StoredKeySelect.h"
#include "ui/Field.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "util/Sha256.h"

SettingsForm::SettingsForm(Logger* logger, Resources* resources, Settings* settings,
                           Container* container, std::string name, std::string title)
    : Form(logger, resources, settings, container, std::move(name), std::move(title)) {}

void SettingsForm::addLabels(const std::vector<LabelRow>& rows) {
  int widest = 0;
  int row = 0;
  for (const LabelRow& label : rows) {
    labels.push_back(std::make_unique<Label>(logger, label.name, new Position(0, row), nullptr,
                                             label.text, label.theme));
    widest = std::max(widest, Size(label.text).width);
    row += 2;
  }
  column = widest + 1;
}

Field* SettingsForm::addField(const std::string& name, int row, const std::string& path) {
  std::string value = settings->GetString(path);
  auto* field = new Field(logger, name, new Position(column, row), new Size(FieldWidth, 1), value);
  controls.emplace_back(field);
  return field;
}

Field* SettingsForm::addChecksum(const std::string& name, int row, const std::string& path) {
  std::string value = settings->GetOptionalString(path);
  auto* field = new Field(logger, name, new Position(column, row), new Size(FieldWidth, 1), value);
  controls.emplace_back(field);
  return field;
}

Number<int>* SettingsForm::addNumber(const std::string& name, int row, const std::string& path) {
  int value = settings->GetInteger(path);
  auto* number =
      new Number<int>(logger, name, new Position(column, row), new Size(NumberWidth, 1), value);
  controls.emplace_back(number);
  return number;
}

Number<int>* SettingsForm::addOptionalNumber(const std::string& name, int row,
                                             const std::string& path, int fallback) {
  int value = settings->GetOptionalInteger(path, fallback);
  auto* number =
      new Number<int>(logger, name, new Position(column, row), new Size(NumberWidth, 1), value);
  controls.emplace_back(number);
  return number;
}

StoredKeySelect* SettingsForm::addSelect(const std::string& name, int row,
                                         const std::map<std::string, std::string>& items,
                                         const std::string& path) {
  std::string value = settings->GetString(path);
  auto* select = new StoredKeySelect(logger, name, new Position(column, row), items, value);
  controls.emplace_back(select);
  return select;
}

void SettingsForm::addControl(Control* control) {
  controls.emplace_back(control);
}

void SettingsForm::finish(Callback onApply) {
  ControlList items;
  for (auto* group : {&labels, &controls}) {
    for (auto& control : *group)
      items.push_back(control.release());
    group->clear();
  }
  createFormControl(&items, std::move(onApply), nullptr);
  panel->SetModalMode(true);
}

bool SettingsForm::feedback(bool failed, const std::string& labelName, const std::string& text,
                            int row, Theme theme) {
  if (!failed) {
    panel->RemoveItem(labelName);
    return false;
  }
  if (panel->GetItem(labelName) != nullptr)
    return false;
  panel->AddItem(new Label(logger, labelName, new Position(0, row), nullptr, text, theme));
  return true;
}

bool SettingsForm::archiveInvalid(Field* url, Field* path, const ArchiveLabels& labelNames) {
  bool urlEmpty = !SettingsSchema::IsFilled(url->GetValue());
  bool urlUnnamed = !urlEmpty && !SettingsSchema::IsArchiveUrl(url->GetValue());
  bool pathEmpty = !SettingsSchema::IsFilled(path->GetValue());
  feedback(urlEmpty, labelNames.urlEmpty, resources->texts["ZIP_SOURCE_URL_INVALID"], rowBelow(url),
           Theme::Error);
  feedback(urlUnnamed, labelNames.urlName, resources->texts["ZIP_SOURCE_URL_NAME_INVALID"],
           rowBelow(url), Theme::Error);
  feedback(pathEmpty, labelNames.pathEmpty, resources->texts["UNZIP_PATH_INVALID"], rowBelow(path),
           Theme::Error);
  return urlEmpty || urlUnnamed || pathEmpty;
}

bool SettingsForm::checksumInvalid(Field* checksum, const std::string& labelName) {
  bool malformed = !SettingsSchema::IsChecksum(checksum->GetValue());
  feedback(malformed, labelName, resources->texts["SHA256_INVALID"], rowBelow(checksum),
           Theme::Error);
  return malformed;
}

void SettingsForm::stay() {
  panel->Refresh();
}

void SettingsForm::write(Field* field, const std::string& path) {
  if (field->IsModified())
    settings->SetString(path, field->GetValue());
}

void SettingsForm::write(Number<int>* number, const std::string& path) {
  if (number->IsModified())
    settings->SetInteger(path, number->GetValue());
}

void SettingsForm::write(StoredKeySelect* select, const std::string& path) {
  if (select->IsModified())
    settings->SetString(path, select->GetValue());
}

void SettingsForm::writeChecksum(Field* checksum, const std::string& path) {
  if (checksum->IsModified())
    settings->SetOptionalString(path, Sha256::Normalised(checksum->GetValue()));
}

void SettingsForm::writeOptional(Field* field, const std::string& path) {
  if (field->IsModified())
    settings->SetOptionalString(path, field->GetValue());
}

void SettingsForm::writeOptional(Number<int>* number, const std::string& path) {
  if (number->IsModified())
    settings->SetOptionalInteger(path, number->GetValue());
}

int SettingsForm::rowBelow(const Control* control) {
  std::unique_ptr<Position> at(control->GetPosition());
  return at->y + 1;
}

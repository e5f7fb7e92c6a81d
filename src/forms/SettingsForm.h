#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "ui/Number.h"
#include "ui/Theme.h"

class Field;
class StoredKeySelect;

// The common part of the component settings forms. Labels sit in column 0 at rows 0, 2, 4, …
// and the editing controls beside them, one column after the widest label; the odd rows stay
// free for the messages of Apply, each below its control. Each editing control starts with the
// stored value of its entry and is not bound to it: Apply writes the changed ones when its checks
// pass.
class SettingsForm : public Form {
 protected:
  struct LabelRow {
    std::string name;
    std::string text;
    Theme theme;
  };

  SettingsForm(Logger* logger, Resources* resources, Settings* settings, Container* container,
               std::string name, std::string title);

  // Creates one label per even row, in order, and fixes the column of the editing controls.
  void addLabels(const std::vector<LabelRow>& rows);
  // Editing controls at the column fixed by the labels, holding the stored value of path.
  Field* addField(const std::string& name, int row, const std::string& path);
  // A field for an optional text setting (a checksum, an address); an absent one shows empty.
  Field* addChecksum(const std::string& name, int row, const std::string& path);
  Number<int>* addNumber(const std::string& name, int row, const std::string& path);
  // A number for an optional integer setting; an absent one shows fallback.
  Number<int>* addOptionalNumber(const std::string& name, int row, const std::string& path,
                                 int fallback);
  StoredKeySelect* addSelect(const std::string& name, int row,
                             const std::map<std::string, std::string>& items,
                             const std::string& path);
  // Takes ownership of control, placed after the editing controls.
  void addControl(Control* control);
  // Builds the modal panel with the labels, then the other controls, then Apply and Cancel.
  void finish(Callback onApply);

  // Shows the message label when failed and it is not shown yet, removes it when not failed.
  // True only when the label has just been added.
  bool feedback(bool failed, const std::string& labelName, const std::string& text, int row,
                Theme theme);
  struct ArchiveLabels {
    std::string urlEmpty, urlName, pathEmpty;
  };
  // The red messages of an empty archive address, of one whose last part is no plain file name
  // and of an empty unpack folder, each on the row below its field. True when any holds.
  bool archiveInvalid(Field* url, Field* path, const ArchiveLabels& labelNames);
  // The red message below a checksum field holding neither nothing nor 64 hexadecimal digits.
  // True when it does.
  bool checksumInvalid(Field* checksum, const std::string& labelName);
  // Keeps the form open with its messages drawn.
  void stay();

  // Each writes the control's value to path only when the control was changed.
  void write(Field* field, const std::string& path);
  void write(Number<int>* number, const std::string& path);
  void write(StoredKeySelect* select, const std::string& path);
  // A changed checksum in lower case; an optional entry absent from the file stays absent while
  // the field is empty.
  void writeChecksum(Field* checksum, const std::string& path);
  // A changed optional setting; an absent one gets its key only for a value that was changed.
  void writeOptional(Field* field, const std::string& path);
  void writeOptional(Number<int>* number, const std::string& path);

  // The free row below a control, where its message goes.
  static int rowBelow(const Control* control);

 private:
  static constexpr int FieldWidth = 40;
  static constexpr int NumberWidth = 8;

  int column = 1;
  // Held here until the panel takes them, so that a failing settings read loses nothing.
  std::vector<std::unique_ptr<Control>> labels;
  std::vector<std::unique_ptr<Control>> controls;
};

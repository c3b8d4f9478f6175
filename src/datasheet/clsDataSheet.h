#pragma once

// Before any Qt header that brings the "slots" keyword macro.
#include "dispatch/DispatchClass.h"

#include <QPointer>

namespace tarvix {

class ClassRegistry;
class DataSheet;

// The automation class scripts see as "Csv". It holds no cells: every member
// goes to the program's one DataSheet. Range errors reach the script as
// runtime errors; LoadFile and SaveFile report failures in a warning box and
// return normally.
class clsDataSheet final : public DispatchClass<clsDataSheet> {
 public:
  static constexpr const char16_t* kClassName = u"Tarvix.clsDataSheet";

  explicit clsDataSheet(DataSheet& sheet);

  static const MemberTable<clsDataSheet>& table();

 private:
  Variant valueMatrix(Call& call);
  Variant letValueMatrix(Call& call);
  Variant textMatrix(Call& call);
  Variant letTextMatrix(Call& call);
  Variant loadFile(Call& call);
  Variant saveFile(Call& call);

  DataSheet& sheet() const;

  QPointer<DataSheet> sheet_;
};

// Makes "Tarvix.clsDataSheet" creatable by name, each object forwarding to
// the given sheet.
void registerDataSheetClass(ClassRegistry& registry, DataSheet& sheet);

}  // namespace tarvix

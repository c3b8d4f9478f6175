#include "datasheet/clsDataSheet.h"

#include "datasheet/DataSheet.h"
#include "dispatch/ClassRegistry.h"

namespace tarvix {
namespace {

// The corners: arguments 0 and 1, then the optional 2 and 3 (default -1).
struct Corners {
  qint32 row1, column1, row2, column2;
};

Corners cornersOf(const Call& call) {
  const auto optional = [&](std::size_t i) { return call.has(i) ? call.arg(i).toLong() : -1; };
  return {call.arg(0).toLong(), call.arg(1).toLong(), optional(2), optional(3)};
}

QString delimiterOf(const Call& call, std::size_t i, const QString& omitted) {
  return call.has(i) ? call.arg(i).toString() : omitted;
}

}  // namespace

clsDataSheet::clsDataSheet(DataSheet& sheet) : sheet_(&sheet) {}

const MemberTable<clsDataSheet>& clsDataSheet::table() {
  static const auto members = MemberTable<clsDataSheet>(u"clsDataSheet")
                                  .get(u"ValueMatrix", &clsDataSheet::valueMatrix, 2, 4)
                                  .let(u"ValueMatrix", &clsDataSheet::letValueMatrix, 2, 4)
                                  .get(u"TextMatrix", &clsDataSheet::textMatrix, 2, 6)
                                  .let(u"TextMatrix", &clsDataSheet::letTextMatrix, 2, 6)
                                  .method(u"LoadFile", &clsDataSheet::loadFile, 1, 1)
                                  .method(u"SaveFile", &clsDataSheet::saveFile, 1, 1);
  return members;
}

DataSheet& clsDataSheet::sheet() const {
  if (!sheet_) raiseError(ErrorNumber::ObjectVariableNotSet);
  return *sheet_;
}

Variant clsDataSheet::valueMatrix(Call& call) {
  const Corners at = cornersOf(call);
  return sheet().ValueMatrix(at.row1, at.column1, at.row2, at.column2);
}

Variant clsDataSheet::letValueMatrix(Call& call) {
  const Corners at = cornersOf(call);
  sheet().setValueMatrix(at.row1, at.column1, at.row2, at.column2, call.value());
  return {};
}

Variant clsDataSheet::textMatrix(Call& call) {
  const Corners at = cornersOf(call);
  return sheet().TextMatrix(at.row1, at.column1, at.row2, at.column2,
                            delimiterOf(call, 4, defaultRowDelimiter()),
                            delimiterOf(call, 5, defaultColumnDelimiter()));
}

Variant clsDataSheet::letTextMatrix(Call& call) {
  const Corners at = cornersOf(call);
  sheet().setTextMatrix(at.row1, at.column1, at.row2, at.column2, call.value().toString(),
                        delimiterOf(call, 4, defaultRowDelimiter()),
                        delimiterOf(call, 5, defaultColumnDelimiter()));
  return {};
}

Variant clsDataSheet::loadFile(Call& call) {
  sheet().LoadFile(call.arg(0).toString());
  return {};
}

Variant clsDataSheet::saveFile(Call& call) {
  sheet().SaveFile(call.arg(0).toString());
  return {};
}

void registerDataSheetClass(ClassRegistry& registry, DataSheet& sheet) {
  QPointer<DataSheet> shared(&sheet);
  registry.add(QString::fromUtf16(clsDataSheet::kClassName), [shared]() -> ObjectRef {
    if (!shared) return {};
    return ObjectRef(new clsDataSheet(*shared));
  });
}

}  // namespace tarvix

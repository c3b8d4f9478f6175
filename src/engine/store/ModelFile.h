#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "dispatch/Variant.h"

namespace tarvix::engine {

class VarsStore;

// A model file preloads the shared variables of an engine context
// (AddContext "Ixo" with the option "@CRDFile=" + path): initial values, help
// texts, macro texts and attribute bits of slots.
//
// UTF-8 text (legacy code pages are read as for script files), one statement
// per line; blank lines and lines starting with ';' are ignored:
//
//   IxoModel 1                   first statement: format and version
//   value 7 3,100                slot 7 starts as the Long 100 (type-and-text form)
//   help 7 Pump speed in rpm     the rest of the line is the text;
//   macro 7 Ext.Print "a"\nX=1   \n is a line break, \t a tab, \\ a backslash
//   attribute 7 8                attribute bits (8 = break point)
//
// A file is taken whole or not at all: any bad statement rejects it.
struct ModelFile {
  enum class Field { Value, Help, Macro, Attribute };
  struct Entry {
    Field field;
    int slot;
    Variant value;  // Value entries
    QString text;   // Help and Macro entries
    int bits = 0;   // Attribute entries
  };

  QList<Entry> entries;

  // std::nullopt with a description naming the line when the text is not a
  // model file; slots must lie in 1 .. slotCount.
  static std::optional<ModelFile> parse(const QString& text, int slotCount, QString* error = nullptr);
  void applyTo(VarsStore& store) const;
};

}  // namespace tarvix::engine

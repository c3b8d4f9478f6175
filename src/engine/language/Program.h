#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "dispatch/Variant.h"
#include "engine/language/builtins/Builtins.h"

namespace tarvix::script {

struct ScriptClass;

// Remembers which member id a call site found for the last kind of object
// it met, so the name is looked up once, not on every call.
struct MemberCache {
  const void* key = nullptr;
  int id = -1;
};

// One compiled procedure: a Sub, Function, Property, the top-level code of
// the modules, or a text given to Execute/Eval.
struct CompiledProc {
  enum class Kind { TopLevel, Sub, Function, PropertyGet, PropertyLet, PropertySet, Snippet };
  Kind kind = Kind::Sub;
  QString name;
  int module = 0;
  int line = 0;
  int paramCount = 0;
  std::vector<bool> paramByRef;  // by parameter
  std::vector<int> byValSlots;   // parameter slots to detach from the caller on entry
  int slotCount = 1;             // slot 0 is the result; parameters follow
  int maxStack = 0;
  bool compiled = false;
  ScriptClass* owner = nullptr;  // the class of a method
  std::vector<std::uint32_t> code;
  std::vector<Variant> constants;
  std::vector<QString> names;              // member and procedure names the code uses
  std::vector<const builtins::Builtin*> builtins;  // built-in functions the code calls
  mutable std::vector<MemberCache> caches; // one per member call site
  std::vector<QString> localNames;         // by slot; empty for hidden slots
  std::vector<int> outerSlots;             // Snippet: the caller's slot behind each parameter
};

// A Class ... End Class of the script.
struct ScriptClass {
  struct Member {
    QString name;
    bool isPublic = true;
    int field = -1;   // a variable of the class
    int get = -1;     // procedure indexes: Property Get or Function/Sub
    int let = -1;
    int set = -1;
  };
  struct FieldArray {
    int field = 0;
    std::vector<std::int32_t> upperBounds;  // empty: dynamic array
  };
  QString name;
  QStringList fieldNames;
  std::vector<FieldArray> fieldArrays;
  std::vector<Member> members;        // member id = index + 1
  QHash<QString, int> memberIds;      // lower-case name -> member id
  int defaultMember = -1;             // member id
  int initialize = -1;                // procedure index of Class_Initialize
  int terminate = -1;
  int memberIdOf(QStringView name) const;
};

// Global names of a script: variables (with their storage), constants,
// procedures and classes. Storage never moves, so by-reference arguments may
// point into it.
class Globals {
 public:
  struct Entry {
    enum class Kind { Variable, Constant, Procedure, Class } kind;
    int index;
  };
  const Entry* find(QStringView name) const;
  int addVariable(const QString& name);
  void addConstant(const QString& name, const Variant& value);
  void addProcedure(const QString& name, int proc);
  void addClass(const QString& name, int cls);
  const Variant& constant(int index) const { return constants_[index]; }
  Variant& slot(int index) { return chunks_[index >> kChunkBits][index & (kChunkSize - 1)]; }
  int variableCount() const { return variableCount_; }
  QString variableName(int index) const { return variableNames_.value(index); }

 private:
  static constexpr int kChunkBits = 10;
  static constexpr int kChunkSize = 1 << kChunkBits;
  QHash<QString, Entry> entries_;  // lower-case name
  std::vector<std::unique_ptr<Variant[]>> chunks_;
  std::vector<Variant> constants_;
  QStringList variableNames_;
  int variableCount_ = 0;
};

// Everything compiled for one script: its procedures, classes and globals.
struct Program {
  std::vector<std::unique_ptr<CompiledProc>> procs;
  std::vector<std::unique_ptr<ScriptClass>> classes;
  Globals globals;
  int mainProc = -1;  // the top-level code of the modules
};

}  // namespace tarvix::script

#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

#include "dispatch/RefCounted.h"

namespace tarvix {

class DispatchObject;
class SafeArray;

// The shared text of a String Variant.
struct VariantString final : RefCounted {
  explicit VariantString(QString s) : text(std::move(s)) {}
  QString text;
};

// Type codes, numbered as automation numbers them (VarType() in scripts).
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,   // 16-bit
  Long = 3,      // 32-bit
  Single = 4,
  Double = 5,
  Currency = 6,  // 64-bit integer scaled by 10000
  Date = 7,      // days since 1899-12-30, time of day as fraction
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,  // True is -1
  Variant = 12,  // element type of arrays of Variants
  Byte = 17,
  Array = 0x2000,  // added to the element type
  ByRef = 0x4000,  // reference to a caller's Variant (by-reference argument)
};

// How text is compared: binary (code units) or text (without letter case).
enum class CompareMode { Binary = 0, Text = 1 };

// The automation value the interpreter lives on: 16 bytes, numbers inline,
// strings, arrays and objects shared through a reference count. An array is
// copied lazily (copy on write), so assigning one copies it by value.
class Variant {
 public:
  // Scode of a missing optional argument.
  static constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004u);

  Variant() noexcept : type_(VarType::Empty), heap_(Heap::None) { u_.i8 = 0; }
  Variant(bool b) noexcept : type_(VarType::Boolean), heap_(Heap::None) { u_.i8 = 0; u_.i2 = b ? -1 : 0; }
  Variant(std::uint8_t b) noexcept : type_(VarType::Byte), heap_(Heap::None) { u_.i8 = 0; u_.ui1 = b; }
  Variant(std::int16_t i) noexcept : type_(VarType::Integer), heap_(Heap::None) { u_.i8 = 0; u_.i2 = i; }
  Variant(std::int32_t i) noexcept : type_(VarType::Long), heap_(Heap::None) { u_.i8 = 0; u_.i4 = i; }
  Variant(float f) noexcept : type_(VarType::Single), heap_(Heap::None) { u_.i8 = 0; u_.r4 = f; }
  Variant(double d) noexcept : type_(VarType::Double), heap_(Heap::None) { u_.r8 = d; }
  Variant(const QString& s);
  Variant(QString&& s);
  Variant(const char16_t* s) : Variant(QString::fromUtf16(s)) {}
  Variant(const char* utf8) : Variant(QString::fromUtf8(utf8)) {}
  // An object reference; nullptr is Nothing.
  Variant(DispatchObject* object) noexcept;
  Variant(const Ref<DispatchObject>& object) noexcept : Variant(object.get()) {}
  // Takes a share of the array.
  explicit Variant(SafeArray* array) noexcept;

  static Variant null() noexcept { return Variant(VarType::Null); }
  static Variant nothing() noexcept { return Variant(static_cast<DispatchObject*>(nullptr)); }
  static Variant missing() noexcept { return error(kParamNotFound); }
  static Variant error(std::int32_t scode) noexcept {
    Variant v(VarType::Error);
    v.u_.i4 = scode;
    return v;
  }
  static Variant currency(std::int64_t scaled) noexcept {
    Variant v(VarType::Currency);
    v.u_.i8 = scaled;
    return v;
  }
  static Variant date(double serial) noexcept {
    Variant v(VarType::Date);
    v.u_.r8 = serial;
    return v;
  }
  // A by-reference argument: reads and writes go to *target.
  static Variant byRef(Variant* target) noexcept {
    Variant v(VarType::ByRef);
    v.u_.ref = target;
    return v;
  }

  Variant(const Variant& o) noexcept : type_(o.type_), heap_(o.heap_), u_(o.u_) {
    if (heap_ != Heap::None) addRefHeap();
  }
  Variant(Variant&& o) noexcept : type_(o.type_), heap_(o.heap_), u_(o.u_) {
    o.type_ = VarType::Empty;
    o.heap_ = Heap::None;
  }
  Variant& operator=(const Variant& o) noexcept {
    if (o.heap_ != Heap::None) o.addRefHeap();
    if (heap_ != Heap::None) releaseHeap();
    type_ = o.type_;
    heap_ = o.heap_;
    u_ = o.u_;
    return *this;
  }
  Variant& operator=(Variant&& o) noexcept {
    if (this != &o) {
      if (heap_ != Heap::None) releaseHeap();
      type_ = o.type_;
      heap_ = o.heap_;
      u_ = o.u_;
      o.type_ = VarType::Empty;
      o.heap_ = Heap::None;
    }
    return *this;
  }
  ~Variant() {
    if (heap_ != Heap::None) releaseHeap();
  }

  // ---- Type ----
  // The full automation code: arrays are 8192 + element code (8204 for Variant).
  std::uint16_t vartype() const noexcept;
  // The type without the array bit; Array for arrays.
  VarType type() const noexcept { return type_; }
  bool isEmpty() const noexcept { return type_ == VarType::Empty; }
  bool isNull() const noexcept { return type_ == VarType::Null; }
  bool isString() const noexcept { return type_ == VarType::String; }
  bool isObject() const noexcept { return type_ == VarType::Object; }
  bool isNothing() const noexcept { return type_ == VarType::Object && u_.counted == nullptr; }
  bool isArray() const noexcept { return type_ == VarType::Array; }
  bool isError() const noexcept { return type_ == VarType::Error; }
  bool isMissing() const noexcept { return type_ == VarType::Error && u_.i4 == kParamNotFound; }
  bool isByRef() const noexcept { return type_ == VarType::ByRef; }
  // Byte, Integer, Long, Single, Double, Currency, Date, Boolean (not Empty).
  bool isNumeric() const noexcept {
    switch (type_) {
      case VarType::Byte: case VarType::Integer: case VarType::Long: case VarType::Single:
      case VarType::Double: case VarType::Currency: case VarType::Date: case VarType::Boolean:
        return true;
      default:
        return false;
    }
  }

  // ---- Raw access: only valid for the matching type ----
  std::int16_t rawInteger() const noexcept { return u_.i2; }
  std::int32_t rawLong() const noexcept { return u_.i4; }
  float rawSingle() const noexcept { return u_.r4; }
  double rawDouble() const noexcept { return u_.r8; }
  std::int64_t rawCurrency() const noexcept { return u_.i8; }
  double rawDate() const noexcept { return u_.r8; }
  bool rawBool() const noexcept { return u_.i2 != 0; }
  std::uint8_t rawByte() const noexcept { return u_.ui1; }
  std::int32_t rawError() const noexcept { return u_.i4; }
  const QString& rawString() const noexcept { return static_cast<VariantString*>(u_.counted)->text; }
  DispatchObject* rawObject() const noexcept;  // defined in DispatchObject.h
  const SafeArray& rawArray() const noexcept;  // defined in SafeArray.h
  // The array for writing: detaches it first when it is shared.
  SafeArray& mutableArray();
  Variant* refTarget() const noexcept { return u_.ref; }

  // Appends to a String whose text no other Variant shares, in place (so
  // "s = s & x" in a loop is not quadratic); false, and nothing changed, when
  // this is not a String or its text is shared.
  bool appendInPlace(const QString& text) {
    if (type_ != VarType::String || u_.counted->refCount() != 1) return false;
    static_cast<VariantString*>(u_.counted)->text += text;
    return true;
  }

  // ---- By-reference arguments ----
  // The value itself, or what a by-reference Variant points at.
  const Variant& deref() const noexcept { return type_ == VarType::ByRef ? *u_.ref : *this; }
  Variant& deref() noexcept { return type_ == VarType::ByRef ? *u_.ref : *this; }
  // Writes through a by-reference Variant, or replaces this value.
  void assign(const Variant& value) { deref() = value; }

  // ---- Conversions with automation rules (throw AutomationError) ----
  // Numbers round to integers by banker's rounding; out of range is error 6,
  // a value that cannot convert is error 13, Null is error 94. An object
  // converts through its default member.
  bool toBool() const;
  std::uint8_t toByte() const;
  std::int16_t toInteger() const;
  std::int32_t toLong() const;
  float toSingle() const;
  double toDouble() const;
  std::int64_t toCurrency() const;  // scaled by 10000
  double toDate() const;
  QString toString() const;
  // The object reference (nullptr for Nothing); error 424 when not an object.
  DispatchObject* toObject() const;
  // This value converted to the given type (Empty, Null, a scalar type or
  // String); used for CInt etc. and typed array elements.
  Variant convertedTo(VarType type) const;
  // An object's default value (its default member read without arguments);
  // any other value unchanged. Nothing is error 91.
  Variant resolved() const;

  // Same type and same value (strings exactly, objects by identity, arrays by
  // identity of their storage). For tests and tables, not the language's "=".
  bool identical(const Variant& o) const;

 private:
  // Whether the payload holds a counted reference (strings, non-null
  // objects, arrays), so copying numbers never touches it.
  enum class Heap : std::uint8_t { None, Counted };

  explicit Variant(VarType t) noexcept : type_(t), heap_(Heap::None) { u_.i8 = 0; }
  void addRefHeap() const noexcept { u_.counted->addRef(); }
  void releaseHeap() noexcept { u_.counted->release(); }

  VarType type_;
  Heap heap_;
  union {
    std::int16_t i2;
    std::int32_t i4;
    std::int64_t i8;
    float r4;
    double r8;
    std::uint8_t ui1;
    RefCounted* counted;  // VariantString, DispatchObject or SafeArray
    Variant* ref;
  } u_;
};

static_assert(sizeof(Variant) == 16, "Variant must stay small: the interpreter copies it constantly");

// Number and date texts as the language writes them.
QString formatDouble(double value);      // up to 15 significant digits: 0.1+0.2 -> "0.3", 1E+20
QString formatSingle(float value);       // up to 7 significant digits
QString formatCurrency(std::int64_t scaled);
QString formatDate(double serial);       // "yyyy/mm/dd", "hh:nn:ss" or both
// Banker's rounding of a double to the nearest integer (halves to even).
double roundHalfEven(double value) noexcept;

}  // namespace tarvix

#pragma once

#include <QString>
#include <exception>

namespace tarvix {

// Error numbers that scripts see in Err.Number.
namespace ErrorNumber {
enum : int {
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  ArrayFixedOrLocked = 10,
  DivisionByZero = 11,
  TypeMismatch = 13,
  OutOfStackSpace = 28,
  SubOrFunctionNotDefined = 35,
  FileNotFound = 53,
  BadFileMode = 54,
  FileAlreadyExists = 58,
  InputPastEndOfFile = 62,
  PermissionDenied = 70,
  PathNotFound = 76,
  ObjectVariableNotSet = 91,
  ForLoopNotInitialized = 92,
  InvalidUseOfNull = 94,
  ObjectRequired = 424,
  CannotCreateObject = 429,
  ObjectDoesNotSupport = 438,
  WrongArgumentCount = 450,
  ObjectNotACollection = 451,
  DuplicateKey = 457,
  VariableUndefined = 500,
  IllegalAssignment = 501,
  ObjectNotSafeForScripting = 502,
  ClassNotDefined = 506,
  // Compile errors.
  SyntaxError = 1002,
  ExpectedColon = 1003,
  ExpectedOpenParen = 1005,
  ExpectedCloseParen = 1006,
  ExpectedIdentifier = 1010,
  ExpectedEqual = 1011,
  ExpectedIf = 1012,
  ExpectedTo = 1013,
  ExpectedEnd = 1014,
  ExpectedFunction = 1015,
  ExpectedSub = 1016,
  ExpectedThen = 1017,
  ExpectedWend = 1018,
  ExpectedLoop = 1019,
  ExpectedNext = 1020,
  ExpectedCase = 1021,
  ExpectedSelect = 1022,
  ExpectedExpression = 1023,
  ExpectedStatement = 1024,
  ExpectedEndOfStatement = 1025,
  ExpectedInteger = 1026,
  ExpectedWhileOrUntil = 1027,
  ExpectedWhileUntilOrEnd = 1028,
  ExpectedWith = 1029,
  IdentifierTooLong = 1030,
  InvalidNumber = 1031,
  InvalidCharacter = 1032,
  UnterminatedString = 1033,
  InvalidUseOfMe = 1037,
  LoopWithoutDo = 1038,
  InvalidExitStatement = 1039,
  InvalidForLoopControl = 1040,
  NameRedefined = 1041,
  MustBeFirstStatement = 1042,
  CannotAssignToNonByValArgument = 1043,
  CannotUseParensCallingSub = 1044,
  ExpectedLiteralConstant = 1045,
  ExpectedIn = 1046,
  ExpectedClass = 1047,
  MustBeDefinedInsideClass = 1048,
  ExpectedLetSetOrGet = 1049,
  ExpectedProperty = 1050,
  InconsistentPropertyArguments = 1051,
  MultipleDefaults = 1052,
  ClassInitializeOrTerminateHaveNoArguments = 1053,
  PropertyLetOrSetNeedsArgument = 1054,
  UnexpectedNext = 1055,
  DefaultOnlyOnPropertyFunctionOrSub = 1056,
  DefaultMustAlsoBePublic = 1057,
  DefaultOnlyOnPropertyGet = 1058,
  // Collections.
  ElementNotFound = 32811,
};
}  // namespace ErrorNumber

// The text users know for a standard error number; "Unknown runtime error"
// for a number without one.
QString standardErrorText(int number);

// A failure raised to the calling script: Err.Number, Err.Description and
// Err.Source.
class AutomationError : public std::exception {
 public:
  // Description defaults to the standard text of the number.
  explicit AutomationError(int number, QString description = {}, QString source = {});

  int number() const noexcept { return number_; }
  const QString& description() const noexcept { return description_; }
  const QString& source() const noexcept { return source_; }
  void setSource(const QString& source) { source_ = source; }
  const char* what() const noexcept override;

 private:
  int number_;
  QString description_;
  QString source_;
  QByteArray what_;
};

[[noreturn]] void raiseError(int number, const QString& description = {});

}  // namespace tarvix

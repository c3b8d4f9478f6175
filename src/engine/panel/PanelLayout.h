#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvix::engine {

enum class ControlKind { Label, Lamp, Display, Button, Input };

// One control of the operation panel. `slot` is the Vars slot it shows or
// writes (0 = none). A button writes `value`, a value in the type-and-text
// form ("11,True"), to its slot when pressed.
struct PanelControl {
  ControlKind kind = ControlKind::Label;
  int page = 1;  // 1-based
  QRect geometry{10, 10, 120, 28};
  int slot = 0;
  QString caption;
  QString value;

  bool operator==(const PanelControl&) const = default;
};

// The pages and controls of the operation panel, and their text file form
// (the "pnl" file). The file is UTF-8 text, one statement per line; blank
// lines and lines starting with ';' are ignored; words are separated by
// blanks; a text containing blanks or quotes is written in double quotes with
// inner quotes doubled.
//
//   Dialdeck 1                                  first line: format and version
//   interval 500                                refresh interval in ms (10 to 3600000)
//   page "Main"                                 one line per page, in order
//   KIND PAGE X Y WIDTH HEIGHT SLOT "CAPTION" ["VALUE"]
//
// KIND is label, lamp, display, button or input; PAGE is 1-based and must
// name an existing page; SLOT is a Vars slot number or 0; VALUE is a button's
// value in the type-and-text form. A panel always has at least one page.
struct PanelLayout {
  static constexpr int kDefaultInterval = 500;

  QStringList pages{QStringLiteral("Page 1")};
  QList<PanelControl> controls;
  int interval = kDefaultInterval;

  bool operator==(const PanelLayout&) const = default;

  QString toText() const;
  // std::nullopt with a description in `error` (with its line) when the text
  // is not a valid layout.
  static std::optional<PanelLayout> fromText(const QString& text, QString* error = nullptr);

  static QString kindName(ControlKind kind);
  static std::optional<ControlKind> kindFromName(const QString& name);
  // Parses one control statement ("lamp 1 10 10 24 24 7 Pump").
  static std::optional<PanelControl> controlFromText(const QString& line, QString* error = nullptr);
  static QString controlToText(const PanelControl& control);
};

}  // namespace tarvix::engine

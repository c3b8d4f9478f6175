#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tarvix {

// One sectioned key-value text held in memory, line by line. Section and key
// names are matched without letter case, and the first match wins. Lines that
// are neither section headers nor entries (comments, blanks, stray text) are
// kept as they are, so a rewrite changes only the lines it has to.
class ProfileDocument {
 public:
  // Accepts LF or CR LF line ends.
  static ProfileDocument parse(QStringView text);
  // Every line closed by CR LF.
  QString toText() const;

  // The entry's value: blanks around it and one pair of enclosing quotes
  // removed. std::nullopt when the section or the key is missing.
  std::optional<QString> value(QStringView section, QStringView key) const;
  bool hasSection(QStringView section) const;
  // Every section header in file order, duplicates included.
  QStringList sectionNames() const;

  // Replaces the first matching entry, appends it after the last entry of its
  // section, or appends the section at the end. False (and no change) when the
  // names or the value cannot be stored on one line and read back the same.
  bool setValue(const QString& section, const QString& key, const QString& value);
  // Removes the first matching section with all its lines. False when there
  // is no such section.
  bool removeSection(QStringView section);

 private:
  struct Line {
    QString text;
    QString foldedKey;  // empty when the line is not an entry
  };
  struct Section {
    QString header;  // the header line as written
    QString name;
    std::vector<Line> lines;
    QHash<QString, int> firstEntry;  // folded key -> index in lines
    int lastEntry = -1;
  };

  Section& appendSection(const QString& header, const QString& name);
  static void appendLine(Section& section, Line line);
  void rebuildSectionIndex();

  std::vector<QString> leadingLines_;  // lines before the first section
  std::vector<Section> sections_;
  QHash<QString, int> firstSection_;  // folded name -> index in sections_
};

}  // namespace tarvix

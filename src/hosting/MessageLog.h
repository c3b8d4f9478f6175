#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QVariant>

namespace tarvix {

// The main window's short log of what the program did, oldest line first, as
// a one-column list model for the log's combo box. Lines are the callers'
// texts unchanged; once the log is full, further lines are dropped until it is
// cleared.
class MessageLog : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 200;

  explicit MessageLog(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  const QStringList& lines() const { return lines_; }

  // Logs strMsg while there is room. vntMsgOpt, when it is a list of the
  // prompt and a message-box style (buttons + icon, e.g. 48 warning), also
  // shows that message box with the application's title and waits for it,
  // whether or not the line was logged.
  void WriteMessage(const QString& strMsg, const QVariant& vntMsgOpt = QVariant());

  // Writes every line, each closed by CR LF, replacing the file. False when
  // the file cannot be written; an existing file then stays as it was.
  bool exportTo(const QString& path) const;
  // Asks for the file with the save dialog (the given filter, the program
  // folder, asking before overwriting) and exports to it. False when the
  // dialog was cancelled or the write failed; nothing is reported.
  bool exportWithDialog(const QString& filter) const;

  // Asks whether the log is to be cleared (Yes/No, question icon) and clears
  // it on Yes. True when it was cleared.
  bool clearWithQuestion();
  static QString clearQuestion();

 private:
  QStringList lines_;
};

}  // namespace tarvix

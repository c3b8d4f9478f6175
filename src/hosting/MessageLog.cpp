#include "hosting/MessageLog.h"

#include "app/FileDialog.h"
#include "base/PromptService.h"
#include "base/TextFile.h"

namespace tarvix {

MessageLog::MessageLog(QObject* parent) : QAbstractListModel(parent) {}

int MessageLog::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant MessageLog::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= lines_.size()) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  return lines_.at(index.row());
}

void MessageLog::WriteMessage(const QString& strMsg, const QVariant& vntMsgOpt) {
  if (lines_.size() < kMaxLines) {
    const int row = static_cast<int>(lines_.size());
    beginInsertRows(QModelIndex(), row, row);
    lines_.append(strMsg);
    endInsertRows();
  }
  const QVariantList option = vntMsgOpt.toList();
  if (option.size() >= 2) prompts().messageBox(option.at(0).toString(), option.at(1).toInt(), applicationTitle());
}

bool MessageLog::exportTo(const QString& path) const {
  QString text;
  for (const QString& line : lines_) text += line + QStringLiteral("\r\n");
  return writeTextFileAtomic(path, text);
}

bool MessageLog::exportWithDialog(const QString& filter) const {
  const QString path = ShowFileDialog(FileDialogMode::Save, filter, QString(),
                                      FileDialogFlags::OverwritePrompt | FileDialogFlags::HideReadOnly);
  return !path.isEmpty() && exportTo(path);
}

QString MessageLog::clearQuestion() {
  // "Are you sure you want to clear the log?"
  return QStringLiteral("\u30ED\u30B0\u3092\u30AF\u30EA\u30A2\u3057\u3066\u3082\u3088\u308D\u3057\u3044\u3067\u3059\u304B?");
}

bool MessageLog::clearWithQuestion() {
  if (prompts().messageBox(clearQuestion(), int(MsgBox::YesNo) | MsgBox::Question, applicationTitle()) != MsgBox::Yes) {
    return false;
  }
  beginResetModel();
  lines_.clear();
  endResetModel();
  return true;
}

}  // namespace tarvix

#include "support/ScriptedPrompts.h"

namespace tarvix::test {

ScriptedPrompts::ScriptedPrompts() { setPrompts(this); }
ScriptedPrompts::~ScriptedPrompts() { setPrompts(nullptr); }

int ScriptedPrompts::messageBox(const QString& prompt, int style, const QString&) {
  records.push_back({Record::Kind::MessageBox, prompt, style, {}});
  if (answers.empty()) {
    const int buttons = MsgBox::buttonsOf(style);
    if (buttons == MsgBox::YesNo || buttons == MsgBox::YesNoCancel) return MsgBox::Yes;
    return buttons == MsgBox::AbortRetryIgnore ? MsgBox::Abort
           : buttons == MsgBox::RetryCancel    ? MsgBox::Retry
                                               : MsgBox::Ok;
  }
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<QString> ScriptedPrompts::inputBox(const QString& prompt, const QString&, const QString&) {
  records.push_back({Record::Kind::InputBox, prompt, 0, {}});
  std::optional<QString> answer;
  if (!inputs.empty()) {
    answer.swap(inputs.front());
    inputs.pop_front();
  }
  return answer;
}

QString ScriptedPrompts::fileDialog(const FileDialogRequest& request) {
  records.push_back({Record::Kind::FileDialog, request.title, 0, request});
  if (files.empty()) return {};
  QString answer = files.front();
  files.pop_front();
  return answer;
}

}  // namespace tarvix::test

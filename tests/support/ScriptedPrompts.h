#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "base/PromptService.h"

namespace tarvix::test {

// Records every prompt and answers from queues; installs itself for its
// lifetime. An empty queue answers like the silent service (first button,
// cancel).
class ScriptedPrompts final : public PromptService {
 public:
  struct Record {
    enum class Kind { MessageBox, InputBox, FileDialog } kind;
    QString text;   // prompt, or dialog title
    int style = 0;  // message boxes: buttons + icon
    FileDialogRequest file;
  };

  ScriptedPrompts();
  ~ScriptedPrompts() override;

  int messageBox(const QString& prompt, int style, const QString& title) override;
  std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) override;
  QString fileDialog(const FileDialogRequest& request) override;

  std::deque<int> answers;                     // message-box answers
  std::deque<std::optional<QString>> inputs;   // input-box answers
  std::deque<QString> files;                   // file-dialog answers
  std::vector<Record> records;
};

}  // namespace tarvix::test

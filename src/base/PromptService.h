#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tarvix {

// Message-box style and answer codes, numbered as scripts and stored settings
// know them (buttons + icon + default button, added together).
namespace MsgBox {
enum Buttons : int { OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum Icon : int { Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum Default : int { DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512 };
enum Answer : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
inline int buttonsOf(int style) { return style & 0xF; }
inline int iconOf(int style) { return style & 0xF0; }
}  // namespace MsgBox

struct FileDialogRequest {
  enum class Mode { Open, Save };
  Mode mode = Mode::Open;
  QString title;
  QString filter;         // Qt filter syntax: "Scripts (*.vbs *.vbe);;All files (*)"
  QString initialFolder;
  bool confirmOverwrite = true;  // save only
};

// Every message box, input box and file dialog of the program goes through
// this one interface, so that tests can answer prompts from a queue.
class PromptService {
 public:
  virtual ~PromptService() = default;

  // Returns one of MsgBox::Answer.
  virtual int messageBox(const QString& prompt, int style, const QString& title) = 0;
  // Returns std::nullopt when the user cancels.
  virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                          const QString& defaultText) = 0;
  // Returns the chosen full path, or an empty text when cancelled.
  virtual QString fileDialog(const FileDialogRequest& request) = 0;
};

// The service in force. Until one is installed, a silent service answers every
// message box with its first button, cancels input boxes and file dialogs.
PromptService& prompts();
// Installs a service (not owned); nullptr restores the silent one.
void setPrompts(PromptService* service);

// The title every program message box carries.
QString applicationTitle();

}  // namespace tarvix

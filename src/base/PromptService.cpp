#include "base/PromptService.h"

namespace tarvix {
namespace {

int firstButtonOf(int style) {
  switch (MsgBox::buttonsOf(style)) {
    case MsgBox::AbortRetryIgnore: return MsgBox::Abort;
    case MsgBox::YesNoCancel:
    case MsgBox::YesNo: return MsgBox::Yes;
    case MsgBox::RetryCancel: return MsgBox::Retry;
    default: return MsgBox::Ok;
  }
}

class SilentPrompts final : public PromptService {
 public:
  int messageBox(const QString&, int style, const QString&) override { return firstButtonOf(style); }
  std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
  QString fileDialog(const FileDialogRequest&) override { return {}; }
};

SilentPrompts silent;
PromptService* current = &silent;

}  // namespace

PromptService& prompts() { return *current; }

void setPrompts(PromptService* service) { current = service ? service : &silent; }

QString applicationTitle() { return QStringLiteral("Tarvix"); }

}  // namespace tarvix

#include "app/FileDialog.h"

#include "app/ProgramFolder.h"
#include "base/PromptService.h"
#include "ui/modLocale.h"

namespace tarvix {

QString ShowFileDialog(int mode, const QString& filter, const QString& initialFolder, int flags) {
  if (mode != FileDialogMode::Open && mode != FileDialogMode::Save) return {};
  FileDialogRequest request;
  request.filter = filter;
  request.initialFolder = initialFolder.isEmpty() ? ProgramFolder().chopped(1) : initialFolder;
  if (mode == FileDialogMode::Open) {
    request.mode = FileDialogRequest::Mode::Open;
    request.title = LStr(210);
    request.confirmOverwrite = false;
  } else {
    request.mode = FileDialogRequest::Mode::Save;
    request.title = LStr(211);
    request.confirmOverwrite = (flags & FileDialogFlags::OverwritePrompt) != 0;
  }
  return prompts().fileDialog(request);
}

}  // namespace tarvix

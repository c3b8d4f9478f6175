#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/FileDialog.h"
#include "app/ProgramFolder.h"
#include "app/clsProfile.h"
#include "support/ScriptedPrompts.h"
#include "ui/modLocale.h"

namespace tarvix {
namespace {

class ProgramFolderOverride {
 public:
  explicit ProgramFolderOverride(const QString& folder) { SetProgramFolderOverride(folder); }
  ~ProgramFolderOverride() { SetProgramFolderOverride({}); }
};

TEST(ProgramFolder, IsTheExecutableFolderWhenWritableElseTheUserFolder) {
  QTemporaryDir dir;
  EXPECT_EQ(WritableFolderOr(dir.path(), QStandardPaths::GenericConfigLocation), dir.path() + "/");

  const QByteArray savedConfigHome = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
  EXPECT_EQ(WritableFolderOr(dir.filePath("not-there"), QStandardPaths::GenericConfigLocation),
            dir.filePath("config/Tarvix/"));
  EXPECT_TRUE(QDir(dir.filePath("config/Tarvix")).exists());
  qputenv("XDG_CONFIG_HOME", savedConfigHome);

  EXPECT_TRUE(ProgramFolder().endsWith('/'));
  EXPECT_TRUE(UserDataFolder().endsWith('/'));
}

TEST(ProgramFolder, TheDefaultProfileIsTheExecutableNameInTheProgramFolder) {
  QTemporaryDir dir;
  ProgramFolderOverride use(dir.path());
  EXPECT_EQ(ProgramFolder(), dir.path() + "/");
  EXPECT_EQ(clsProfile().FileName(), dir.filePath("test_app.ini"));
}

TEST(ShowFileDialog, AsksThePromptServiceWithTitleFilterFolderAndOverwriteFlag) {
  QTemporaryDir dir;
  ProgramFolderOverride use(dir.path());
  test::ScriptedPrompts prompts;
  prompts.files = {"/tmp/chosen.vbs", ""};
  const QString filter = "Scripts (*.vbs *.vbe)";

  EXPECT_EQ(ShowFileDialog(FileDialogMode::Open, filter, ""), "/tmp/chosen.vbs");
  EXPECT_EQ(ShowFileDialog(FileDialogMode::Save, filter, "/work", 6), "");  // cancelled
  EXPECT_EQ(ShowFileDialog(2, filter, ""), "");
  ASSERT_EQ(prompts.records.size(), 2u);

  const FileDialogRequest& open = prompts.records[0].file;
  EXPECT_EQ(open.mode, FileDialogRequest::Mode::Open);
  EXPECT_EQ(open.title, LStr(210));
  EXPECT_EQ(open.filter, filter);
  EXPECT_EQ(open.initialFolder, dir.path());

  const FileDialogRequest& save = prompts.records[1].file;
  EXPECT_EQ(save.mode, FileDialogRequest::Mode::Save);
  EXPECT_EQ(save.title, LStr(211));
  EXPECT_EQ(save.initialFolder, "/work");
  EXPECT_TRUE(save.confirmOverwrite);
  ShowFileDialog(FileDialogMode::Save, filter, "", FileDialogFlags::HideReadOnly);
  EXPECT_FALSE(prompts.records.back().file.confirmOverwrite);
}

}  // namespace
}  // namespace tarvix

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/ProgramFolder.h"
#include "base/TextFile.h"
#include "hosting/MessageLog.h"
#include "support/ScriptedPrompts.h"
#include "ui/modLocale.h"

namespace tarvix {
namespace {

TEST(MessageLog, KeepsAtMostTwoHundredLinesButStillShowsTheBox) {
  test::ScriptedPrompts prompts;
  MessageLog log;
  QSignalSpy inserted(&log, &QAbstractItemModel::rowsInserted);
  log.WriteMessage("same");
  log.WriteMessage("same");
  for (int i = 2; i < MessageLog::kMaxLines; ++i) log.WriteMessage(QString::number(i));
  ASSERT_EQ(log.rowCount(), MessageLog::kMaxLines);
  EXPECT_EQ(log.data(log.index(0)).toString(), "same");
  EXPECT_EQ(log.data(log.index(1)).toString(), "same");
  EXPECT_EQ(inserted.count(), MessageLog::kMaxLines);
  EXPECT_TRUE(prompts.records.empty());

  log.WriteMessage("dropped", QVariantList{"dropped", 48});
  EXPECT_EQ(log.rowCount(), MessageLog::kMaxLines);
  EXPECT_EQ(log.lines().last(), QString::number(MessageLog::kMaxLines - 1));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text, "dropped");
  EXPECT_EQ(prompts.records[0].style, 48);
}

TEST(MessageLog, ShowsTheBoxWithTheGivenPromptAndStyle) {
  test::ScriptedPrompts prompts;
  MessageLog log;
  log.WriteMessage("[Task] \"a.vbs\"", QVariantList{"other text", 64});
  log.WriteMessage("no box", QVariant());
  EXPECT_EQ(log.lines(), QStringList({"[Task] \"a.vbs\"", "no box"}));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text, "other text");
  EXPECT_EQ(prompts.records[0].style, 64);
}

TEST(MessageLog, ExportsEveryLineWithCrLf) {
  QTemporaryDir dir;
  MessageLog log;
  EXPECT_TRUE(log.exportTo(dir.filePath("empty.log")));
  EXPECT_EQ(readFileBytes(dir.filePath("empty.log")).value_or("<missing>"), "");

  log.WriteMessage("first");
  log.WriteMessage(QStringLiteral("caf\u00E9"));
  ASSERT_TRUE(writeFileAtomic(dir.filePath("out.log"), "old contents"));
  EXPECT_TRUE(log.exportTo(dir.filePath("out.log")));
  EXPECT_EQ(readFileBytes(dir.filePath("out.log")).value(), "first\r\ncaf\xC3\xA9\r\n");
  EXPECT_FALSE(log.exportTo(dir.filePath("missing/out.log")));
}

TEST(MessageLog, ExportAsksForTheFileInTheProgramFolder) {
  QTemporaryDir dir;
  SetProgramFolderOverride(dir.path());
  test::ScriptedPrompts prompts;
  prompts.files = {dir.filePath("chosen.log"), ""};
  MessageLog log;
  log.WriteMessage("line");

  EXPECT_TRUE(log.exportWithDialog("Log (*.log)"));
  EXPECT_EQ(readFileBytes(dir.filePath("chosen.log")).value(), "line\r\n");
  EXPECT_FALSE(log.exportWithDialog("Log (*.log)"));  // cancelled

  const FileDialogRequest& request = prompts.records.at(0).file;
  EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
  EXPECT_EQ(request.title, LStr(211));
  EXPECT_EQ(request.filter, "Log (*.log)");
  EXPECT_EQ(request.initialFolder, dir.path());
  EXPECT_TRUE(request.confirmOverwrite);
  SetProgramFolderOverride({});
}

TEST(MessageLog, ClearsOnlyWhenTheQuestionIsAnsweredYes) {
  test::ScriptedPrompts prompts;
  prompts.answers = {MsgBox::No, MsgBox::Yes};
  MessageLog log;
  log.WriteMessage("a");
  log.WriteMessage("b");

  EXPECT_FALSE(log.clearWithQuestion());
  EXPECT_EQ(log.rowCount(), 2);
  EXPECT_TRUE(log.clearWithQuestion());
  EXPECT_EQ(log.rowCount(), 0);
  ASSERT_EQ(prompts.records.size(), 2u);
  EXPECT_EQ(prompts.records[0].text, MessageLog::clearQuestion());
  EXPECT_EQ(prompts.records[0].style, int(MsgBox::YesNo) + MsgBox::Question);

  for (int i = 0; i < MessageLog::kMaxLines + 1; ++i) log.WriteMessage("x");
  EXPECT_EQ(log.rowCount(), MessageLog::kMaxLines);  // clearing made room again
}

}  // namespace
}  // namespace tarvix

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../dispatch/VariantMatchers.h"
#include "base/TextFile.h"
#include "dispatch/DispatchObject.h"
#include "engine/language/scripting/FileSystemObject.h"

namespace tarvix::scripting {
namespace {

class FileSystemObjectTest : public testing::Test {
 protected:
  Variant fsoCall(QStringView member, std::initializer_list<Variant> args) {
    return fso->call(member, CallKind::Method, args);
  }
  static Variant on(const Variant& object, QStringView member, std::initializer_list<Variant> args = {},
                    CallKind kind = CallKind::Method) {
    return object.toObject()->call(member, kind, args);
  }
  Variant path(const QString& name) const { return Variant(dir.filePath(name)); }
  void write(const QString& name, const QByteArray& bytes) const {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray read(const QString& name) const { return readFileBytes(dir.filePath(name)).value_or("<missing>"); }

  QTemporaryDir dir;
  Ref<FileSystemObject> fso{new FileSystemObject};
};

TEST_F(FileSystemObjectTest, PathTextsAcceptEitherSeparator) {
  const std::tuple<const char16_t*, const char*, const char*> cases[] = {
      {u"GetFileName", "C:\\dir\\file.txt", "file.txt"},
      {u"GetFileName", "/a/b/", "b"},
      {u"GetBaseName", "/a/archive.tar.gz", "archive.tar"},
      {u"GetExtensionName", "/a/archive.tar.gz", "gz"},
      {u"GetExtensionName", "/a/noext", ""},
      {u"GetParentFolderName", "C:\\dir\\file.txt", "C:\\dir"},
      {u"GetParentFolderName", "/file", "/"},
      {u"GetParentFolderName", "file", ""},
  };
  for (const auto& [member, in, out] : cases)
    EXPECT_TRUE(same(fsoCall(member, {S(in)}), S(out))) << QString::fromUtf16(member).toStdString() << " " << in;
  EXPECT_TRUE(same(fsoCall(u"BuildPath", {S("/a"), S("b.txt")}), S("/a/b.txt")));
  EXPECT_TRUE(same(fsoCall(u"BuildPath", {S("C:\\a"), S("b.txt")}), S("C:\\a\\b.txt")));
  EXPECT_TRUE(same(fsoCall(u"BuildPath", {S("/a/"), S("b")}), S("/a/b")));
  EXPECT_TRUE(same(fsoCall(u"GetAbsolutePathName", {Variant(dir.path() + "/x/../y")}), Variant(dir.path() + "/y")));
}

TEST_F(FileSystemObjectTest, WritesReadsAndAppendsTextStreams) {
  const Variant out = fsoCall(u"CreateTextFile", {path("a.txt")});
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("a.txt")}), Bool(true)));  // exists from the start
  on(out, u"WriteLine", {S("first")});
  on(out, u"Write", {S("sec")});
  on(out, u"Write", {I(2)});
  on(out, u"WriteBlankLines", {I(1)});
  EXPECT_TRUE(same(on(out, u"Line", {}, CallKind::PropertyGet), L(3)));
  on(out, u"Close");
  EXPECT_EQ(read("a.txt"), QByteArray("first\r\nsec2\r\n"));

  const Variant append = fsoCall(u"OpenTextFile", {path("a.txt"), I(8)});
  on(append, u"WriteLine", {S("third")});
  on(append, u"Close");

  const Variant in = fsoCall(u"OpenTextFile", {path("a.txt")});
  EXPECT_TRUE(same(on(in, u"ReadLine"), S("first")));
  EXPECT_TRUE(same(on(in, u"Read", {I(3)}), S("sec")));
  EXPECT_TRUE(same(on(in, u"Column", {}, CallKind::PropertyGet), L(4)));
  on(in, u"SkipLine");
  EXPECT_TRUE(same(on(in, u"ReadAll"), S("third\r\n")));
  EXPECT_TRUE(same(on(in, u"AtEndOfStream", {}, CallKind::PropertyGet), Bool(true)));
  EXPECT_EQ(errorOf([&] { on(in, u"ReadLine"); }), 62);
  EXPECT_EQ(errorOf([&] { on(in, u"Write", {S("x")}); }), 54);
  EXPECT_EQ(errorOf([&] { on(out, u"Write", {S("x")}); }), 54);  // closed
}

TEST_F(FileSystemObjectTest, ReadsLineEndsOfEveryKindAndUtf16Files) {
  write("mixed.txt", "one\ntwo\r\nthree\rfour");
  const Variant in = fsoCall(u"OpenTextFile", {path("mixed.txt"), I(1)});
  QStringList lines;
  while (!on(in, u"AtEndOfStream", {}, CallKind::PropertyGet).toBool()) lines << on(in, u"ReadLine").toString();
  EXPECT_EQ(lines, QStringList({"one", "two", "three", "four"}));

  const Variant unicode = fsoCall(u"CreateTextFile", {path("u.txt"), Bool(true), Bool(true)});
  on(unicode, u"Write", {Variant(u"\u00E9t\u00E9")});
  on(unicode, u"Close");
  EXPECT_EQ(read("u.txt"), QByteArray("\xFF\xFE\xE9\x00t\x00\xE9\x00", 8));
  const Variant back = fsoCall(u"OpenTextFile", {path("u.txt")});
  EXPECT_TRUE(same(on(back, u"ReadAll"), Variant(u"\u00E9t\u00E9")));
}

TEST_F(FileSystemObjectTest, OpeningReportsMissingFilesFoldersAndExistingOnes) {
  EXPECT_EQ(errorOf([&] { fsoCall(u"OpenTextFile", {path("none.txt")}); }), 53);
  EXPECT_EQ(errorOf([&] { fsoCall(u"OpenTextFile", {path("no/dir.txt"), I(2), Bool(true)}); }), 76);
  EXPECT_EQ(errorOf([&] { fsoCall(u"OpenTextFile", {path("x.txt"), I(3)}); }), 5);
  write("keep.txt", "old");
  EXPECT_EQ(errorOf([&] { fsoCall(u"CreateTextFile", {path("keep.txt"), Bool(false)}); }), 58);
  EXPECT_EQ(read("keep.txt"), QByteArray("old"));
  Variant created = fsoCall(u"OpenTextFile", {path("new.txt"), I(2), Bool(true)});
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("new.txt")}), Bool(true)));
  // A stream released without Close still writes its text.
  on(created, u"Write", {S("kept")});
  created = Variant();
  EXPECT_EQ(read("new.txt"), QByteArray("kept"));
}

TEST_F(FileSystemObjectTest, CopiesMovesAndDeletesFilesWithWildcards) {
  write("a.log", "A");
  write("b.log", "B");
  write("c.txt", "C");
  fsoCall(u"CreateFolder", {path("out")});
  EXPECT_EQ(errorOf([&] { fsoCall(u"CreateFolder", {path("out")}); }), 58);
  EXPECT_EQ(errorOf([&] { fsoCall(u"CreateFolder", {path("x/y")}); }), 76);

  fsoCall(u"CopyFile", {path("*.log"), path("out")});
  EXPECT_EQ(read("out/a.log"), QByteArray("A"));
  EXPECT_EQ(read("out/b.log"), QByteArray("B"));
  EXPECT_EQ(errorOf([&] { fsoCall(u"CopyFile", {path("c.txt"), path("out/a.log"), Bool(false)}); }), 58);
  fsoCall(u"CopyFile", {path("c.txt"), path("out/a.log")});
  EXPECT_EQ(read("out/a.log"), QByteArray("C"));
  EXPECT_EQ(errorOf([&] { fsoCall(u"CopyFile", {path("none.txt"), path("out/")}); }), 53);

  fsoCall(u"MoveFile", {path("c.txt"), path("out/")});
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("c.txt")}), Bool(false)));
  EXPECT_EQ(read("out/c.txt"), QByteArray("C"));
  EXPECT_EQ(errorOf([&] { fsoCall(u"MoveFile", {path("a.log"), path("out/b.log")}); }), 58);

  fsoCall(u"DeleteFile", {path("*.log")});
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("a.log")}), Bool(false)));
  EXPECT_EQ(errorOf([&] { fsoCall(u"DeleteFile", {path("*.log")}); }), 53);
  QFile::setPermissions(dir.filePath("out/c.txt"), QFileDevice::ReadOwner);
  EXPECT_EQ(errorOf([&] { fsoCall(u"DeleteFile", {path("out/c.txt")}); }), 70);
  fsoCall(u"DeleteFile", {path("out/c.txt"), Bool(true)});
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("out/c.txt")}), Bool(false)));
}

TEST_F(FileSystemObjectTest, CopiesMovesAndDeletesFolderTrees) {
  QDir(dir.path()).mkpath("src/sub");
  write("src/sub/f.txt", "F");
  fsoCall(u"CopyFolder", {path("src"), path("copy")});
  EXPECT_EQ(read("copy/sub/f.txt"), QByteArray("F"));
  EXPECT_EQ(errorOf([&] { fsoCall(u"CopyFolder", {path("src"), path("copy"), Bool(false)}); }), 58);
  EXPECT_EQ(errorOf([&] { fsoCall(u"CopyFolder", {path("src"), path("src/sub/inner")}); }), 70);
  fsoCall(u"MoveFolder", {path("copy"), path("moved")});
  EXPECT_TRUE(same(fsoCall(u"FolderExists", {path("copy")}), Bool(false)));
  EXPECT_EQ(read("moved/sub/f.txt"), QByteArray("F"));
  fsoCall(u"DeleteFolder", {path("moved")});
  EXPECT_TRUE(same(fsoCall(u"FolderExists", {path("moved")}), Bool(false)));
  EXPECT_EQ(errorOf([&] { fsoCall(u"DeleteFolder", {path("moved")}); }), 76);
  EXPECT_EQ(errorOf([&] { fsoCall(u"GetFolder", {path("moved")}); }), 76);
  EXPECT_EQ(errorOf([&] { fsoCall(u"GetFile", {path("src/none")}); }), 53);
}

TEST_F(FileSystemObjectTest, FileAndFolderObjectsDescribeAndListEntries) {
  QDir(dir.path()).mkpath("root/b");
  QDir(dir.path()).mkpath("root/a");
  write("root/z.txt", "12345");
  write("root/y.txt", "");
  const Variant folder = fsoCall(u"GetFolder", {path("root")});
  EXPECT_EQ(folder.toString(), dir.filePath("root"));  // default member Path
  EXPECT_TRUE(same(on(folder, u"Name", {}, CallKind::PropertyGet), S("root")));
  EXPECT_TRUE(same(on(folder, u"Size", {}, CallKind::PropertyGet), L(5)));

  const Variant files = on(folder, u"Files", {}, CallKind::PropertyGet);
  EXPECT_TRUE(same(on(files, u"Count", {}, CallKind::PropertyGet), L(2)));
  QStringList names;
  for (const Variant& f : files.rawObject()->enumerate()) names << on(f, u"Name", {}, CallKind::PropertyGet).toString();
  EXPECT_EQ(names, QStringList({"y.txt", "z.txt"}));
  QStringList folders;
  for (const Variant& f : on(folder, u"SubFolders", {}, CallKind::PropertyGet).rawObject()->enumerate())
    folders << on(f, u"Name", {}, CallKind::PropertyGet).toString();
  EXPECT_EQ(folders, QStringList({"a", "b"}));

  const Variant file = on(files, u"Item", {S("Z.TXT")}, CallKind::PropertyGet);
  EXPECT_TRUE(same(on(file, u"Size", {}, CallKind::PropertyGet), L(5)));
  EXPECT_EQ(on(file, u"DateLastModified", {}, CallKind::PropertyGet).vartype(), 7);
  EXPECT_EQ(on(on(file, u"ParentFolder", {}, CallKind::PropertyGet), u"Path", {}, CallKind::PropertyGet).toString(),
            dir.filePath("root"));
  on(file, u"Name", {S("renamed.txt")}, CallKind::PropertyLet);
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("root/renamed.txt")}), Bool(true)));
  const Variant stream = on(file, u"OpenAsTextStream");
  EXPECT_TRUE(same(on(stream, u"ReadAll"), S("12345")));
  on(file, u"Delete");
  EXPECT_TRUE(same(fsoCall(u"FileExists", {path("root/renamed.txt")}), Bool(false)));
}

}  // namespace
}  // namespace tarvix::scripting

#include <gtest/gtest.h>

#include "app/PathParts.h"
#include "app/ProjectPaths.h"

namespace tarvix {
namespace {

struct PathCase {
  QString path;
  QString fileName, folder, extension, withCsv;
};

TEST(PathParts, SplitsPathsOfEitherForm) {
  const PathCase cases[] = {
      {R"(C:\p\x.vbs)", "x.vbs", R"(C:\p\)", "vbs", R"(C:\p\x.csv)"},
      {R"(C:\p\x.ixp)", "x.ixp", R"(C:\p\)", "ixp", R"(C:\p\x.csv)"},
      {R"(C:\a.b\c)", "c", R"(C:\a.b\)", R"(b\c)", R"(C:\a.b\c.csv)"},  // a folder's dot is no extension
      {"name", "name", "", "name", "name.csv"},
      {".hidden", ".hidden", "", "hidden", ".hidden.csv"},  // a leading dot starts no extension
      {R"(.\a.vbs)", "a.vbs", R"(.\)", "vbs", R"(.\a.csv)"},
      {"/home/u/p/prj.ixp", "prj.ixp", "/home/u/p/", "ixp", "/home/u/p/prj.csv"},
      {"/home/u/my.dir/script", "script", "/home/u/my.dir/", "dir/script", "/home/u/my.dir/script.csv"},
      {"/x.tar.gz", "x.tar.gz", "/", "gz", "/x.tar.csv"},
      {"/home/u/mixed\\sub/a.vbs", "a.vbs", "/home/u/mixed\\sub/", "vbs", "/home/u/mixed\\sub/a.csv"},
      {"", "", "", "", ".csv"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    EXPECT_EQ(FileNamePart(c.path), c.fileName);
    EXPECT_EQ(FolderPart(c.path), c.folder);
    EXPECT_EQ(GetExtension(c.path), c.extension);
    EXPECT_EQ(ChangeExtension(c.path, "csv"), c.withCsv);
  }
}

struct RelativeCase {
  QString reference, target, relative;
};

TEST(ProjectPaths, RelativePathGivesTheWindowsFormOrTheTargetUnchanged) {
  const RelativeCase cases[] = {
      {R"(C:\p\prj.ixp)", R"(C:\p\a.vbs)", R"(.\a.vbs)"},
      {R"(C:\p\prj.ixp)", R"(C:\q\a.vbs)", R"(..\q\a.vbs)"},
      {R"(C:\p\prj.ixp)", R"(D:\a.vbs)", R"(D:\a.vbs)"},
      {R"(C:\p\prj.ixp)", "", ""},
      {R"(c:\P\prj.ixp)", R"(C:\p\Sub\A.vbs)", R"(.\Sub\A.vbs)"},  // Windows paths ignore letter case
      {R"(C:\p\)", R"(C:\q\a.vbs)", R"(.\q\a.vbs)"},             // a trailing "\" is dropped first
      {R"(\\srv\share\p\prj.ixp)", R"(\\SRV\share\q\a.vbs)", R"(..\q\a.vbs)"},
      {R"(\\srv\share\p\prj.ixp)", R"(\\srv\other\a.vbs)", R"(\\srv\other\a.vbs)"},
      {"/home/u/p/prj.ixp", "/home/u/p/a.vbs", R"(.\a.vbs)"},
      {"/home/u/p/prj.ixp", "/home/u/q/a.vbs", R"(..\q\a.vbs)"},
      {"/home/u/p/prj.ixp", "/home/u/p/sub/dir/a.vbs", R"(.\sub\dir\a.vbs)"},
      {"/home/u/p/prj.ixp", "/etc/a.vbs", R"(..\..\..\etc\a.vbs)"},
      {"/home/u/p/prj.ixp", "/home/U/p/a.vbs", R"(..\..\U\p\a.vbs)"},  // native paths keep letter case
      {"/home/u/p/prj.ixp", "/home/u/p", "."},
      {"/home/u/p/prj.ixp", R"(C:\a.vbs)", R"(C:\a.vbs)"},
      {"/home/u/p/prj.ixp", R"(.\a.vbs)", R"(.\a.vbs)"},
      {"", "/home/u/a.vbs", "/home/u/a.vbs"},  // an unsaved project keeps full paths
  };
  for (const RelativeCase& c : cases) {
    EXPECT_EQ(RelativePath(c.reference, c.target), c.relative) << c.reference.toStdString() << " -> "
                                                               << c.target.toStdString();
  }
}

TEST(ProjectPaths, AbsolutePathResolvesAgainstTheReferenceFolder) {
  const RelativeCase cases[] = {
      {R"(C:\p\prj.ixp)", R"(.\a.vbs)", R"(C:\p\a.vbs)"},
      {R"(C:\p\prj.ixp)", R"(..\q\a.vbs)", R"(C:\q\a.vbs)"},
      {R"(C:\p\prj.ixp)", R"(D:\a.vbs)", R"(D:\a.vbs)"},
      {R"(C:\p\prj.ixp)", "", R"(C:\p\)"},
      {R"(C:\p\prj.ixp)", R"(..\..\..\a.vbs)", R"(C:\a.vbs)"},  // never above the root
      {R"(C:\p\prj.ixp)", R"(\\srv\share\a.vbs)", R"(\\srv\share\a.vbs)"},
      {R"(\\srv\share\p\prj.ixp)", R"(..\a.vbs)", R"(\\srv\share\a.vbs)"},
      {"/home/u/p/prj.ixp", R"(.\a.vbs)", "/home/u/p/a.vbs"},
      {"/home/u/p/prj.ixp", R"(..\q\a.vbs)", "/home/u/q/a.vbs"},
      {"/home/u/p/prj.ixp", "./sub/a.vbs", "/home/u/p/sub/a.vbs"},
      {"/home/u/p/prj.ixp", "a.vbs", "/home/u/p/a.vbs"},
      {"/home/u/p/prj.ixp", "", "/home/u/p/"},
      {"/home/u/p/prj.ixp", R"(sub\)", "/home/u/p/sub/"},
      {"/home/u/p/prj.ixp", R"(..\..\..\..\..\x.vbs)", "/x.vbs"},
      {"/prj.ixp", "..x/a.vbs", "/..x/a.vbs"},
      {"/home/u/p/prj.ixp", "/abs/a.vbs", "/abs/a.vbs"},
      {"/home/u/p/prj.ixp", R"(C:\a.vbs)", R"(C:\a.vbs)"},
      {"", R"(.\a.vbs)", R"(.\a.vbs)"},
  };
  for (const RelativeCase& c : cases) {
    EXPECT_EQ(AbsolutePath(c.reference, c.target), c.relative) << c.reference.toStdString() << " + "
                                                               << c.target.toStdString();
  }
}

TEST(ProjectPaths, StoredPathsResolveBackToTheOriginal) {
  const QString project = "/home/u/projects/demo/demo.ixp";
  const QString targets[] = {"/home/u/projects/demo/a.vbs", "/home/u/projects/lib/b.vbs",
                             "/home/u/projects/demo/sub/c d.vbs", "/opt/x/y.vbs"};
  for (const QString& target : targets) {
    EXPECT_EQ(AbsolutePath(project, RelativePath(project, target)), target) << target.toStdString();
  }
}

}  // namespace
}  // namespace tarvix

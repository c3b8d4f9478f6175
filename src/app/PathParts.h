#pragma once

#include <QString>

namespace tarvix {

// File-name surgery on paths of either form: "\" and "/" both separate.

// The text after the last separator (the whole text when there is none).
QString FileNamePart(const QString& path);
// The text up to and including the last separator (empty when there is none).
QString FolderPart(const QString& path);
// The text after the last "." anywhere in the path; the whole path when it has
// no ".". ("C:\a.b\c" gives "b\c".)
QString GetExtension(const QString& path);
// The path with the extension of its file name replaced, or added when the
// file name has none; a dot in a folder name is never taken for it.
QString ChangeExtension(const QString& path, const QString& extension);

}  // namespace tarvix

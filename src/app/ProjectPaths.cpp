#include "app/ProjectPaths.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <optional>

namespace tarvix {
namespace {

bool hasDriveLetter(const QString& path) {
  return path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 128;
}

bool endsWithSeparator(const QString& path) { return path.endsWith(u'\\') || path.endsWith(u'/'); }

QStringList componentsOf(QStringView path) {
  static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
  return path.toString().split(separators, Qt::SkipEmptyParts);
}

// A path split into the part that names its file system ("C:", "\\srv\share",
// "/") and its components.
struct SplitPath {
  QString root;
  QStringList components;
  bool windows = false;
};

std::optional<SplitPath> splitAbsolute(const QString& path) {
  if (hasDriveLetter(path)) return SplitPath{path.left(2), componentsOf(QStringView(path).mid(2)), true};
  if (path.startsWith(QStringLiteral("\\\\"))) {
    QStringList parts = componentsOf(path);
    if (parts.size() < 2) return std::nullopt;
    const QString root = QStringLiteral("\\\\") + parts[0] + u'\\' + parts[1];
    return SplitPath{root, parts.mid(2), true};
  }
  if (path.startsWith(u'/')) return SplitPath{QStringLiteral("/"), QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts), false};
  return std::nullopt;
}

// Resolves "." and ".." (never above the root) over a Windows root.
QString resolveWindows(const QString& root, const QStringList& components, bool trailingSeparator) {
  QStringList kept;
  for (const QString& part : components) {
    if (part == u'.') continue;
    if (part == QStringLiteral("..")) {
      if (!kept.isEmpty()) kept.removeLast();
      continue;
    }
    kept.append(part);
  }
  QString result = root + u'\\' + kept.join(u'\\');
  if (trailingSeparator && !kept.isEmpty()) result += u'\\';
  return result;
}

}  // namespace

bool IsAbsolutePath(const QString& path) {
  return path.startsWith(u'/') || path.startsWith(u'\\') || hasDriveLetter(path);
}

QString RelativePath(const QString& reference, const QString& target) {
  QString from = reference;
  if (from.size() > 2 && endsWithSeparator(from)) from.chop(1);
  const auto fromParts = splitAbsolute(from);
  const auto toParts = splitAbsolute(target);
  if (!fromParts || !toParts || fromParts->windows != toParts->windows) return target;

  const Qt::CaseSensitivity cs = fromParts->windows ? Qt::CaseInsensitive : Qt::CaseSensitive;
  if (fromParts->root.compare(toParts->root, cs) != 0) return target;

  QStringList folder = fromParts->components;
  if (!folder.isEmpty()) folder.removeLast();  // the reference is a file
  const QStringList& to = toParts->components;
  qsizetype common = 0;
  while (common < folder.size() && common < to.size() && folder[common].compare(to[common], cs) == 0) ++common;

  QStringList parts;
  for (qsizetype i = common; i < folder.size(); ++i) parts.append(QStringLiteral(".."));
  if (parts.isEmpty()) parts.append(QStringLiteral("."));
  parts.append(to.mid(common));
  return parts.join(u'\\');
}

QString AbsolutePath(const QString& reference, const QString& path) {
  if (IsAbsolutePath(path) || reference.isEmpty()) return path;
  const bool trailingSeparator = path.isEmpty() || endsWithSeparator(path);

  if (const auto windowsReference = splitAbsolute(reference); windowsReference && windowsReference->windows) {
    QStringList components = windowsReference->components;
    if (!components.isEmpty()) components.removeLast();  // the reference is a file
    components.append(componentsOf(path));
    return resolveWindows(windowsReference->root, components, trailingSeparator);
  }

  QString native = QString(path).replace(u'\\', u'/');
  QString result = QDir::cleanPath(reference + QStringLiteral("/../") + native);
  // cleanPath keeps ".." that climb above the root; the root is as far as it goes.
  while (result == QStringLiteral("/..") || result.startsWith(QStringLiteral("/../"))) result.remove(0, 3);
  if (result.isEmpty()) result = QStringLiteral("/");
  if (trailingSeparator && !result.endsWith(u'/')) result += u'/';
  return result;
}

}  // namespace tarvix

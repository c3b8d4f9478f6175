#pragma once

#include <QString>

namespace tarvix {

// Paths stored in project files are relative to the project file and keep
// the Windows form (".\a.vbs", "..\q\a.vbs") on every system, because tasks,
// macros and event bindings find their script by that exact text and project
// files move between systems. Both "\" and "/" are read as separators.

// True for "/x", "\x", "\\server\share" and "C:..." paths.
bool IsAbsolutePath(const QString& path);

// The target relative to the reference file's folder in Windows form, or the
// target unchanged when there is no relative form (different drives or
// shares, a Windows path against a native one, an empty path, a target that is
// already relative). Native paths compare with letter case, Windows paths
// without.
QString RelativePath(const QString& reference, const QString& target);

// A relative path resolved against the reference file's folder, with "." and
// ".." components resolved; an absolute path unchanged. An empty path gives
// the reference's folder with a trailing separator. A native reference gives a
// native path; a Windows reference (drive letter or share) a Windows path.
// Without a reference the path comes back unchanged.
QString AbsolutePath(const QString& reference, const QString& path);

}  // namespace tarvix

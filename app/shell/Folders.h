#pragma once

// The folder each kind of file was last opened from or saved to, kept
// across runs, so that a file dialog starts there.

#include <QString>

namespace kvl {

// The kind of a file is its filter's first extension ("kvl", "csv", "png").
QString fileKind(const QString &programFilter);

// The folder last used for the kind, when it still exists; else the user's
// pictures folder for images and documents folder for the rest. Never the
// program's own folder.
QString startFolder(const QString &kind);

// Remembers the folder of `path` for the kind.
void rememberFolder(const QString &kind, const QString &path);

} // namespace kvl

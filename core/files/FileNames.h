#pragma once

// File names chosen in a save dialog. A filter is written as the program
// writes it: "Description (*.ext)|*.ext", several joined by "|".

#include <QString>
#include <QStringList>

namespace kvl {

// The extensions of a filter, in order, without the dot ("png", "svg").
QStringList filterExtensions(const QString &programFilter);

// The Qt name filters of a filter: "Description (*.ext)" each.
QStringList qtNameFilters(const QString &programFilter);

// The name with the extension of filter `filterIndex` (from 1) when it has
// none of the filter's: "noext" -> "noext.png", "d.kvl" -> "d.png" for
// PNG, "d.SVG" unchanged. Never two extensions.
QString withFilterExtension(const QString &name, const QString &programFilter, int filterIndex);

} // namespace kvl

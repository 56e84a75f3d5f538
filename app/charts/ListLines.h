#pragma once

// How the chart window's lists show their lines: each line with its runs of
// blanks closed up (the table's column blanks make a line far wider than
// its words), in two rows where the list is too narrow for one. The items
// keep the full text, for copying and export.

class QListWidget;

namespace kvl {

// Installs the line form on a list.
void showListLines(QListWidget *list);

// Width the list needs to show its longest line in one row, with its
// frame and scroll bar.
int listLineWidth(const QListWidget *list);

// Sizes the list's rows (all of one size) for one row per line, or two
// when `wrap`.
void fitListRows(QListWidget *list, bool wrap);

} // namespace kvl

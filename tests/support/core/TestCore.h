#pragma once

// What every test uses: rows of test data and reference files in tests/data.

#include <QList>
#include <QStringList>

namespace kvl::test {

// Compares `lines` with the block `key` of tests/data/<file> (a line
// "=== key", then the block's lines). Empty when equal, else where they
// differ. KVL_UPDATE_REFS=1 writes the block instead.
QString referenceDiff(const QString &file, const QString &key, const QStringList &lines);

// Compares `actual` with the whole file tests/data/<file>. Empty when equal,
// else the first line that differs. KVL_UPDATE_REFS=1 writes the file instead.
QString referenceFileDiff(const QString &file, const QByteArray &actual);

// The rows of `section` of tests/data/<file>: "name | field | ...", fields
// trimmed, "\r" and "\n" in a field are line breaks and "\s" a blank; "#" lines are comments,
// "[name]" lines start a section. A file that cannot be read or a section
// without rows stops the test.
QList<QStringList> dataRows(const QString &file, const QString &section = QString());
// Those rows as test data: one column "c" holding each row, named by its first field.
void addDataRows(const QString &file, const QString &section = QString());
// A "; "-separated list of a data row's field.
QStringList items(const QString &field);
// A ","-separated list of numbers.
QList<int> numbers(const QString &field);

} // namespace kvl::test

#define KVL_COMPARE_REF(file, key, lines)                                                                    \
    do {                                                                                                     \
        const QString diff_ = kvl::test::referenceDiff(file, key, lines);                                    \
        QVERIFY2(diff_.isEmpty(), qPrintable(diff_));                                                        \
    } while (0)

#define KVL_COMPARE_FILE(file, bytes)                                                                        \
    do {                                                                                                     \
        const QString diff_ = kvl::test::referenceFileDiff(file, bytes);                                     \
        QVERIFY2(diff_.isEmpty(), qPrintable(diff_));                                                        \
    } while (0)

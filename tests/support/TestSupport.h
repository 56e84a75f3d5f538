#pragma once

// Test doubles for the user-interface seams: a message recorder and scripted dialogs.

#include "shell/Seams.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace kvl::test {

struct RecordedMessage
{
    QString text;
    QString caption;
    MsgIcon icon;
    // The box's detailed text (what to check), "" when it has none.
    QString detail;
};

// Records every message box while alive instead of showing it.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    QList<RecordedMessage> messages;
    void clear() { messages.clear(); }
};

// A message box as one line: "caption / text / icon".
QString msg(const QString &text, const QString &caption, MsgIcon icon);
// Every recorded message box, one line each, in order.
QString shown(const MessageRecorder &recorder);

// Answers file dialogs from queues; an empty queue answers "cancel".
class ScriptedDialogs : public Dialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    QList<std::optional<QString>> openAnswers;
    // Answers to a dialog of several files; when empty, openAnswers serve.
    QList<std::optional<QStringList>> openManyAnswers;
    QList<std::optional<QString>> saveAnswers;
    QList<bool> printerAnswers;
    // What the program proposed, in order.
    QStringList openRequests, saveRequests, saveFilters;
    int printerRequests = 0;
    // The document name of each printer offered (print dialogs propose it as a file name).
    QStringList printerDocNames;
    // Where an accepted printer prints (PDF); empty keeps the printer as set.
    QString printerPdfPath;
    // Other settings the user makes in an accepted printer dialog (page size...).
    std::function<void(QPrinter &)> printerChoices;

    std::optional<QString> openFile(QWidget *, const QString &fileName, const QString &filter, int) override;
    std::optional<QStringList> openFiles(QWidget *parent, const QString &filter) override;
    std::optional<QString> saveFile(QWidget *, const QString &proposedName, const QString &filter,
                                    int) override;
    bool choosePrinter(QWidget *, QPrinter &printer) override;
};

// Every named control of a window as "name=text" (its "text", else its
// "title" or "currentText"; list widgets one line per item), marked
// "(hidden)" or "(disabled)"; the first line is "=window title".
QStringList windowTexts(QWidget *window);

// Compares `lines` with the block `key` of tests/data/<file> (a line
// "=== key", then the block's lines). Empty when equal, else where they
// differ. KVL_UPDATE_REFS=1 writes the block instead.
QString referenceDiff(const QString &file, const QString &key, const QStringList &lines);

// Compares `actual` with the whole file tests/data/<file>. Empty when equal,
// else the first line that differs. KVL_UPDATE_REFS=1 writes the file instead.
QString referenceFileDiff(const QString &file, const QByteArray &actual);

// Makes a data table from tests/data/<file>. Its first line names the
// columns, "name:type" (int, bool, string, strings, ints or records: lists
// split at ",", records at ";"); every other line is a row, its name first;
// fields are split at " | ", "\n" in a string is a line end, and "#"
// starts a comment line.
void addRows(const QString &file);

// The rows of `section` of tests/data/<file>, "name | field | ...", fields
// trimmed; "#" lines are comments, "[name]" lines start a section. A file
// that cannot be read or a section without rows stops the test.
QList<QStringList> dataRows(const QString &file, const QString &section = QString());
// Those rows as test data: one column "c" holding each row, named by its first field.
void addDataRows(const QString &file, const QString &section = QString());
// A "; "-separated list of a data row's field.
QStringList items(const QString &field);

// Stands in for the chart, table and parameter views: opening one only
// appends its window name to `opened`.
void registerViewStubs(QStringList *opened);

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

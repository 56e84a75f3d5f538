#pragma once

// Test doubles for the user-interface seams: a message recorder and scripted dialogs.

#include "TestCore.h"
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

// Stands in for the chart, table and parameter views: opening one only
// appends its window name to `opened`.
void registerViewStubs(QStringList *opened);

} // namespace kvl::test

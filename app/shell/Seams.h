#pragma once

// The user-interface seams: every message box and every file, save and printer
// dialog goes through here, so tests can answer them without a modal window.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace kvl {

enum class MsgIcon { None, Critical, Exclamation, Information };

// Shows a modal message box with a single OK button; a detailed text (what
// happened, what to check) sits behind the box's "Show Details..." button.
void showMessage(const QString &text, const QString &caption, MsgIcon icon,
                 const QString &detail = QString());

using MessageHandler =
    std::function<void(const QString &text, const QString &caption, MsgIcon icon, const QString &detail)>;
// Replaces the message box (tests); an empty handler restores the real one.
void setMessageHandler(MessageHandler handler);

// Asks a question with Yes and No buttons (No the default); true for Yes.
bool askQuestion(const QString &text, const QString &caption);
using QuestionHandler = std::function<bool(const QString &text, const QString &caption)>;
// Replaces the question box (tests); an empty handler restores the real one.
void setQuestionHandler(QuestionHandler handler);

// File, save and printer dialogs. A filter is given as the program writes it,
// "Description (*.ext)|*.ext"; the Qt implementation converts it.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(QWidget *parent, const QString &fileName, const QString &filter,
                                            int filterIndex) = 0;
    // Several files at once; by default the one file openFile gives.
    virtual std::optional<QStringList> openFiles(QWidget *parent, const QString &filter)
    {
        const std::optional<QString> one = openFile(parent, QString(), filter, 1);
        if (!one)
            return std::nullopt;
        return QStringList{*one};
    }
    virtual std::optional<QString> saveFile(QWidget *parent, const QString &proposedName,
                                            const QString &filter, int filterIndex) = 0;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;
};

Dialogs &dialogs();
// Installs a replacement (tests); nullptr restores the Qt dialogs. Not owned.
void setDialogs(Dialogs *replacement);

// "Description (*.ext)|*.ext" -> "Description (*.ext)".
QString qtFilter(const QString &programFilter);

} // namespace kvl

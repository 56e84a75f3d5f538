#include "shell/Seams.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace kvl {

namespace {

MessageHandler &messageHandler()
{
    static MessageHandler handler;
    return handler;
}

QuestionHandler &questionHandler()
{
    static QuestionHandler handler;
    return handler;
}

class QtDialogs : public Dialogs
{
public:
    std::optional<QStringList> openFiles(QWidget *parent, const QString &filter) override
    {
        const QStringList paths =
            QFileDialog::getOpenFileNames(parent, QString(), QString(), qtFilter(filter));
        if (paths.isEmpty())
            return std::nullopt;
        return paths;
    }

    std::optional<QString> openFile(QWidget *parent, const QString &fileName, const QString &filter,
                                    int) override
    {
        const QString path = QFileDialog::getOpenFileName(parent, QString(), fileName, qtFilter(filter));
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }

    std::optional<QString> saveFile(QWidget *parent, const QString &proposedName, const QString &filter,
                                    int) override
    {
        // Non-native so that an empty name can be accepted and reported.
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(qtFilter(filter));
        dialog.setDefaultSuffix(QStringLiteral("kvl"));
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    }

    bool choosePrinter(QWidget *parent, QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

Dialogs *&currentDialogs()
{
    static Dialogs *current = nullptr;
    return current;
}

} // namespace

bool askQuestion(const QString &text, const QString &caption)
{
    if (questionHandler())
        return questionHandler()(text, caption);
    return QMessageBox::question(QApplication::activeWindow(), caption, text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void setQuestionHandler(QuestionHandler handler)
{
    questionHandler() = std::move(handler);
}

void showMessage(const QString &text, const QString &caption, MsgIcon icon, const QString &detail)
{
    if (messageHandler()) {
        messageHandler()(text, caption, icon, detail);
        return;
    }
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None:
        qtIcon = QMessageBox::NoIcon;
        break;
    case MsgIcon::Critical:
        qtIcon = QMessageBox::Critical;
        break;
    case MsgIcon::Exclamation:
        qtIcon = QMessageBox::Warning;
        break;
    case MsgIcon::Information:
        qtIcon = QMessageBox::Information;
        break;
    }
    QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

void setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

Dialogs &dialogs()
{
    static QtDialogs qtDialogs;
    return currentDialogs() ? *currentDialogs() : qtDialogs;
}

void setDialogs(Dialogs *replacement)
{
    currentDialogs() = replacement;
}

QString qtFilter(const QString &programFilter)
{
    return programFilter.section(QLatin1Char('|'), 0, 0);
}

} // namespace kvl

#include "shell/Seams.h"

#include "files/FileNames.h"
#include "shell/Folders.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

class QtDialogs : public Dialogs
{
public:
    std::optional<QString> openFile(QWidget *parent, const QString &fileName, const QString &filter,
                                    int) override
    {
        const QString kind = fileKind(filter);
        const QString path = QFileDialog::getOpenFileName(
            parent, QString(), QDir(startFolder(kind)).filePath(fileName), qtFilter(filter));
        if (path.isEmpty())
            return std::nullopt;
        rememberFolder(kind, path);
        return path;
    }

    std::optional<QString> saveFile(QWidget *parent, const QString &proposedName, const QString &filter,
                                    int filterIndex) override
    {
        // Non-native so that an empty name can be accepted and reported.
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const QStringList filters = qtNameFilters(filter);
        const QStringList extensions = filterExtensions(filter);
        dialog.setNameFilters(filters);
        const int first = qBound(1, filterIndex, int(qMax(1, filters.size()))) - 1;
        dialog.selectNameFilter(filters.value(first));
        dialog.setDefaultSuffix(extensions.value(first));
        // A name typed without an extension takes the chosen filter's.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &chosen) {
            dialog.setDefaultSuffix(extensions.value(int(filters.indexOf(chosen))));
        });
        const QString kind = fileKind(filter);
        dialog.setDirectory(startFolder(kind));
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty() || QFileInfo(files.first()).fileName().isEmpty())
            return QString();
        const QString path =
            withFilterExtension(files.first(), filter, int(filters.indexOf(dialog.selectedNameFilter())) + 1);
        rememberFolder(kind, path);
        return path;
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

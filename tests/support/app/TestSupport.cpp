#include "TestSupport.h"

#include "shell/Forms.h"

#include <QFile>
#include <QListWidget>
#include <QPrinter>
#include <QTest>

namespace kvl::test {

MessageRecorder::MessageRecorder()
{
    setMessageHandler(
        [this](const QString &text, const QString &caption, MsgIcon icon, const QString &detail) {
            messages.append({text, caption, icon, detail});
        });
}

QString msg(const QString &text, const QString &caption, MsgIcon icon)
{
    return caption + QStringLiteral(" / ") + text + QStringLiteral(" / ") + QString::number(int(icon));
}

QString shown(const MessageRecorder &recorder)
{
    QStringList out;
    for (const RecordedMessage &m : recorder.messages)
        out << msg(m.text, m.caption, m.icon);
    return out.join(QLatin1Char('\n'));
}

MessageRecorder::~MessageRecorder()
{
    setMessageHandler({});
}

ScriptedDialogs::ScriptedDialogs()
{
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogs(nullptr);
}

std::optional<QStringList> ScriptedDialogs::openFiles(QWidget *parent, const QString &filter)
{
    if (openManyAnswers.isEmpty())
        return Dialogs::openFiles(parent, filter);
    openRequests << filter;
    return openManyAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::openFile(QWidget *, const QString &fileName, const QString &filter,
                                                 int)
{
    openRequests << fileName + QLatin1Char('|') + filter;
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget *, const QString &proposedName,
                                                 const QString &filter, int)
{
    saveRequests << proposedName;
    saveFilters << filter;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
}

bool ScriptedDialogs::choosePrinter(QWidget *, QPrinter &printer)
{
    ++printerRequests;
    printerDocNames << printer.docName();
    const bool accept = printerAnswers.isEmpty() ? false : printerAnswers.takeFirst();
    if (accept && !printerPdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerPdfPath);
    }
    if (accept && printerChoices)
        printerChoices(printer);
    return accept;
}

QStringList windowTexts(QWidget *window)
{
    QStringList out{QStringLiteral("=") + window->windowTitle()};
    for (QObject *o : window->findChildren<QObject *>()) {
        if (o->objectName().isEmpty())
            continue;
        QString state;
        if (auto *w = qobject_cast<QWidget *>(o)) {
            if (w->isHidden())
                state += QStringLiteral(" (hidden)");
            if (!w->isEnabled())
                state += QStringLiteral(" (disabled)");
        }
        if (auto *list = qobject_cast<QListWidget *>(o)) {
            out << o->objectName() + QStringLiteral(":") + state;
            for (int i = 0; i < list->count(); ++i)
                out << QStringLiteral("  ") + list->item(i)->text();
            continue;
        }
        QVariant text = o->property("text");
        if (!text.isValid())
            text = o->property("title");
        if (!text.isValid())
            text = o->property("currentText");
        if (text.isValid())
            out << o->objectName() + QLatin1Char('=') + text.toString() + state;
    }
    return out;
}

void registerViewStubs(QStringList *opened)
{
    const std::pair<const char *, bool OpenFlags::*> views[] = {
        {"frmInGraphique", &OpenFlags::Open_frmInGraphique},
        {"frmInGraphique_v5", &OpenFlags::Open_frmInGraphique_v5},
        {"frmInTableau", &OpenFlags::Open_frmInTableau},
        {"frmParametres_v4", &OpenFlags::Open_frmParametres_v4},
    };
    for (const auto &v : views) {
        const QString name = QString::fromLatin1(v.first);
        bool *flag = &(openFlags().*(v.second));
        registerForm(name, [name, flag, opened] {
            *opened << name;
            return new Form(name, flag, true, Form::Dialog);
        });
    }
}

} // namespace kvl::test

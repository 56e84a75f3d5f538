#include "TestSupport.h"

#include <QPrinter>

namespace kvl::test {

MessageRecorder::MessageRecorder()
{
    setMessageHandler([this](const QString &text, const QString &caption, MsgIcon icon) {
        messages.append({text, caption, icon});
    });
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

std::optional<QString> ScriptedDialogs::openFile(QWidget *, const QString &fileName, const QString &filter, int)
{
    openRequests << fileName + QLatin1Char('|') + filter;
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget *, const QString &proposedName, const QString &filter,
                                                 int)
{
    saveRequests << proposedName;
    saveFilters << filter;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
}

bool ScriptedDialogs::choosePrinter(QWidget *, QPrinter &printer)
{
    ++printerRequests;
    const bool accept = printerAnswers.isEmpty() ? false : printerAnswers.takeFirst();
    if (accept && !printerPdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerPdfPath);
    }
    return accept;
}

} // namespace kvl::test

#include "shell/PrintOutput.h"

#include "files/FileWrite.h"
#include "shell/Seams.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>

namespace kvl {

namespace {

// The printer's file as the printer would have made it, or nothing.
QByteArray pdfInMemory(const QPrinter &printer, const PagePainter &paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(printer.resolution());
        pdf.setPageLayout(printer.pageLayout());
        pdf.setPdfVersion(printer.pdfVersion());
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        if (!paint(pdf))
            return QByteArray();
    }
    return buffer.data();
}

} // namespace

bool printPages(QPrinter &printer, const PagePainter &paint)
{
    const QString path = printer.outputFileName();
    if (path.isEmpty())
        return paint(printer);
    const QByteArray bytes = pdfInMemory(printer, paint);
    const FileWrite written = bytes.isEmpty() ? FileWrite{FileWrite::Result::NotWritten,
                                                          QStringLiteral("the pages could not be drawn")}
                                              : writeFileAtomically(path, bytes);
    if (!written.ok())
        showMessage(writeFailureText(path, written), QStringLiteral("Print"), MsgIcon::Critical);
    return written.ok();
}

} // namespace kvl

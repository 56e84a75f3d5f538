#include "report/ReportDocument.h"
#include "report/ComplianceReport.h"

#include <QLocale>

#ifndef KVL_VERSION
#define KVL_VERSION "unknown"
#endif

namespace kvl {

namespace {

// Sheet sizes in twips: 210 x 297 mm and 8.5 x 11 inches.
constexpr int A4Width = 11906, A4Height = 16838;
constexpr int LetterWidth = 12240, LetterHeight = 15840;

} // namespace

int paperWidthTwips(Paper paper)
{
    return paper == Paper::Letter ? LetterWidth : A4Width;
}

int paperHeightTwips(Paper paper)
{
    return paper == Paper::Letter ? LetterHeight : A4Height;
}

Paper paperForLocale()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

QStringList documentTexts(const ReportDocument &document)
{
    QStringList texts;
    for (const ReportPage &page : document.pages)
        for (const ReportText &t : page.texts)
            texts << t.text;
    return texts;
}

QString programVersion()
{
    return QStringLiteral(KVL_VERSION);
}

} // namespace kvl

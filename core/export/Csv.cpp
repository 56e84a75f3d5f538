#include "export/Csv.h"

#include <algorithm>

namespace kvl {

QString csvField(const QString &value)
{
    const bool quote = std::any_of(value.begin(), value.end(), [](QChar c) {
        return c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
               c == QLatin1Char('\n');
    });
    if (!quote)
        return value;
    QString inner = value;
    inner.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

void CsvWriter::addRow(const QStringList &fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_bytes += ',';
        m_bytes += csvField(fields[i]).toUtf8();
    }
    m_bytes += "\r\n";
}

} // namespace kvl

#include "export/Csv.h"

namespace kvl {

QString csvField(const QString &value)
{
    const bool quote = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                       value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
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

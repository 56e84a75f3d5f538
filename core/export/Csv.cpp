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
        const QString &field = fields[i];
        // Most fields are plain ASCII: appended as they are, no copy made.
        const bool plain = std::all_of(field.begin(), field.end(), [](QChar c) {
            return c.unicode() < 0x80 && c != QLatin1Char(',') && c != QLatin1Char('"') &&
                   c != QLatin1Char('\r') && c != QLatin1Char('\n');
        });
        if (plain) {
            const qsizetype at = m_bytes.size();
            m_bytes.resize(at + field.size());
            char *out = m_bytes.data() + at;
            for (QChar c : field)
                *out++ = char(c.unicode());
        } else {
            m_bytes += csvField(field).toUtf8();
        }
    }
    m_bytes += "\r\n";
}

} // namespace kvl

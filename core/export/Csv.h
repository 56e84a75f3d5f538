#pragma once

// Comma-separated values as spreadsheets, pandas and DuckDB read them:
// RFC 4180 quoting, CR LF line ends, UTF-8.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kvl {

// A field as written: quoted (inner quotes doubled) only when it holds a
// comma, a quote, CR or LF.
QString csvField(const QString &value);

// Builds a CSV text one record at a time.
class CsvWriter
{
public:
    void addRow(const QStringList &fields);
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace kvl

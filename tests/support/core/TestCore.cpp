#include "TestCore.h"

#include <QFile>
#include <QTest>

namespace kvl::test {

QString referenceDiff(const QString &file, const QString &key, const QStringList &rawLines)
{
    // Line breaks inside a text are written as \r and \n.
    QStringList lines;
    for (const QString &l : rawLines)
        lines << QString(l)
                     .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
                     .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    const QString path = qEnvironmentVariable("KVL_TEST_DATA") + QLatin1Char('/') + file;
    const QString head = QStringLiteral("=== ") + key;
    QFile f(path);
    QStringList all;
    if (f.open(QIODevice::ReadOnly))
        all = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    f.close();
    if (!all.isEmpty() && all.last().isEmpty())
        all.removeLast();
    const qsizetype at = all.indexOf(head);
    qsizetype end = at < 0 ? -1 : at + 1;
    while (end >= 0 && end < all.size() && !all[end].startsWith(QStringLiteral("=== ")))
        ++end;
    if (qEnvironmentVariableIntValue("KVL_UPDATE_REFS")) {
        const QStringList block = QStringList{head} + lines;
        all = at < 0 ? all + block : all.mid(0, at) + block + all.mid(end);
        return referenceFileDiff(file, (all.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    if (at < 0)
        return QStringLiteral("no block \"") + key + QStringLiteral("\" in ") + path;
    const QStringList expected = all.mid(at + 1, end - at - 1);
    for (qsizetype i = 0; i < std::max(expected.size(), lines.size()); ++i) {
        const QString e = expected.value(i, QStringLiteral("<none>")),
                      a = lines.value(i, QStringLiteral("<none>"));
        if (e != a)
            return QStringLiteral("%1 [%2] line %3:\n expected: %4\n actual:   %5")
                .arg(file, key)
                .arg(i + 1)
                .arg(e, a);
    }
    return QString();
}

QString referenceFileDiff(const QString &file, const QByteArray &actual)
{
    const QString path = qEnvironmentVariable("KVL_TEST_DATA") + QLatin1Char('/') + file;
    QFile f(path);
    if (qEnvironmentVariableIntValue("KVL_UPDATE_REFS")) {
        if (!f.open(QIODevice::WriteOnly) || f.write(actual) != actual.size())
            return QStringLiteral("cannot write ") + path;
        return QString();
    }
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + path;
    const QByteArray expected = f.readAll();
    if (expected == actual)
        return QString();
    const QList<QByteArray> e = expected.split('\n'), a = actual.split('\n');
    for (qsizetype i = 0;; ++i)
        if (e.value(i, "<none>") != a.value(i, "<none>"))
            return QStringLiteral("%1 line %2:\n expected: %3\n actual:   %4")
                .arg(file)
                .arg(i + 1)
                .arg(QString::fromUtf8(e.value(i, "<none>")), QString::fromUtf8(a.value(i, "<none>")));
}

QList<QStringList> dataRows(const QString &file, const QString &section)
{
    QFile f(qEnvironmentVariable("KVL_TEST_DATA") + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(f.fileName()));
    QList<QStringList> rows;
    QString at;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            at = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        else if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')) && at == section)
            rows << line.split(QLatin1Char('|'));
    }
    if (rows.isEmpty())
        qFatal("no rows in [%s] of %s", qPrintable(section), qPrintable(file));
    for (QStringList &r : rows)
        for (QString &field : r)
            field = field.trimmed()
                        .replace(QStringLiteral("\\r"), QStringLiteral("\r"))
                        .replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                        .replace(QStringLiteral("\\s"), QStringLiteral(" "));
    return rows;
}

void addDataRows(const QString &file, const QString &section)
{
    QTest::addColumn<QStringList>("c");
    for (const QStringList &r : dataRows(file, section))
        QTest::newRow(qPrintable(r[0])) << r;
}

QStringList items(const QString &field)
{
    return field.split(QStringLiteral("; "), Qt::SkipEmptyParts);
}

QList<int> numbers(const QString &field)
{
    QList<int> out;
    for (const QString &item : field.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << item.toInt();
    return out;
}

} // namespace kvl::test

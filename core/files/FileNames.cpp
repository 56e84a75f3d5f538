#include "files/FileNames.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace kvl {

QStringList filterExtensions(const QString &programFilter)
{
    QStringList out;
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    for (int i = 1; i < parts.size(); i += 2) {
        QString pattern = parts.at(i).trimmed();
        if (pattern.startsWith(QLatin1String("*.")))
            out << pattern.mid(2).toLower();
    }
    return out;
}

QStringList qtNameFilters(const QString &programFilter)
{
    QStringList out;
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); i += 2)
        out << parts.at(i).trimmed();
    return out;
}

QString withFilterExtension(const QString &name, const QString &programFilter, int filterIndex)
{
    const QStringList extensions = filterExtensions(programFilter);
    if (name.isEmpty() || extensions.isEmpty())
        return name;
    const QFileInfo info(name);
    const QString suffix = info.suffix().toLower();
    if (extensions.contains(suffix))
        return name;
    const QString wanted = extensions.value(qBound(1, filterIndex, int(extensions.size())) - 1);
    // A short word after the last dot is an extension of another kind: it
    // is replaced, not kept in front of the new one.
    static const QRegularExpression otherExtension(QStringLiteral("\\.[A-Za-z0-9]{1,4}$"));
    QString base = name;
    if (!info.completeBaseName().isEmpty() && otherExtension.match(info.fileName()).hasMatch())
        base.chop(suffix.size() + 1);
    else if (base.endsWith(QLatin1Char('.')))
        base.chop(1);
    return base + QLatin1Char('.') + wanted;
}

} // namespace kvl

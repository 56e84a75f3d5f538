#include "store/TypedDate.h"

#include <QRegularExpression>

namespace kvl {

QDate parseTypedDate(const QString &text)
{
    static const QRegularExpression separated(
        QStringLiteral("^\\s*(\\d{1,2})\\s*[/.\\- ]\\s*(\\d{1,2})\\s*[/.\\- ]\\s*(\\d{2}|\\d{4})\\s*$"));
    static const QRegularExpression digits(QStringLiteral("^\\s*(\\d{2})(\\d{2})(\\d{4}|\\d{2})\\s*$"));
    QRegularExpressionMatch m = separated.match(text);
    if (!m.hasMatch())
        m = digits.match(text);
    if (!m.hasMatch())
        return QDate();
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += 2000;
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
}

bool isTypedDatePrefix(const QString &text)
{
    static const QRegularExpression prefix(QStringLiteral(
        "^\\s*\\d{0,2}(\\s*[/.\\- ]\\s*\\d{0,2}(\\s*[/.\\- ]\\s*\\d{0,4})?)?\\s*$|^\\s*\\d{0,8}\\s*$"));
    return text.size() <= 16 && prefix.match(text).hasMatch();
}

} // namespace kvl

#include "files/DataFile.h"

#include "Logging.h"
#include "store/Messages.h"
#include "store/Store.h"

#include <algorithm>

namespace kvl {

namespace {

constexpr int ValueLimit = 6; // characters of a value, closing blank included
constexpr int DateLimit = 20; // same for the date and time token

// ---- writer ----

class LineWriter
{
public:
    explicit LineWriter(QByteArray &out) : m_out(out) {}

    // One blank, then the decimal digits.
    void value(int v)
    {
        char buf[12];
        int n = 0;
        bool negative = v < 0;
        unsigned u = negative ? unsigned(-v) : unsigned(v);
        do {
            buf[n++] = char('0' + u % 10);
            u /= 10;
        } while (u);
        m_out.append(' ');
        if (negative)
            m_out.append('-');
        while (n)
            m_out.append(buf[--n]);
    }
    void blank() { m_out.append(' '); }
    void endLine() { m_out.append("\r\n", 2); }

private:
    QByteArray &m_out;
};

template <typename Table> void writeRows(LineWriter &w, const Table &table, int rows)
{
    for (int r = 1; r <= rows; ++r) {
        const qint16 *row = table.row(r);
        for (int f = 0; f < Table::fieldCount; ++f)
            w.value(row[f]);
    }
}

// ---- reader ----

class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_begin(bytes.constData()), m_p(bytes.constData()), m_end(bytes.constData() + bytes.size())
    {
    }

    // Where and why the last read failed, for the user: the line, the text
    // found there, what was wrong, and the record and value being read.
    int failedLine() const { return 1 + int(std::count(m_begin, m_failAt ? m_failAt : m_p, '\n')); }
    QString failedText() const
    {
        QString text;
        for (const char *c = m_failAt ? m_failAt : m_p; c < m_end && text.size() < 24; ++c) {
            const uchar u = uchar(*c);
            if (u == ' ' || u == '\r' || u == '\n')
                break;
            text += u >= 0x20 && u < 0x7F ? QString(QChar(u))
                                          : QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        }
        return text;
    }
    QString problem() const { return m_problem; }
    int failedRow() const { return m_row; }
    int failedValue() const { return m_value; }

    bool atEnd() const { return m_p == m_end; }
    char next() { return *m_p++; }

    // One token: characters up to a blank, which ends it and is consumed.
    // False when the limit is passed or the file ends first.
    bool token(int limit, QByteArray &text)
    {
        text.clear();
        m_failAt = m_p;
        for (int read = 1; read <= limit; ++read) {
            if (atEnd())
                return fail("the file ends here");
            const char c = next();
            if (c == ' ')
                return true;
            text.append(c);
        }
        return fail(QStringLiteral("longer than %1 characters").arg(limit - 1));
    }

    // A device byte: the token's digits, line breaks ignored, 0 to 255.
    // Same reading as token(), without keeping the text.
    bool value(qint16 &out)
    {
        int v = 0;
        int digits = 0;
        m_failAt = m_p;
        for (int read = 1; read <= ValueLimit; ++read) {
            if (atEnd())
                return fail("the file ends here");
            const char c = next();
            if (c == ' ') {
                if (digits == 0)
                    return fail("no value between two blanks");
                if (v > 255)
                    return fail("a value above 255");
                out = qint16(v);
                return true;
            }
            if (c == '\r' || c == '\n') {
                if (digits == 0)
                    m_failAt = m_p;
                continue;
            }
            if (c < '0' || c > '9')
                return fail("a character that is not a digit");
            v = v * 10 + (c - '0');
            ++digits;
        }
        return fail(QStringLiteral("a value longer than %1 characters").arg(ValueLimit - 1));
    }

    // The line break ending a line: CR LF, or a lone LF.
    bool lineBreak()
    {
        if (!atEnd() && *m_p == '\r')
            ++m_p;
        m_failAt = m_p;
        if (atEnd() || *m_p != '\n')
            return fail("a line break is missing");
        ++m_p;
        return true;
    }

    bool blank()
    {
        m_failAt = m_p;
        if (atEnd() || *m_p != ' ')
            return fail("a blank is missing");
        ++m_p;
        return true;
    }

    template <typename Table> bool rows(Table &table, int rows)
    {
        for (int r = 1; r <= rows; ++r) {
            qint16 *row = table.row(r);
            for (int f = 0; f < Table::fieldCount; ++f)
                if (!value(row[f])) {
                    m_row = r;
                    m_value = f + 1;
                    return false;
                }
        }
        return true;
    }

    template <typename Table> bool entries(Table &table)
    {
        for (int i = 0; i < Table::size; ++i)
            if (!value(table[i])) {
                m_row = 0;
                m_value = i;
                return false;
            }
        return true;
    }

private:
    bool fail(const QString &problem)
    {
        m_problem = problem;
        return false;
    }
    bool fail(const char *problem) { return fail(QString::fromLatin1(problem)); }

    const char *m_begin;
    const char *m_p;
    const char *m_end;
    const char *m_failAt = nullptr;
    QString m_problem;
    int m_row = 0;
    int m_value = 0;
};

int longestMarker()
{
    static const int longest = [] {
        int n = 0;
        for (const MarkerEntry &m : acceptedMarkers())
            n = std::max(n, int(m.marker.size()));
        return n;
    }();
    return longest;
}

// The marker is read up to a blank (consumed, not kept) or up to its "!!!".
// A text longer than every accepted marker can no longer match, so reading
// stops there too.
QByteArray readMarker(Reader &in)
{
    QByteArray marker;
    while (!in.atEnd()) {
        const char c = in.next();
        if (c == ' ')
            break;
        marker.append(c);
        if (marker.endsWith("!!!") || marker.size() > longestMarker())
            break;
    }
    return marker;
}

// What the user can check: "Line 3 of the file, events, record 12, value 7:
// a value above 255 ("256")."
LoadOutcome readFailure(Store &s, const QString &text, const Reader &in, const QString &part)
{
    s.Cancel_Flag = true;
    QString where = QStringLiteral("Line %1 of the file, %2").arg(in.failedLine()).arg(part);
    if (in.failedRow() > 0)
        where += QStringLiteral(", record %1, value %2").arg(in.failedRow()).arg(in.failedValue());
    else if (part.startsWith(QLatin1String("param")))
        where += QStringLiteral(", element %1").arg(in.failedValue());
    const QString found = in.failedText();
    const QString detail = where + QStringLiteral(": ") + in.problem() +
                           (found.isEmpty() ? QString() : QStringLiteral(" (\"%1\")").arg(found)) +
                           QStringLiteral(".");
    qCWarning(lcFiles) << "load failed:" << detail << text;
    return {LoadOutcome::ReadFailure, text, messageText(Message::ReadFailureCaption), detail};
}

} // namespace

QByteArray writtenMarker(int version)
{
    for (const MarkerEntry &m : acceptedMarkers())
        if (m.version == version)
            return m.marker;
    return {};
}

const QList<MarkerEntry> &acceptedMarkers()
{
    // Windows-1252: "é" is byte 0xE9.
    static const QList<MarkerEntry> markers = {
        {QByteArray("donn\xE9"
                    "es_d_un_KVL_24-2!!!"),
         3},
        {QByteArray("KVL_24-2_Data_for_Version_4!!!"), 4},
        {QByteArray("KVL_24-2_Data_for_Version_5!!!"), 5},
        {QByteArray("KVL_36_Data_for_Version_1!!!"), 70},
        {QByteArray("donn\xE9"
                    "es_d_un_KVL_24-2_Version4!!!"),
         4},
        {QByteArray("donn\xE9"
                    "es_d'un_KVL_24-2_Version4!!!"),
         4},
        {QByteArray("Donn\xE9"
                    "es_d'un_KVL_24-2_Version_5!!!"),
         5},
    };
    return markers;
}

int versionOfMarker(const QByteArray &marker)
{
    for (const MarkerEntry &m : acceptedMarkers())
        if (m.marker == marker)
            return m.version;
    return 0;
}

int markerHeadSize()
{
    return longestMarker() + 1;
}

int headVersion(const QByteArray &head)
{
    Reader in(head);
    return versionOfMarker(readMarker(in));
}

qint64 largestDataFile()
{
    constexpr qint64 value = 4; // a blank and three digits
    constexpr qint64 lineEnd = 2;
    qint64 largest = 0;
    for (const MarkerEntry &m : acceptedMarkers()) {
        const int v = m.version;
        qint64 n = m.marker.size() + lineEnd;
        n += qint64(leqRows(v)) * RecordFields * value + lineEnd;
        n += qint64(EventRows) * RecordFields * value + lineEnd;
        if (v == Version35)
            n += qint64(ParamRawTable::size) * value + 1 + lineEnd;
        else
            n += qint64(ParamBlockTable::size) * value + (v == Version40 ? 1 : 0) + lineEnd;
        if (isVersion5Family(v))
            n += qint64(HistoryRows) * HistoryFields * value + 1 + lineEnd + DateLimit + lineEnd;
        largest = std::max(largest, n);
    }
    return largest;
}

QByteArray buildDataFile(const Store &s, int version)
{
    if (!isKnownVersion(version))
        return {};
    QByteArray out;
    out.reserve(isVersion5Family(version) ? 580000 : 420000);
    LineWriter w(out);

    out.append(writtenMarker(version));
    w.endLine();

    writeRows(w, s.Leq_Records, leqRows(version));
    w.endLine();

    writeRows(w, s.Event_Records, EventTable::rowCount);
    w.endLine();

    if (version == Version35) {
        for (int i = 0; i < ParamRawTable::size; ++i)
            w.value(s.Param_Raw[i]);
        w.blank();
    } else {
        for (int i = 0; i < ParamBlockTable::size; ++i)
            w.value(s.Param_Block[i]);
        if (version == Version40)
            w.blank();
    }
    w.endLine();

    if (isVersion5Family(version)) {
        writeRows(w, s.Param_History, HistoryTable::rowCount);
        w.blank();
        w.endLine();
        out.append(s.Transfer_Date.toLatin1());
        out.append('_');
        out.append(s.Transfer_Time.toLatin1());
        w.blank();
        w.endLine();
    }
    return out;
}

LoadOutcome readDataFile(const QByteArray &bytes, Store &s)
{
    s.Data_Loaded = false;
    s.Cancel_Flag = false;

    Reader in(bytes);
    const int version = versionOfMarker(readMarker(in));
    if (version == 0) {
        qCWarning(lcFiles) << "not a data file: unknown marker";
        return {LoadOutcome::NotKvlFile, messageText(Message::NotKvlFile),
                messageText(Message::NotKvlCaption),
                QStringLiteral("The first line holds no marker of a KVL 24-2 or KVL 36 data file.")};
    }
    qCDebug(lcFiles) << "loading a file of version" << version << "," << bytes.size() << "bytes";

    s.Device_Version = qint16(version);
    // The views count Leq rows as after a download of this version.
    s.Leq_Count = leqRows(version);

    const bool kvl36 = version == VersionKvl36;
    const QString valuesFailure = messageText(kvl36 ? Message::NotKvl36File : Message::NotKvl24File);
    // The marker line's break and the blank in front of the first value.
    if (!in.lineBreak() || !in.blank())
        return readFailure(s, valuesFailure, in, QStringLiteral("after the marker"));

    if (!in.rows(s.Leq_Records, leqRows(version)))
        return readFailure(s, valuesFailure, in, QStringLiteral("Leq records"));
    if (!in.rows(s.Event_Records, EventTable::rowCount))
        return readFailure(s, valuesFailure, in, QStringLiteral("events"));
    if (version == Version35) {
        if (!in.entries(s.Param_Raw))
            return readFailure(s, valuesFailure, in, QStringLiteral("parameters"));
        rebuildParamBlockFromRaw(s);
    } else {
        if (!in.entries(s.Param_Block))
            return readFailure(s, valuesFailure, in, QStringLiteral("parameters"));
    }

    if (isVersion5Family(version)) {
        if (!in.rows(s.Param_History, HistoryTable::rowCount))
            return readFailure(s, valuesFailure, in, QStringLiteral("parameter history"));
        QByteArray stamp;
        if (!in.lineBreak() || !in.token(DateLimit, stamp))
            return readFailure(
                s, messageText(kvl36 ? Message::NotKvl36Version5File : Message::NotKvl24Version5File), in,
                QStringLiteral("transfer date"));
        const QString text = QString::fromLatin1(stamp);
        s.Transfer_Date = text.left(10);
        s.Transfer_Time = text.mid(11, 5);
    }

    s.Data_Loaded = true;
    qCDebug(lcFiles) << "loaded";
    return {LoadOutcome::Loaded, QString(), QString(), QString()};
}

QString loadCaption(int version, int comPort)
{
    QString head, firmware;
    QString portLabel = QStringLiteral("  |  Com Port  : COM ");
    switch (version) {
    case Version35:
        head = QStringLiteral("ORLIN Analysis Software - KVL 24-2 - Version 5.5");
        portLabel = QStringLiteral("  |  Com Port : COM ");
        firmware = QStringLiteral("FirmWare KVL 24-2 : 3.5");
        break;
    case Version40:
        head = QStringLiteral("ORLIN Analyser - KVL 24-2 - Version 5.5");
        firmware = QStringLiteral("FirmWare KVL 24-2 : 4.0");
        break;
    case Version5X:
        head = QStringLiteral("ORLIN Analyser - KVL 24-2 - Version 5.5");
        firmware = QStringLiteral("FirmWare KVL 24-2 : 5.X");
        break;
    case VersionKvl36:
        head = QStringLiteral("ORLIN Analyser - KVL 36 - Version 1.1");
        firmware = QStringLiteral("FirmWare KVL 36 : 1.X");
        break;
    default:
        return QString();
    }
    const QString tail = QStringLiteral("  |  ") + firmware + QStringLiteral("  |  Open file actived.");
    if (comPort == 0)
        return head + QStringLiteral("  |  No COM Port Selected.") + tail;
    return head + portLabel + QString::number(comPort) + tail;
}

} // namespace kvl

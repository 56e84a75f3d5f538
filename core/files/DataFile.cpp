#include "files/DataFile.h"

#include "Logging.h"
#include "store/Messages.h"
#include "store/Store.h"

#include <QDate>
#include <QTime>

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

// The token at `at` as a user can read it: up to a blank or line break, at
// most 40 characters, other bytes than printable ASCII as \xHH.
QString foundText(const char *at, const char *end)
{
    QString text;
    for (; at < end && text.size() < 40; ++at) {
        const uchar u = uchar(*at);
        if (u == ' ' || u == '\r' || u == '\n')
            break;
        text += u >= 0x20 && u < 0x7F ? QString(QChar(u))
                                      : QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return text;
}

// Reads the file as the writer lays it out: every line ends right after its
// last value (or the blank the writer puts there) with CR LF, a lone LF
// being taken as well, since editors and transfers convert line ends. The
// specified token limits still apply: a value with its closing blank is at
// most 6 characters, and at the end of a line its line break and the next
// line's blank count too.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_begin(bytes.constData()), m_p(bytes.constData()), m_end(bytes.constData() + bytes.size())
    {
    }

    bool atEnd() const { return m_p == m_end; }
    char next() { return *m_p++; }
    void startPart(FilePart part) { m_part = part; }

    // Where and why the read failed.
    LoadDetail detail() const
    {
        LoadDetail d;
        d.line = 1 + int(std::count(m_begin, m_failAt, '\n'));
        d.part = m_part;
        d.record = m_record;
        d.value = m_value;
        d.problem = m_problem;
        d.found = foundText(m_failAt, m_end);
        return d;
    }

    // One line of `count` values into `out`, each a blank and its digits, then
    // the line's end. `fields` > 0: a record table of that many fields a row;
    // 0: a parameter table whose elements are numbered from `firstElement`.
    // `trailingBlank`: the writer puts one more blank after the last value.
    bool valueLine(qint16 *out, int count, int fields, int firstElement, bool trailingBlank, bool lastLine)
    {
        for (int i = 0; i < count; ++i) {
            m_record = fields ? i / fields + 1 : 0;
            m_value = fields ? i % fields + 1 : firstElement + i;
            if (!value(out[i], i == count - 1, trailingBlank))
                return false;
        }
        m_record = 0;
        m_value = -1;
        if (trailingBlank) {
            ++m_p; // checked by value()
            m_failAt = m_p;
            if (!atEnd() && !lineEndAt(m_p))
                return fail("the line goes on after its last value");
        }
        return lastLine ? finalEnd() : lineEnd();
    }

    // The token after the history line: up to a blank, at most `limit`
    // characters with it; then the end of the file.
    bool dateLine(int limit, QByteArray &text)
    {
        m_failAt = m_p;
        text.clear();
        while (!atEnd() && *m_p != ' ' && *m_p != '\r' && *m_p != '\n') {
            if (text.size() + 1 >= limit)
                return fail(QStringLiteral("longer than %1 characters").arg(limit - 1));
            text.append(next());
        }
        if (atEnd())
            return fail("the file ends here");
        if (text.isEmpty() && *m_p == ' ')
            return fail("values where the date and time should be");
        if (*m_p != ' ')
            return fail("the line ends without the blank after the date and time");
        if (!isTransferStamp(text))
            return fail("not a date and time written as dd/mm/yyyy_hh:mm:ss");
        ++m_p;
        return finalEnd();
    }

    // The marker line's end.
    bool lineEnd()
    {
        m_failAt = m_p;
        if (const int n = lineEndAt(m_p)) {
            m_p += n;
            return true;
        }
        if (atEnd())
            return fail("the file ends here");
        if (*m_p == ' ')
            return fail("the line goes on after its last value");
        return fail("a line break is missing");
    }

private:
    // 2 for CR LF, 1 for a lone LF, 0 for anything else.
    int lineEndAt(const char *at) const
    {
        if (at < m_end && *at == '\n')
            return 1;
        return at + 1 < m_end && at[0] == '\r' && at[1] == '\n' ? 2 : 0;
    }

    // A blank, then digits closed by a blank or, for the line's last value, by
    // the line's end (or by the blank the writer puts before it).
    bool value(qint16 &out, bool last, bool trailingBlank)
    {
        const bool endsLine = last && !trailingBlank;
        m_failAt = m_p;
        if (atEnd())
            return fail("the file ends here");
        if (*m_p != ' ')
            return fail(lineEndAt(m_p) ? "the line ends before its last value" : "a blank is missing");
        ++m_p;
        const char *start = m_p;
        m_failAt = start;
        int v = 0;
        while (m_p < m_end && *m_p >= '0' && *m_p <= '9' && m_p - start <= ValueLimit) {
            v = v * 10 + (*m_p - '0');
            ++m_p;
        }
        const int digits = int(m_p - start);
        if (atEnd())
            return fail("the file ends here");
        const int closing = *m_p == ' ' ? 1 : lineEndAt(m_p);
        if (digits == 0) {
            if (*m_p == ' ')
                return fail("no value between two blanks");
            if (closing)
                return fail("the line ends before its last value");
        }
        if (closing == 0)
            return fail("a character that is not a digit");
        // At a line's end the line break and the next line's blank belong to
        // the value's characters.
        const int characters = digits + (endsLine && *m_p != ' ' ? closing + 1 : 1);
        if (characters > ValueLimit)
            return fail(QStringLiteral("a value longer than %1 characters").arg(ValueLimit - 1));
        // A line break after another value than the last is left to the next
        // value to report: the first one missing.
        if (endsLine && *m_p == ' ') {
            m_failAt = m_p;
            m_record = 0;
            m_value = -1;
            return fail("the line goes on after its last value");
        }
        if (last && trailingBlank && *m_p != ' ') {
            m_failAt = m_p;
            return fail("the blank at the end of the line is missing");
        }
        if (v > 255)
            return fail("a value above 255");
        out = qint16(v);
        return true;
    }

    // Nothing but one line break may follow the last line.
    bool finalEnd()
    {
        m_failAt = m_p;
        if (!atEnd() && !lineEndAt(m_p))
            return fail("the line goes on after its last value");
        m_p += lineEndAt(m_p);
        m_failAt = m_p;
        if (atEnd())
            return true;
        m_part = FilePart::End;
        return fail("something follows the last line");
    }

    // "dd/mm/yyyy_hh:mm:ss" after a download, without the seconds after a
    // load, and a real date and time; or "_" from a store that holds no
    // transfer date, so that whatever the writer writes reads back.
    static bool isTransferStamp(const QByteArray &text)
    {
        static const char pattern[] = "99/99/9999_99:99:99";
        if (text == "_")
            return true;
        if (text.size() != 16 && text.size() != 19)
            return false;
        for (int i = 0; i < text.size(); ++i)
            if (pattern[i] == '9' ? text[i] < '0' || text[i] > '9' : text[i] != pattern[i])
                return false;
        auto number = [&text](int at, int digits) { return text.mid(at, digits).toInt(); };
        return QDate(number(6, 4), number(3, 2), number(0, 2)).isValid() &&
               QTime(number(11, 2), number(14, 2), text.size() == 19 ? number(17, 2) : 0).isValid();
    }

    bool fail(const QString &problem)
    {
        m_problem = problem;
        return false;
    }
    bool fail(const char *problem) { return fail(QString::fromLatin1(problem)); }

    const char *m_begin;
    const char *m_p;
    const char *m_end;
    const char *m_failAt = m_begin;
    FilePart m_part = FilePart::Marker;
    QString m_problem;
    int m_record = 0;
    int m_value = -1;
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

LoadOutcome readFailure(Store &s, const Reader &in)
{
    s.Cancel_Flag = true;
    const LoadDetail detail = in.detail();
    const bool kvl36 = s.Device_Version == VersionKvl36;
    const QString text = detail.part == FilePart::TransferDate
                             ? messageText(kvl36 ? Message::NotKvl36Version5File : Message::NotKvl24Version5File)
                             : messageText(kvl36 ? Message::NotKvl36File : Message::NotKvl24File);
    LoadOutcome out{LoadOutcome::ReadFailure, text, messageText(Message::ReadFailureCaption), detail};
    qCWarning(lcFiles) << "load failed:" << out.detailText() << text;
    return out;
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
        LoadDetail d;
        d.line = 1;
        d.problem = QStringLiteral("no marker of a KVL 24-2 or KVL 36 data file");
        d.found = foundText(bytes.constData(), bytes.constData() + bytes.size());
        return {LoadOutcome::NotKvlFile, messageText(Message::NotKvlFile), messageText(Message::NotKvlCaption), d};
    }
    qCDebug(lcFiles) << "loading a file of version" << version << "," << bytes.size() << "bytes";

    s.Device_Version = qint16(version);
    // The views count Leq rows as after a download of this version.
    s.Leq_Count = leqRows(version);

    const bool v5 = isVersion5Family(version);
    if (!in.lineEnd())
        return readFailure(s, in);

    in.startPart(FilePart::LeqRecords);
    if (!in.valueLine(s.Leq_Records.row(1), leqRows(version) * RecordFields, RecordFields, 0, false, false))
        return readFailure(s, in);
    in.startPart(FilePart::Events);
    if (!in.valueLine(s.Event_Records.row(1), EventRows * RecordFields, RecordFields, 0, false, false))
        return readFailure(s, in);
    if (version == Version35) {
        in.startPart(FilePart::ParamRaw);
        if (!in.valueLine(&s.Param_Raw[0], ParamRawTable::size, 0, 1, true, true))
            return readFailure(s, in);
        rebuildParamBlockFromRaw(s);
    } else {
        in.startPart(FilePart::ParamBlock);
        if (!in.valueLine(&s.Param_Block[0], ParamBlockTable::size, 0, 0, !v5, !v5))
            return readFailure(s, in);
    }

    if (v5) {
        in.startPart(FilePart::History);
        if (!in.valueLine(s.Param_History.row(1), HistoryRows * HistoryFields, HistoryFields, 0, true, false))
            return readFailure(s, in);
        in.startPart(FilePart::TransferDate);
        QByteArray stamp;
        if (!in.dateLine(DateLimit, stamp))
            return readFailure(s, in);
        // Hours and minutes of the time; seconds are not kept.
        const QString text = QString::fromLatin1(stamp);
        const int cut = int(text.indexOf(QLatin1Char('_')));
        s.Transfer_Date = text.left(cut);
        s.Transfer_Time = text.mid(cut + 1, 5);
    }

    s.Data_Loaded = true;
    qCDebug(lcFiles) << "loaded";
    return {LoadOutcome::Loaded, QString(), QString(), LoadDetail()};
}

QString filePartName(FilePart part)
{
    switch (part) {
    case FilePart::Marker:
        return QStringLiteral("marker");
    case FilePart::LeqRecords:
        return QStringLiteral("Leq records");
    case FilePart::Events:
        return QStringLiteral("events");
    case FilePart::ParamRaw:
    case FilePart::ParamBlock:
        return QStringLiteral("parameters");
    case FilePart::History:
        return QStringLiteral("parameter history");
    case FilePart::TransferDate:
        return QStringLiteral("transfer date");
    case FilePart::End:
        return QStringLiteral("end of the file");
    }
    return QString();
}

QString detailText(const LoadDetail &d)
{
    QString text = QStringLiteral("Line %1 of the file, %2").arg(d.line).arg(filePartName(d.part));
    if (d.record > 0)
        text += QStringLiteral(", record %1, value %2").arg(d.record).arg(d.value);
    else if (d.value >= 0)
        text += QStringLiteral(", element %1").arg(d.value);
    text += QStringLiteral(": ") + d.problem;
    if (!d.found.isEmpty())
        text += QStringLiteral(" (\"%1\")").arg(d.found);
    return text + QLatin1Char('.');
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

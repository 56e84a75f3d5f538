#include "TestSupport.h"

#include "shell/Forms.h"

#include <QFile>
#include <QListWidget>
#include <QPrinter>
#include <QTest>

namespace kvl::test {

MessageRecorder::MessageRecorder()
{
    setMessageHandler(
        [this](const QString &text, const QString &caption, MsgIcon icon, const QString &detail) {
            messages.append({text, caption, icon, detail});
        });
}

QString msg(const QString &text, const QString &caption, MsgIcon icon)
{
    return caption + QStringLiteral(" / ") + text + QStringLiteral(" / ") + QString::number(int(icon));
}

QString shown(const MessageRecorder &recorder)
{
    QStringList out;
    for (const RecordedMessage &m : recorder.messages)
        out << msg(m.text, m.caption, m.icon);
    return out.join(QLatin1Char('\n'));
}

MessageRecorder::~MessageRecorder()
{
    setMessageHandler({});
}

ScriptedDialogs::ScriptedDialogs()
{
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogs(nullptr);
}

std::optional<QStringList> ScriptedDialogs::openFiles(QWidget *parent, const QString &filter)
{
    if (openManyAnswers.isEmpty())
        return Dialogs::openFiles(parent, filter);
    openRequests << filter;
    return openManyAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::openFile(QWidget *, const QString &fileName, const QString &filter,
                                                 int)
{
    openRequests << fileName + QLatin1Char('|') + filter;
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget *, const QString &proposedName,
                                                 const QString &filter, int)
{
    saveRequests << proposedName;
    saveFilters << filter;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
}

bool ScriptedDialogs::choosePrinter(QWidget *, QPrinter &printer)
{
    ++printerRequests;
    printerDocNames << printer.docName();
    const bool accept = printerAnswers.isEmpty() ? false : printerAnswers.takeFirst();
    if (accept && !printerPdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerPdfPath);
    }
    if (accept && printerChoices)
        printerChoices(printer);
    return accept;
}

QStringList windowTexts(QWidget *window)
{
    QStringList out{QStringLiteral("=") + window->windowTitle()};
    for (QObject *o : window->findChildren<QObject *>()) {
        if (o->objectName().isEmpty())
            continue;
        QString state;
        if (auto *w = qobject_cast<QWidget *>(o)) {
            if (w->isHidden())
                state += QStringLiteral(" (hidden)");
            if (!w->isEnabled())
                state += QStringLiteral(" (disabled)");
        }
        if (auto *list = qobject_cast<QListWidget *>(o)) {
            out << o->objectName() + QStringLiteral(":") + state;
            for (int i = 0; i < list->count(); ++i)
                out << QStringLiteral("  ") + list->item(i)->text();
            continue;
        }
        QVariant text = o->property("text");
        if (!text.isValid())
            text = o->property("title");
        if (!text.isValid())
            text = o->property("currentText");
        if (text.isValid())
            out << o->objectName() + QLatin1Char('=') + text.toString() + state;
    }
    return out;
}

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

namespace {

QList<int> numbers(const QString &list)
{
    QList<int> out;
    for (const QString &item : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << item.toInt();
    return out;
}

// A field of a row file as its column's type.
QVariant rowValue(const QString &type, const QString &field)
{
    if (type == QLatin1String("int"))
        return field.toInt();
    if (type == QLatin1String("bool"))
        return field == QLatin1String("true");
    if (type == QLatin1String("strings"))
        return field.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (type == QLatin1String("ints"))
        return QVariant::fromValue(numbers(field));
    if (type != QLatin1String("records"))
        return QString(field).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    QList<QList<int>> records;
    for (const QString &record : field.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        records << numbers(record);
    return QVariant::fromValue(records);
}

} // namespace

void addRows(const QString &file)
{
    QFile f(qEnvironmentVariable("KVL_TEST_DATA") + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(f.fileName()));
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf([](const QString &l) { return l.startsWith(QLatin1Char('#')); });
    // The table keeps the column names' addresses.
    static QByteArrayList names;
    QStringList types;
    for (const QString &column : lines.takeFirst().split(QStringLiteral(" | "))) {
        names << column.section(QLatin1Char(':'), 0, 0).toLatin1();
        types << column.section(QLatin1Char(':'), 1);
        QTest::addColumnInternal(rowValue(types.last(), QString()).metaType().id(), names.last().constData());
    }
    for (const QString &line : lines) {
        const QStringList fields = line.split(QStringLiteral(" | "));
        QTestData &row = QTest::newRow(qPrintable(fields[0]));
        for (qsizetype i = 0; i < types.size(); ++i) {
            const QVariant value = rowValue(types[i], fields.value(i + 1));
            row.append(value.metaType().id(), value.constData());
        }
    }
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
            field = field.trimmed();
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

void registerViewStubs(QStringList *opened)
{
    const std::pair<const char *, bool OpenFlags::*> views[] = {
        {"frmInGraphique", &OpenFlags::Open_frmInGraphique},
        {"frmInGraphique_v5", &OpenFlags::Open_frmInGraphique_v5},
        {"frmInTableau", &OpenFlags::Open_frmInTableau},
        {"frmParametres_v4", &OpenFlags::Open_frmParametres_v4},
    };
    for (const auto &v : views) {
        const QString name = QString::fromLatin1(v.first);
        bool *flag = &(openFlags().*(v.second));
        registerForm(name, [name, flag, opened] {
            *opened << name;
            return new Form(name, flag, true, Form::Dialog);
        });
    }
}

} // namespace kvl::test

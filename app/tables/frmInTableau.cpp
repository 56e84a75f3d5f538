#include "tables/frmInTableau.h"

#include "archive/AppArchive.h"

#include "shell/DateEdit.h"
#include "shell/Seams.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/RecordedSpan.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

QLabel *makeLabel(const QString &name, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

} // namespace

frmInTableau::frmInTableau()
    : Form(QStringLiteral("frmInTableau"), &openFlags().Open_frmInTableau, true, Form::Dialog)
{
    Store &store = appStore();
    if (store.Requested_View == RequestedView::LeqTable)
        setWindowTitle(QStringLiteral("Leq Chart Parameters"));
    else if (store.Requested_View == RequestedView::EventsTable)
        setWindowTitle(QStringLiteral("Events Chart Parameters"));

    auto *layout = new QVBoxLayout(this);
    addDialogTitle(layout, QStringLiteral("Select the chart parameters"));

    auto *frame = new QGroupBox(QStringLiteral("Analysis Date :"));
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(frame);
    m_start = periodPicker(QStringLiteral("DTP_Jour_Start"));
    m_end = periodPicker(QStringLiteral("DTP_Jour_End"));
    grid->addWidget(makeLabel(QStringLiteral("Label_Date_Start"), QStringLiteral("Start Date :")), 0, 0);
    grid->addWidget(m_start, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("Label_Date_End"), QStringLiteral("End Date :")), 1, 0);
    grid->addWidget(m_end, 1, 1);
    layout->addWidget(frame);
    // Where the loaded data lies, so a first choice of period finds something.
    QLabel *recorded =
        makeLabel(QStringLiteral("Label_Recorded_Data"),
                  recordedDataTextForDialogs(store, store.Requested_View == RequestedView::EventsTable
                                                        ? RecordedData::Events
                                                        : RecordedData::Leq));
    recorded->setAlignment(Qt::AlignCenter);
    layout->addWidget(recorded);

    const OkCancel buttons = addOkCancelRow(layout);
    m_ok = buttons.ok;
    connect(m_ok, &QPushButton::clicked, this, [this] { Cmd_Ok_Click(); });
    connect(buttons.cancel, &QPushButton::clicked, this, &frmInTableau::Cmd_Annuler_Click);

    // Propose the last period used, else today.
    QDate start = periodStart(store);
    QDate end = periodEnd(store);
    const bool anyStored =
        !(store.Start_Day.isEmpty() && store.Start_Month.isEmpty() && store.Start_Year.isEmpty() &&
          store.End_Day.isEmpty() && store.End_Month.isEmpty() && store.End_Year.isEmpty());
    const QDate today = QDate::currentDate();
    if (!anyStored || !start.isValid())
        start = today;
    if (!anyStored || !end.isValid())
        end = today;
    m_start->setDate(start);
    m_end->setDate(end);
    storeStart(m_start->date());
    storeEnd(m_end->date());

    connect(m_start, &QDateEdit::dateChanged, this, &frmInTableau::storeStart);
    connect(m_end, &QDateEdit::dateChanged, this, &frmInTableau::storeEnd);
    // A day picked in a calendar is a choice made: go on to Ok.
    connect(m_start->calendarWidget(), &QCalendarWidget::clicked, m_ok, [this] { m_ok->setFocus(); });
    connect(m_end->calendarWidget(), &QCalendarWidget::clicked, m_ok, [this] { m_ok->setFocus(); });
}

void frmInTableau::storeStart(const QDate &date)
{
    Store &store = appStore();
    store.Start_Day = twoDigitText(date.day());
    store.Start_Month = twoDigitText(date.month());
    store.Start_Year = QString::number(date.year());
}

void frmInTableau::storeEnd(const QDate &date)
{
    Store &store = appStore();
    store.End_Day = twoDigitText(date.day());
    store.End_Month = twoDigitText(date.month());
    store.End_Year = QString::number(date.year());
}

QString frmInTableau::tableFor(RequestedView requestedView, int deviceVersion)
{
    if (requestedView == RequestedView::EventsTable)
        return QStringLiteral("frmTableau_Evenements");
    if (requestedView != RequestedView::LeqTable)
        return QString();
    if (isVersion5Family(deviceVersion))
        return QStringLiteral("frmTableau_Leq_V5");
    return QStringLiteral("frmTableau_Leq");
}

bool frmInTableau::Cmd_Ok_Click()
{
    if (m_start->date() > m_end->date()) {
        showMessage(QStringLiteral("Please, Can you write the date again !!!"),
                    QStringLiteral("There is a problem with the parameters  !!!"), MsgIcon::Critical);
        return false;
    }
    // The pickers' dates are in the store whatever way they were changed.
    storeStart(m_start->date());
    storeEnd(m_end->date());
    if (!loadArchivePeriod(appStore(), m_start->date(), m_end->date()))
        return false;
    const Store &store = appStore();
    const QString table = tableFor(store.Requested_View, store.Device_Version);
    if (!table.isEmpty())
        openForm(table);
    close();
    return true;
}

void frmInTableau::Cmd_Annuler_Click()
{
    close();
}

void frmInTableau::keyPressEvent(QKeyEvent *event)
{
    // Enter anywhere in the dialog is Ok.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Cmd_Ok_Click();
        return;
    }
    Form::keyPressEvent(event);
}

} // namespace kvl

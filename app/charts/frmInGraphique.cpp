#include "charts/frmInGraphique.h"

#include "archive/AppArchive.h"

#include "charts/ChartPeriod.h"
#include "charts/Thresholds.h"
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
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace kvl {

namespace {

const QString lockedCaption = QStringLiteral("Threshold parameters modification");
const QString editableCaption = QStringLiteral("Put the parameters by default");

// Record dates are two-digit years from 2000; the longest chart must end
// in the same century.
const QDate firstChartDay(2000, 1, 1);
const QDate lastChartDay(2099, 12, 24);

// Days of Option_1_Jour, Option_3_Jours, Option_7_Jours.
constexpr int chartLengths[3] = {1, 3, 7};

QLabel *makeLabel(const QString &name, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

QGroupBox *makeGroup(const QString &name, const QString &caption)
{
    auto *group = new QGroupBox(caption);
    group->setObjectName(name);
    return group;
}

QPushButton *makeButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

// One value box of the firmware 3.5/4.0 dialog.
struct ValueBox
{
    const char *name;
    const char *label; // its label's control name
    const char *caption;
    const char *unitLabel;
    const char *unit;
    int highest;
};

constexpr ValueBox valueBoxes[4] = {
    {"txt_Leq_Jour", "Label3", "Leq Level Day :", "Label1", "dB.", MaxThresholdDb},
    {"txt_Leq_Nuit", "Label4", "Leq Level Night :", "Label2", "dB.", MaxThresholdDb},
    {"txt_Heure_Jour_Nuit", "Label5", "Day to Night :", "Label7", "Hrs.", 23},
    {"txt_Heure_Nuit_Jour", "Label6", "Night to Day :", "Label8", "Hrs.", 23},
};

// The box's text as a whole number in 0..highest; nothing when it is none.
std::optional<int> boxValue(const QString &text, int highest)
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    const long rounded = std::lround(value);
    if (rounded > highest)
        return std::nullopt;
    return int(rounded);
}

} // namespace

ChartDialog::ChartDialog(const QString &name, bool *openFlag, const QString &caption,
                         const QString &lengthCaption)
    : Form(name, openFlag, true, Form::Dialog)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);

    auto *header = makeLabel(QStringLiteral("Label_Entete"), QString());
    header->setPixmap(
        loadImage(QStringLiteral("Logo Orlin.bmp")).scaledToHeight(48, Qt::SmoothTransformation));
    header->setAlignment(Qt::AlignCenter);
    layout->addWidget(header);

    auto *top = new QHBoxLayout;
    QGroupBox *dateGroup = makeGroup(QStringLiteral("Frame1"), QStringLiteral("Analysis Start Date :"));
    auto *dateLayout = new QVBoxLayout(dateGroup);
    m_picker = new DateEdit;
    m_picker->setObjectName(QStringLiteral("DTPicker1"));
    m_picker->setCalendarPopup(true);
    m_picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_picker->setDateRange(firstChartDay, lastChartDay);
    m_picker->setMinimumWidth(140);
    dateLayout->addWidget(m_picker);
    // Where the loaded data lies, so the user knows which day to pick.
    QLabel *recorded = makeLabel(QStringLiteral("Label_Recorded_Data"),
                                 recordedDataTextForDialogs(appStore(), RecordedData::Leq));
    recorded->setWordWrap(true);
    dateLayout->addWidget(recorded);
    top->addWidget(dateGroup);

    QGroupBox *lengthGroup = makeGroup(QStringLiteral("Frame2"), lengthCaption);
    auto *lengthLayout = new QVBoxLayout(lengthGroup);
    const char *options[3][2] = {
        {"Option_1_Jour", "1 Day."}, {"Option_3_Jours", "3 Days."}, {"Option_7_Jours", "7 Days."}};
    for (int i = 0; i < 3; ++i) {
        m_days[i] = new QRadioButton(QString::fromLatin1(options[i][1]));
        m_days[i]->setObjectName(QString::fromLatin1(options[i][0]));
        lengthLayout->addWidget(m_days[i]);
    }
    top->addWidget(lengthGroup);
    layout->addLayout(top);

    m_body = new QVBoxLayout;
    layout->addLayout(m_body);

    // Both dialogs carry the midday note; the v5 dialog names it Label1.
    const bool v5 = name.endsWith(QStringLiteral("_v5"));
    QLabel *note = makeLabel(
        v5 ? QStringLiteral("Label1") : QStringLiteral("Label9"),
        QStringLiteral("Attention : Analysis will start at MIDDAY of the analysis starting day !!!"));
    note->setWordWrap(true);
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    layout->addWidget(note);

    const OkCancel buttons = addOkCancelRow(layout);
    QPushButton *ok = buttons.ok, *cancel = buttons.cancel;
    connect(ok, &QPushButton::clicked, this, [this] { Cmd_Ok_Click(); });
    connect(cancel, &QPushButton::clicked, this, &ChartDialog::Cmd_Annuler_Click);
    // A day picked in the calendar is a choice made: go on to Ok.
    connect(m_picker->calendarWidget(), &QCalendarWidget::clicked, ok, [ok] { ok->setFocus(); });

    // The last period chosen, else today and the length the menu proposed.
    const Store &store = appStore();
    for (int i = 0; i < 3; ++i)
        m_days[i]->setChecked(store.Chart_Days_Text == QString::number(chartLengths[i]));
    m_picker->setDate(QDate::currentDate());
    if (!store.Start_Day.isEmpty() || !store.Start_Month.isEmpty() || !store.Start_Year.isEmpty()) {
        const QDate last = periodStart(store);
        if (last.isValid())
            m_picker->setDate(last);
    }
}

int ChartDialog::chosenDays() const
{
    for (int i = 0; i < 3; ++i)
        if (m_days[i]->isChecked())
            return chartLengths[i];
    // None chosen: the previous length, if it is one.
    const int previous = appStore().Chart_Days;
    return previous == 3 || previous == 7 ? previous : 1;
}

bool ChartDialog::Cmd_Ok_Click()
{
    if (!checkValues())
        return false;
    const QDate start = m_picker->date();
    storeChartPeriod(appStore(), ChartDate{start.day(), start.month(), start.year()}, chosenDays());
    storeValues();
    // The chart's last day is the one its last midday falls on.
    if (!loadArchivePeriod(appStore(), start, start.addDays(chosenDays())))
        return false;
    close();
    openForm(QStringLiteral("frmGraphique_Leq"));
    return true;
}

void ChartDialog::Cmd_Annuler_Click()
{
    close();
}

void ChartDialog::keyPressEvent(QKeyEvent *event)
{
    // Enter anywhere in the dialog is Ok.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Cmd_Ok_Click();
        return;
    }
    Form::keyPressEvent(event);
}

frmInGraphique::frmInGraphique()
    : ChartDialog(QStringLiteral("frmInGraphique"), &openFlags().Open_frmInGraphique,
                  QStringLiteral("Leq Level Diagram Parameters"), QStringLiteral("Analysis Long :"))
{
    auto *row = new QHBoxLayout;
    QGroupBox *groups[2] = {makeGroup(QStringLiteral("Frame3"), QStringLiteral("Treshold :")),
                            makeGroup(QStringLiteral("Frame4"), QStringLiteral("Hours Parameters :"))};
    for (int i = 0; i < 4; ++i) {
        const ValueBox &v = valueBoxes[i];
        auto *grid = qobject_cast<QGridLayout *>(groups[i / 2]->layout());
        if (!grid)
            grid = new QGridLayout(groups[i / 2]);
        m_boxes[i] = new QLineEdit;
        m_boxes[i]->setObjectName(QString::fromLatin1(v.name));
        m_boxes[i]->setMaximumWidth(60);
        grid->addWidget(makeLabel(QString::fromLatin1(v.label), QString::fromLatin1(v.caption)), i % 2, 0);
        grid->addWidget(m_boxes[i], i % 2, 1);
        grid->addWidget(makeLabel(QString::fromLatin1(v.unitLabel), QString::fromLatin1(v.unit)), i % 2, 2);
    }
    row->addWidget(groups[0]);
    row->addWidget(groups[1]);
    body()->addLayout(row);

    m_change = makeButton(QStringLiteral("Cmd_Change_Parametres"), lockedCaption);
    auto *changeRow = new QHBoxLayout;
    changeRow->addStretch();
    changeRow->addWidget(m_change);
    changeRow->addStretch();
    body()->addLayout(changeRow);
    connect(m_change, &QPushButton::clicked, this, &frmInGraphique::Cmd_Change_Parametres_Click);

    showDeviceValues();
}

void frmInGraphique::showDeviceValues()
{
    const Store &store = appStore();
    const QString *device[4] = {&store.Default_Leq_Day, &store.Default_Leq_Night,
                                &store.Default_Hour_Day_Night, &store.Default_Hour_Night_Day};
    for (int i = 0; i < 4; ++i) {
        m_boxes[i]->setText(*device[i]);
        m_boxes[i]->setEnabled(false);
    }
    m_change->setText(lockedCaption);
}

void frmInGraphique::Cmd_Change_Parametres_Click()
{
    if (m_change->text() == lockedCaption) {
        m_change->setText(editableCaption);
        for (QLineEdit *box : m_boxes) {
            box->setEnabled(true);
            box->clear();
        }
        m_boxes[0]->setFocus();
    } else {
        showDeviceValues();
    }
}

bool frmInGraphique::checkValues()
{
    for (int i = 0; i < 4; ++i) {
        const ValueBox &v = valueBoxes[i];
        const auto value = boxValue(m_boxes[i]->text(), v.highest);
        if (!value) {
            const QString name = QString::fromLatin1(v.caption).chopped(2); // without " :"
            const QString text = v.highest == 23
                                     ? QStringLiteral("%1 : please write an hour from 0 to 23 !!!").arg(name)
                                     : QStringLiteral("%1 : please write a level from 0 to %2 dB !!!")
                                           .arg(name)
                                           .arg(v.highest);
            showMessage(text, QStringLiteral("Leq Level Diagram Parameters"), MsgIcon::Exclamation);
            if (m_boxes[i]->isEnabled()) {
                m_boxes[i]->setFocus();
                m_boxes[i]->selectAll();
            }
            return false;
        }
        m_values[i] = *value;
    }
    return true;
}

void frmInGraphique::storeValues()
{
    Store &store = appStore();
    store.Seuil_Jour = qint16(m_values[0]);
    store.Seuil_Nuit = qint16(m_values[1]);
    store.Heure_Jour_Nuit = qint16(m_values[2]);
    store.Heure_Nuit_Jour = qint16(m_values[3]);
}

} // namespace kvl

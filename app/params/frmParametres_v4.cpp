#include "params/frmParametres_v4.h"

#include "shell/CsvExport.h"
#include "shell/PrintOutput.h"
#include "shell/PrintWindow.h"
#include "shell/Seams.h"
#include "store/Store.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, int pointSize = 9,
                  bool bold = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// A value label: bold, so it stands out from its caption.
QLabel *makeValue(QWidget *parent, const QString &name)
{
    QLabel *label = makeLabel(parent, name, QString(), 9, true);
    label->setMinimumWidth(40);
    return label;
}

// Caption, value and unit on one row of a grid.
// Caption, value and unit on one row of a grid; without a unit the value
// may use the unit's column too.
void addRow(QGridLayout *grid, int row, QLabel *caption, QLabel *value, QLabel *unit = nullptr)
{
    grid->addWidget(caption, row, 0);
    if (!unit) {
        grid->addWidget(value, row, 1, 1, 2);
        return;
    }
    grid->addWidget(value, row, 1);
    grid->addWidget(unit, row, 2);
}

// Keeps its place in the layout while hidden, so printing without the
// buttons and the selector does not move the rest of the sheet.
void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

frmParametres_v4::frmParametres_v4(Store &store)
    : Form(QStringLiteral("frmParametres_v4"), &openFlags().Open_frmParametres_v4, true, Form::View),
      m_store(store)
{
    setWindowTitle(QStringLiteral("KVL 24/36 Parameters"));
    m_filterCardPresent = false;
    m_currentPeriodText.clear();
    buildControls();

    const SheetTexts texts = loadSheet(m_store);
    m_filterCardPresent = texts.filterCardPresent;
    showTexts(texts);
    const bool kvl36 = m_store.Device_Version == VersionKvl36;
    m_correlationCaption->setVisible(kvl36);
    m_correlation->setVisible(kvl36);

    fillPeriodSelector();
    addParamsCsvExport(this, m_store);
}

void frmParametres_v4::buildControls()
{
    auto *page = new QVBoxLayout(this);
    page->setSpacing(4);

    // Header with the period selector beside it, the period caption below.
    auto *headerRow = new QHBoxLayout;
    m_entete = makeLabel(this, QStringLiteral("Label_Entete"), QStringLiteral("KVL 24/36 Parameter Chart :"),
                         14, true);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("Combo_Jour"));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMinimumContentsLength(34);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    keepPlaceWhenHidden(m_combo);
    headerRow->addWidget(m_entete, 0, Qt::AlignTop);
    headerRow->addStretch(1);
    headerRow->addWidget(m_combo, 0, Qt::AlignTop);
    page->addLayout(headerRow);
    m_date = makeLabel(this, QStringLiteral("Label_Date"), QString(), 9, true);
    page->addWidget(m_date);

    // Left: device, regulation and levels. Right: the filter card.
    auto *columns = new QHBoxLayout;
    columns->setSpacing(30);
    auto *left = new QGridLayout;
    left->setVerticalSpacing(3);
    auto *right = new QGridLayout;
    right->setVerticalSpacing(3);
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addStretch(1);
    page->addLayout(columns);

    int row = 0;
    addRow(left, row++,
           makeLabel(this, QStringLiteral("Label_Cap_Version"), QStringLiteral(" FirmWare Version :")),
           makeValue(this, QStringLiteral("Label_Version_FirmWare")));
    addRow(left, row++, makeLabel(this, QStringLiteral("Label_Cap_Serie"), QStringLiteral("Serial number :")),
           makeValue(this, QStringLiteral("Label_Numero_Serie")));
    for (const char *name : {"Label_Fonctionnement_Regul", "Label_Analyse", "Label_Source"})
        left->addWidget(makeLabel(this, QString::fromLatin1(name), QString(), 9, true), row++, 0, 1, 3);
    addRow(left, row++, makeLabel(this, QStringLiteral("Label_Cap_Montee"), QStringLiteral("Attack :")),
           makeValue(this, QStringLiteral("Label_Temps_de_Montee")));
    addRow(left, row++, makeLabel(this, QStringLiteral("Label_Cap_Descente"), QStringLiteral("Release")),
           makeValue(this, QStringLiteral("Label_Temps_de_Descente")));
    addRow(left, row++,
           makeLabel(this, QStringLiteral("Label_Cap_Attenuation"), QStringLiteral("Output Reduction :")),
           makeValue(this, QStringLiteral("Label_Attenuation_Sortie")),
           makeLabel(this, QStringLiteral("Label_Unite_Attenuation"), QStringLiteral("dB.")));

    const struct
    {
        const char *value;
        const char *caption;
        const char *unit;
    } levels[] = {
        {"Label_Niveau_Leq_Jour", " Leq Level Day :", "dB."},
        {"Label_Niveau_Leq_Jour_Fenetre", "Leq Level Day open :", "dB."},
        {"Label_Niveau_Leq_Nuit", "Leq Level Night :", "dB."},
        {"Label_Niveau_Leq_Nuit_Fenetre", "Leq Level Night open :", "dB."},
        {"Label_Niveau_Public", "Public Level :", "dB."},
        {"Label_Niveau_Capteur", "Sensor Level :", "dB."},
        {"Label_Niveau_Regul_Ligne", "Line Regulation Level :", "dBr."},
        {"Label_Heure_Jour_Nuit", "Day to Night :", "Hrs."},
        {"Label_Heure_Nuit_Jour", "Night to Day :", "Hrs."},
    };
    for (const auto &level : levels) {
        const QString name = QString::fromLatin1(level.value);
        addRow(left, row++,
               makeLabel(this, QStringLiteral("Cap_") + name, QString::fromLatin1(level.caption)),
               makeValue(this, name),
               makeLabel(this, QStringLiteral("Unit_") + name, QString::fromLatin1(level.unit)));
    }
    left->setRowStretch(row, 1);

    right->addWidget(makeLabel(this, QStringLiteral("Label2"), QString(), 11, true), 0, 0, 1, 2);
    for (std::size_t band = 0; band < BandCaptionNames.size(); ++band)
        addRow(right, int(band) + 1, makeLabel(this, QString::fromLatin1(BandCaptionNames[band]), QString()),
               makeValue(this, QString::fromLatin1(BandValueNames[band])));
    m_correlationCaption =
        makeLabel(this, QStringLiteral("Label_Correlation"), QStringLiteral("L/C Correlation "));
    m_correlation = makeValue(this, QStringLiteral("Label19"));
    addRow(right, 8, m_correlationCaption, m_correlation);
    right->setRowStretch(9, 1);

    auto *buttons = new QHBoxLayout;
    m_print = new QPushButton(QStringLiteral("Print"), this);
    m_print->setObjectName(QStringLiteral("Cmd_Print"));
    m_exit = new QPushButton(QStringLiteral("Quit"), this);
    m_exit->setObjectName(QStringLiteral("Cmd_Exit"));
    const struct
    {
        QPushButton *button;
        const char *image;
    } pictures[] = {{m_print, "Print.bmp"}, {m_exit, "Exit.jpg"}};
    for (const auto &picture : pictures) {
        const QPixmap pixmap = loadImage(QString::fromLatin1(picture.image));
        picture.button->setIcon(QIcon(pixmap));
        if (!pixmap.isNull())
            picture.button->setIconSize(pixmap.size());
        picture.button->setMinimumWidth(110);
        keepPlaceWhenHidden(picture.button);
    }
    buttons->addStretch(1);
    buttons->addWidget(m_print);
    buttons->addWidget(m_exit);
    page->addStretch(1);
    page->addLayout(buttons);

    connect(m_print, &QPushButton::clicked, this, &frmParametres_v4::Cmd_Print_Click);
    connect(m_exit, &QPushButton::clicked, this, &frmParametres_v4::Cmd_Exit_Click);
    connect(m_combo, qOverload<int>(&QComboBox::activated), this, &frmParametres_v4::Combo_Jour_Click);
    // Typing in the selector puts the newest period's text straight back.
    connect(m_combo->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString &) { m_combo->setEditText(m_currentPeriodText); });
}

const std::array<const char *, 7> BandCaptionNames = {"Label11", "Label12", "Label14", "Label15",
                                                      "Label16", "Label17", "Label18"};
const std::array<const char *, 7> BandValueNames = {"Label_Att_63",  "Label_Att_125", "Label_Att_250",
                                                    "Label_Att_500", "Label_Att_1k",  "Label_Att_2k",
                                                    "Label_Att_4k"};

QList<std::pair<QString, QString>> sheetLabels(const SheetTexts &texts)
{
    QList<std::pair<QString, QString>> out;
    auto add = [&out](const char *name, const QString &text) {
        if (!text.isNull())
            out.append({QString::fromLatin1(name), text});
    };
    add("Label_Version_FirmWare", texts.firmware);
    add("Label_Numero_Serie", texts.serialNumber);
    add("Label_Niveau_Leq_Jour", texts.leqDay);
    add("Label_Niveau_Leq_Jour_Fenetre", texts.leqDayOpen);
    add("Label_Niveau_Leq_Nuit", texts.leqNight);
    add("Label_Niveau_Leq_Nuit_Fenetre", texts.leqNightOpen);
    add("Label_Niveau_Public", texts.publicLevel);
    add("Label_Niveau_Capteur", texts.sensorLevel);
    add("Label_Heure_Jour_Nuit", texts.dayToNight);
    add("Label_Heure_Nuit_Jour", texts.nightToDay);
    add("Label_Fonctionnement_Regul", texts.regulation);
    add("Label_Analyse", texts.analysis);
    add("Label_Source", texts.source);
    add("Label_Temps_de_Montee", texts.attack);
    add("Label_Temps_de_Descente", texts.release);
    add("Label_Attenuation_Sortie", texts.outputReduction);
    add("Label_Niveau_Regul_Ligne", texts.lineRegulation);
    add("Label2", texts.filterTitle);
    for (std::size_t band = 0; band < 7; ++band) {
        add(BandCaptionNames[band], texts.bandCaptions[band]);
        add(BandValueNames[band], texts.bandValues[band]);
    }
    add("Label19", texts.correlation);
    return out;
}

void frmParametres_v4::showTexts(const SheetTexts &texts)
{
    for (const auto &[name, text] : sheetLabels(texts))
        if (auto *label = findChild<QLabel *>(name))
            label->setText(text);
}

void frmParametres_v4::fillPeriodSelector()
{
    auto *page = static_cast<QVBoxLayout *>(layout());
    if (!m_store.isVersion5Family()) {
        m_combo->hide();
        m_date->hide();
        page->setContentsMargins(page->contentsMargins().left(), twips(120), page->contentsMargins().right(),
                                 page->contentsMargins().bottom());
        return;
    }
    page->setContentsMargins(page->contentsMargins().left(), twips(30), page->contentsMargins().right(),
                             page->contentsMargins().bottom());
    m_periods = buildPeriodList(m_store);
    m_currentPeriodText = m_periods.currentPeriodText;
    m_date->setText(m_periods.dateCaption);
    m_combo->addItems(m_periods.texts());
    m_combo->setEditText(m_currentPeriodText);
    if (m_currentPeriodText.isEmpty())
        m_combo->hide();
}

void frmParametres_v4::Combo_Jour_Click(int index)
{
    if (index < 0 || index >= m_periods.entries.size())
        return;
    m_date->setText(periodDateCaption(m_periods, index));
    const SheetTexts texts = periodSheet(m_store, m_periods, index);
    m_filterCardPresent = texts.filterCardPresent;
    showTexts(texts);
}

void frmParametres_v4::Cmd_Exit_Click()
{
    close();
}

void frmParametres_v4::Cmd_Print_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(printDocumentName(windowTitle()));
    if (!dialogs().choosePrinter(this, printer))
        return;
    printPages(printer, [this](QPagedPaintDevice &device) { return printSheet(device); });
}

bool frmParametres_v4::printSheet(QPaintDevice &printer)
{
    m_combo->hide();
    m_print->hide();
    m_exit->hide();
    SetSheetColour(Qt::white);
    const bool printed = printWindowImage(printer, this);
    restoreAfterPrint();
    return printed;
}

void frmParametres_v4::restoreAfterPrint()
{
    if (!m_combo->currentText().isEmpty() && m_store.isVersion5Family())
        m_combo->show();
    m_print->show();
    m_exit->show();
    SetSheetColour(formBackground());
}

void frmParametres_v4::SetSheetColour(const QColor &colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    for (QLabel *label : findChildren<QLabel *>()) {
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::Window, colour);
        label->setPalette(labelPalette);
        label->setAutoFillBackground(true);
    }
}

} // namespace kvl

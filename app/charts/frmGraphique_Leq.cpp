#include "charts/frmGraphique_Leq.h"

#include "charts/ChartLayout.h"
#include "charts/ChartPeriod.h"
#include "charts/ChartTexts.h"
#include "charts/ListLines.h"
#include "charts/PictureBox.h"
#include "charts/Thresholds.h"
#include "export/Statistics.h"
#include "params/ParamSheet.h"
#include "shell/CsvExport.h"
#include "shell/Seams.h"
#include "store/Layout.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/TableLines.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

QFont listFont(bool message)
{
    QFont font;
    font.setPointSize(message ? 12 : 8);
    font.setBold(message);
    return font;
}

// Lists of a week hold hundreds of lines of nearly equal width: the view
// lays them out as rows of one size (ListLines sizes the first row for the
// longest line) instead of measuring every line when the window opens.
void fillList(QListWidget *list, const QStringList &lines, bool message)
{
    list->setFont(listFont(message));
    list->addItems(lines);
    fitListRows(list, false);
}

// Two empty lines and a message, 12 points bold, in a list that is then disabled.
void listMessage(QListWidget *list, const QString &text)
{
    fillList(list, {QString(), QString(), text}, true);
    list->setEnabled(false);
}

void showAnalysisMessage(const QString &text)
{
    showMessage(text, QStringLiteral("!!!"), MsgIcon::Information);
}

} // namespace

frmGraphique_Leq::frmGraphique_Leq()
    : Form(QStringLiteral("frmGraphique_Leq"), &openFlags().Open_frmGraphique_Leq, true, Form::View)
{
    setWindowTitle(QStringLiteral("Leq Level Diagram"));
    buildControls();
    Form_Load();
    setupZoom();
    layoutWindow();
}

QLabel *frmGraphique_Leq::makeLabel(const char *name, const QString &text, int pointSize, bool bold)
{
    auto *label = new QLabel(text, m_surface);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAutoFillBackground(true);
    return label;
}

QListWidget *frmGraphique_Leq::makeList(const char *name)
{
    auto *list = new QListWidget(m_surface);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(listFont(false));
    showListLines(list);
    return list;
}

QToolButton *frmGraphique_Leq::makeButton(QWidget *parent, const char *name, const QString &text,
                                          const QString &image, const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(toolTip);
    const QPixmap picture = loadImage(image);
    if (!picture.isNull()) {
        button->setIcon(picture);
        button->setIconSize(picture.size());
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    button->resize(chartButtonSize(), chartButtonSize());
    return button;
}

void frmGraphique_Leq::buildControls()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Window);
    m_surface = new QWidget;
    m_surface->setObjectName(QStringLiteral("Surface"));
    m_surface->setAutoFillBackground(true);
    // The layout follows the room the window has (it scrolls only when
    // even the smallest layout does not fit).
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_surface);
    m_scroll->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    m_entete = makeLabel("Label_Entete", QString(), 10, true);
    m_date = makeLabel("Label_Date", QString(), 10, true);
    // In two rows where the window is too narrow for one.
    m_date->setWordWrap(true);
    m_date->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_newGraph = new QPushButton(QStringLiteral("New Diagram"), m_surface);
    m_newGraph->setObjectName(QStringLiteral("Cmd_New_Graph"));
    connect(m_newGraph, &QPushButton::clicked, this, &frmGraphique_Leq::Cmd_New_Graph_Click);

    m_graphiqueLeq10 = new PictureBox(QStringLiteral("Graphique_Leq10"), m_surface);
    m_graphiqueLeq1 = new PictureBox(QStringLiteral("Graphique_Leq1"), m_surface);
    m_labelLeq10 = makeLabel("Label_Leq10", QStringLiteral("Leq10  Level Diagram."), 8, true);
    m_labelLeq1 = makeLabel("Label_Leq1", QStringLiteral("Leq1  Level Diagram."), 8, true);
    for (QLabel *caption : {m_labelLeq10, m_labelLeq1})
        caption->setAlignment(Qt::AlignCenter);

    const QString zoomTip = QStringLiteral("Zoom + .");
    m_zoomLeq10 = makeButton(m_graphiqueLeq10, "Cmd_Zoom_Leq10", QStringLiteral("Zoom +"),
                             QStringLiteral("Zoom Leq 10.bmp"), zoomTip);
    m_zoomLeq1 = makeButton(m_graphiqueLeq1, "Cmd_Zoom_Leq1", QStringLiteral("Zoom +"),
                            QStringLiteral("Zoom Leq 1.bmp"), zoomTip);
    m_printLeq10 = makeButton(m_graphiqueLeq10, "Cmd_Print_Leq10", QStringLiteral("Print"),
                              QStringLiteral("Print.bmp"), QStringLiteral("Print"));
    m_printLeq1 = makeButton(m_graphiqueLeq1, "Cmd_Print_Leq1", QStringLiteral("Print"),
                             QStringLiteral("Print.bmp"), QStringLiteral("Print"));
    connect(m_zoomLeq10, &QToolButton::clicked, this, &frmGraphique_Leq::Cmd_Zoom_Leq10_Click);
    connect(m_zoomLeq1, &QToolButton::clicked, this, &frmGraphique_Leq::Cmd_Zoom_Leq1_Click);
    connect(m_printLeq10, &QToolButton::clicked, this, &frmGraphique_Leq::Cmd_Print_Leq10_Click);
    connect(m_printLeq1, &QToolButton::clicked, this, &frmGraphique_Leq::Cmd_Print_Leq1_Click);

    m_label3 = makeLabel("Label3", QStringLiteral("Leq10  Level chart :"), 8, true);
    m_listLeq10 = makeList("List_Leq10");
    m_labelListLeq1 = makeLabel("Label_List_Leq1", QStringLiteral("Leq1  Level Chart :"), 8, true);
    m_listLeq1 = makeList("List_Leq1");
    m_label4 = makeLabel("Label4", QStringLiteral("Event chart :"), 8, true);
    m_listDepassement = makeList("List_Depassement");
    connect(m_listLeq10, &QListWidget::itemClicked, this, &frmGraphique_Leq::List_Leq10_Click);
    connect(m_listLeq1, &QListWidget::itemClicked, this, &frmGraphique_Leq::List_Leq1_Click);

    // In the order of LevelLabel.
    for (const char *name :
         {"Label_Mini_Leq10", "Label_Maxi_Leq10", "Label_Mini_Leq1", "Label_Maxi_Leq1", "Label_Analyse",
          "Label_Source", "Label_Niveau_Leq_Jour", "Label_Niveau_Leq_Nuit", "Label_Niveau_Leq_Jour_Fenetre",
          "Label_Niveau_Leq_Nuit_Fenetre", "Label_Heure_Jour_Nuit", "Label_Heure_Nuit_Jour"})
        m_levelLabels << makeLabel(name, QString(), 8, true);
    m_miniLeq10 = m_levelLabels[index(LevelLabel::MiniLeq10)];
    m_maxiLeq10 = m_levelLabels[index(LevelLabel::MaxiLeq10)];
    m_miniLeq1 = m_levelLabels[index(LevelLabel::MiniLeq1)];
    m_maxiLeq1 = m_levelLabels[index(LevelLabel::MaxiLeq1)];
    m_analyse = m_levelLabels[index(LevelLabel::Analyse)];
    m_source = m_levelLabels[index(LevelLabel::Source)];
    m_niveauJour = m_levelLabels[index(LevelLabel::NiveauJour)];
    m_niveauNuit = m_levelLabels[index(LevelLabel::NiveauNuit)];
    m_niveauJourFenetre = m_levelLabels[index(LevelLabel::NiveauJourFenetre)];
    m_niveauNuitFenetre = m_levelLabels[index(LevelLabel::NiveauNuitFenetre)];
    m_heureJourNuit = m_levelLabels[index(LevelLabel::HeureJourNuit)];
    m_heureNuitJour = m_levelLabels[index(LevelLabel::HeureNuitJour)];
    m_seuilsVariables = makeLabel("Label_Seuils_Variables", thresholdsChangedText(), 8, true);
    m_seuilsVariables->setWordWrap(true);
    m_seuilsVariables->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_seuilsVariables->hide();

    for (PictureBox *box : {m_graphiqueLeq10, m_graphiqueLeq1}) {
        const Diagram d = box == m_graphiqueLeq10 ? Diagram::Leq10 : Diagram::Leq1;
        connect(box, &PictureBox::mouseDown, this,
                [this, d](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF p) {
                    emit diagramMouseDown(d, b, m, p);
                });
        connect(box, &PictureBox::mouseMove, this,
                [this, d](Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF p) {
                    emit diagramMouseMove(d, b, m, p);
                });
        connect(box, &PictureBox::mouseUp, this,
                [this, d](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF p) {
                    emit diagramMouseUp(d, b, m, p);
                });
    }
}

bool frmGraphique_Leq::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        layoutWindow();
    if (diagramEvent(watched, event))
        return true;
    return Form::eventFilter(watched, event);
}

ChartTextSizes frmGraphique_Leq::textSizes() const
{
    ChartTextSizes t;
    for (const QListWidget *list : {m_listLeq10, m_listLeq1, m_listDepassement}) {
        t.listLine = qMax(t.listLine, listLineWidth(list));
        t.listRow = qMax(t.listRow, QFontMetrics(list->font()).height() + 2);
    }
    for (const QLabel *label : {m_entete, m_date})
        t.header =
            qMax(t.header, label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2);
    for (const QLabel *label : m_levelLabels)
        t.levelLabel = qMax(t.levelLabel,
                            label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2);
    return t;
}

void frmGraphique_Leq::layoutWindow()
{
    const ChartLayout l = chartLayout(m_scroll->viewport()->size(), textSizes());
    m_surface->setMinimumSize(l.surface);
    m_entete->setGeometry(l.header);
    m_date->setGeometry(l.date);
    m_newGraph->setGeometry(l.newGraph);
    for (Diagram d : {Diagram::Leq10, Diagram::Leq1}) {
        const bool enlarged = m_chart.pane(d).isEnlarged();
        graphique(d)->setPixelGeometry(enlarged ? l.enlargedPicture : l.picture[std::size_t(index(d))]);
        caption(d)->setGeometry(enlarged ? l.enlargedCaption : l.caption[std::size_t(index(d))]);
        placeButtons(d);
    }
    const std::pair<QLabel *, QListWidget *> lists[] = {
        {m_label3, m_listLeq10}, {m_labelListLeq1, m_listLeq1}, {m_label4, m_listDepassement}};
    for (int i = 0; i < 3; ++i) {
        lists[i].first->setGeometry(l.listTitle[std::size_t(i)]);
        lists[i].second->setGeometry(l.list[std::size_t(i)]);
        fitListRows(lists[i].second, l.wrapLines);
    }
    for (int i = 0; i < LevelLabelCount; ++i)
        m_levelLabels[i]->setGeometry(l.levelLabel[std::size_t(i)]);
    m_seuilsVariables->setGeometry(l.thresholdNote);
}

void frmGraphique_Leq::Form_Load()
{
    Store &s = appStore();
    s.Zoom_Souris = false;
    s.Seuils_Prets = false;
    s.Repere_Leq10 = 0;
    s.Repere_Leq1 = 0;

    const QPixmap newGraph = loadImage(QStringLiteral("New Graphique.bmp"));
    if (!newGraph.isNull()) {
        m_newGraph->setIcon(newGraph);
        m_newGraph->setIconSize(newGraph.size());
    }

    Lire_Numero_Serie(s);
    m_entete->setText(chartHeader(s));
    m_date->setText(chartDateLine(s));
    m_printLeq1->hide();
    m_printLeq10->hide();

    Periode_Graphique(s, s.leqRowsForVersion());
    const bool hasPeriod = !s.periodRows(LeqTable::rowCount).isEmpty();
    if (s.isVersion5Family()) {
        if (hasPeriod) {
            Separer_Leq1_Leq10(s);
        } else {
            s.Leq1_Count = 1;
            s.Leq10_Count = 1;
        }
    } else {
        showUnavailableLeq1();
    }

    if (!hasPeriod)
        showNoData();
    else
        fillLists();
    const ListText events = Lignes_Evenements(s);
    fillList(m_listDepassement, events.lines, events.message);
    addLeqCsvExport(m_listLeq10, s, s.isVersion5Family() ? LeqSeries::Leq10 : LeqSeries::Leq);
    if (s.isVersion5Family())
        addLeqCsvExport(m_listLeq1, s, LeqSeries::Leq1);
    addEventsCsvExport(m_listDepassement, s, EventList::Chart);

    if (hasPeriod) {
        drawDiagrams();
        fillLevelLabels();
        // The period's figures beside the lowest and highest levels.
        const QString tip10 =
            chartStatisticsText(s, s.isVersion5Family() ? LeqSeries::Leq10 : LeqSeries::Leq);
        m_miniLeq10->setToolTip(tip10);
        m_maxiLeq10->setToolTip(tip10);
        m_miniLeq1->setToolTip(chartStatisticsText(s, LeqSeries::Leq1));
        m_maxiLeq1->setToolTip(m_miniLeq1->toolTip());
    }
    placeButtons(Diagram::Leq10);
    placeButtons(Diagram::Leq1);
}

void frmGraphique_Leq::showUnavailableLeq1()
{
    m_zoomLeq1->hide();
    Canvas &canvas = m_graphiqueLeq1->canvas();
    // No axes on this diagram: the note is placed in twips.
    canvas.setScale(0, 0, canvas.widthTwips(), canvas.heightTwips());
    canvas.setBold(true);
    canvas.setFontSize(12);
    canvas.text(UnavailableNoteLeftTwips, UnavailableNoteTopTwips, messageText(Message::Leq1Unavailable));
    canvas.setBold(false);
    canvas.setFontSize(8);
    listMessage(m_listLeq1, messageText(Message::Leq1Unavailable));
    for (QLabel *label : {m_miniLeq1, m_maxiLeq1, m_niveauJourFenetre, m_niveauNuitFenetre})
        label->hide();
}

void frmGraphique_Leq::showNoData()
{
    const Store &s = appStore();
    showMessage(QStringLiteral("No value saved for this period !!!"), QStringLiteral("No Leq Value !!!"),
                MsgIcon::Information);
    m_zoomLeq1->hide();
    m_zoomLeq10->hide();
    listMessage(m_listLeq10, messageText(Message::NoLeq10Value));
    if (s.isVersion5Family())
        listMessage(m_listLeq1, messageText(Message::NoLeq1Series));
    for (QLabel *label : {m_maxiLeq1, m_maxiLeq10, m_heureJourNuit, m_heureNuitJour, m_miniLeq1, m_miniLeq10,
                          m_niveauJour, m_niveauJourFenetre, m_niveauNuit, m_niveauNuitFenetre})
        label->hide();
}

void frmGraphique_Leq::fillLists()
{
    const Store &s = appStore();
    if (!s.isVersion5Family()) {
        fillList(m_listLeq10, Lignes_Tableau_Leq(s), false);
        return;
    }
    if (s.Leq10_Count > 1) {
        fillList(m_listLeq10, Lignes_Tableau_Leq10(s), false);
    } else {
        listMessage(m_listLeq10, messageText(Message::NoLeq10Series));
        m_miniLeq10->hide();
        m_maxiLeq10->hide();
    }
    if (s.Leq1_Count > 1) {
        fillList(m_listLeq1, Lignes_Tableau_Leq1(s), false);
    } else {
        listMessage(m_listLeq1, messageText(Message::NoLeq1Series));
        m_miniLeq1->hide();
        m_maxiLeq1->hide();
    }
}

void frmGraphique_Leq::applySeries(const SeriesOutcome &outcome)
{
    if (outcome.hideZoomLeq10)
        m_zoomLeq10->hide();
    if (outcome.hideZoomLeq1)
        m_zoomLeq1->hide();
}

void frmGraphique_Leq::drawDiagrams()
{
    Store &s = appStore();
    Canvas &leq10 = m_graphiqueLeq10->canvas();
    Canvas &leq1 = m_graphiqueLeq1->canvas();
    const bool v5 = s.isVersion5Family();
    Tracer_Axes(leq10, s, colours::Black);
    Tracer_Limite_Enregistrement(leq10, s, colours::Blue);
    if (v5) {
        m_zoomLeq1->show();
        Tracer_Axes(leq1, s, colours::Black);
    }
    const int days = s.Chart_Days;
    switch (days) {
    case 1:
        Analyse_Seuils_1J(s, showAnalysisMessage);
        break;
    case 3:
        Analyse_Seuils_3J(s, showAnalysisMessage);
        break;
    case 7:
        Analyse_Seuils_7J(s, showAnalysisMessage);
        break;
    default:
        return;
    }
    Tracer_Seuils(leq10, s, colours::Threshold);
    applySeries(Tracer_Serie(leq10, s, diagramSeries(s, Diagram::Leq10), days, colours::Red));
    if (v5) {
        applySeries(Tracer_Serie(leq1, s, diagramSeries(s, Diagram::Leq1), days, colours::Red));
        Tracer_Seuils(leq1, s, colours::Threshold);
    }
    m_graphiqueLeq10->update();
    m_graphiqueLeq1->update();
}

void frmGraphique_Leq::fillLevelLabels()
{
    const Store &s = appStore();
    const QString leq10 = QStringLiteral("Leq10"), leq1 = QStringLiteral("Leq1");
    if (!s.isVersion5Family()) {
        const LevelRange range = levelRange(s.Leq_Records, s.Period_First, s.Period_Last);
        m_miniLeq10->setText(minimumText(leq10, range.lowest));
        m_maxiLeq10->setText(maximumText(leq10, range.highest));
        const ThresholdTexts t = thresholdTextsV4(s);
        m_niveauJour->setText(t.jour);
        m_niveauNuit->setText(t.nuit);
        m_heureJourNuit->setText(t.heureJourNuit);
        m_heureNuitJour->setText(t.heureNuitJour);
        // Read as the parameter sheet reads it, so that both agree on every byte.
        const Measurement m = valuesFromBlock(s.Param_Block).measurement();
        m_analyse->setText(analysisText(m.analysis, false));
        m_source->setText(sourceText(m.source, m.sourceWeighting));
        return;
    }
    const LevelRange range10 = levelRange(s.Leq10_Records, 1, s.Leq10_Count - 1);
    m_miniLeq10->setText(minimumText(leq10, range10.lowest));
    m_maxiLeq10->setText(maximumText(leq10, range10.highest));
    const LevelRange range1 = levelRange(s.Leq1_Records, 1, s.Leq1_Count - 1);
    m_miniLeq1->setText(minimumText(leq1, range1.lowest));
    m_maxiLeq1->setText(maximumText(leq1, range1.highest));
    QLabel *const six[] = {m_heureJourNuit,     m_heureNuitJour, m_niveauJour,
                           m_niveauJourFenetre, m_niveauNuit,    m_niveauNuitFenetre};
    if (!thresholdLabelsShown(s)) {
        for (QLabel *label : six)
            label->hide();
        m_seuilsVariables->setVisible(thresholdsChangedShown(s));
        return;
    }
    const ThresholdTexts t = thresholdTextsV5(s);
    const QString texts[] = {t.heureJourNuit, t.heureNuitJour, t.jour, t.jourFenetre, t.nuit, t.nuitFenetre};
    for (int i = 0; i < 6; ++i)
        six[i]->setText(texts[i]);
}

void frmGraphique_Leq::redrawDiagram(Diagram diagram)
{
    const Store &s = appStore();
    if (s.periodRows(LeqTable::rowCount).isEmpty() || (diagram == Diagram::Leq1 && !s.isVersion5Family()))
        return;
    PictureBox *box = graphique(diagram);
    // The picture of the diagram's zoom state: small, enlarged or mouse-zoomed.
    applySeries(kvl::redrawDiagram(box->canvas(), s, diagram, m_chart));
    box->update();
}

void frmGraphique_Leq::placeButtons(Diagram diagram)
{
    PictureBox *box = graphique(diagram);
    const ButtonPixels p =
        buttonPixels(appStore().Chart_Days, m_chart.pane(diagram).isEnlarged(), box->width());
    zoomButton(diagram)->move(p.zoomLeft, chartButtonTop());
    printButton(diagram)->move(p.printLeft, chartButtonTop());
}

void frmGraphique_Leq::Cmd_New_Graph_Click()
{
    const int version = appStore().Device_Version;
    close();
    openForm(version == Version35 || version == Version40 ? QStringLiteral("frmInGraphique")
                                                          : QStringLiteral("frmInGraphique_v5"));
}

// Zoom, mouse and list handlers: ChartZoom.cpp; printing: ChartPrint.cpp.

} // namespace kvl

#include "charts/frmGraphique_Leq.h"

#include "charts/ChartPeriod.h"
#include "charts/ChartTexts.h"
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

// Placement of the controls, in twips from the top-left corner of the
// window's area. The diagrams keep the positions the zoom and printing
// code moves them between; the lists and labels fill the right half.
constexpr int SurfaceWidth = 15300;
constexpr int SurfaceHeight = 9660;
constexpr int Left = 30;
constexpr int HeaderTop = 60;
constexpr int DateTop = 420;
constexpr int HeaderWidth = 12600;
constexpr int HeaderHeight = 330;
constexpr int NewGraphLeft = 13080;
constexpr int NewGraphWidth = 2115;
constexpr int NewGraphHeight = 690;
constexpr int Leq10Top = 840;
constexpr int Leq1Top = 5220;
constexpr int CaptionLeq10Top = 4890;
constexpr int CaptionLeq1Top = 9240;
constexpr int CaptionWidth = 7485;
constexpr int CaptionHeight = 300;
constexpr int RightLeft = 7680;
constexpr int RightWidth = 7515;
constexpr int TitleHeight = 255;
constexpr int ListHeight = 1800;
constexpr int Leq10ListTop = 840;
constexpr int Leq1ListTop = 2970;
constexpr int EventListTop = 5100;
constexpr int LevelLabelsTop = 7290;
constexpr int LevelLabelRow = 285;
constexpr int LevelLabelWidth = 3700;
constexpr int SecondColumn = RightLeft + 3800;
// Zoom and print buttons inside a diagram, and the unavailable-analysis note.
constexpr int ButtonSize = 570;
constexpr int ButtonTop = 45;
constexpr int NoteLeft = 500;
constexpr int NoteTop = 1500;

// Distances of the zoom and print buttons from the diagram's right edge,
// in chart units: small or enlarged, 7 days or fewer.
struct ButtonDistances
{
    double zoom, print;
};
ButtonDistances buttonDistances(bool enlarged, int chartDays)
{
    if (enlarged)
        return chartDays == 7 ? ButtonDistances{1.45, 2.9} : ButtonDistances{1.25, 2.5575};
    return chartDays == 7 ? ButtonDistances{2.9, 5.85} : ButtonDistances{2.6, 5.2};
}

// Width in chart units of a whole diagram of the chart length.
double chartUnits(int chartDays)
{
    return chartDays == 7 ? 34.0 : 30.0;
}

QFont listFont(bool message)
{
    QFont font;
    font.setPointSize(message ? 12 : 8);
    font.setBold(message);
    return font;
}

// Lists of a week hold hundreds of lines of nearly equal width: the view
// lays them out as rows of one size, the first row sized for the longest
// line (with a margin for letters of different widths), instead of measuring
// every line when the window opens.
void fillList(QListWidget *list, const QStringList &lines, bool message)
{
    const QFont font = listFont(message);
    list->setFont(font);
    list->setUniformItemSizes(true);
    list->addItems(lines);
    if (lines.isEmpty())
        return;
    const QString *longest = &lines.first();
    for (const QString &line : lines)
        if (line.size() > longest->size())
            longest = &line;
    const QFontMetrics metrics(font);
    const int margin = 3 * metrics.horizontalAdvance(QLatin1Char('W'));
    list->item(0)->setSizeHint(QSize(metrics.horizontalAdvance(*longest) + margin, metrics.height() + 2));
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
}

QLabel *frmGraphique_Leq::makeLabel(const char *name, const QString &text, int left, int top, int width,
                                    int pointSize, bool bold)
{
    auto *label = new QLabel(text, m_surface);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAutoFillBackground(true);
    label->setGeometry(twips(left), twips(top), twips(width),
                       twips(pointSize > 8 ? HeaderHeight : TitleHeight));
    return label;
}

QListWidget *frmGraphique_Leq::makeList(const char *name, int left, int top, int width, int height)
{
    auto *list = new QListWidget(m_surface);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(twips(left), twips(top), twips(width), twips(height));
    list->setFont(listFont(false));
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
    button->resize(twips(ButtonSize), twips(ButtonSize));
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
    // Never smaller than the designed area (the window scrolls instead); on
    // a larger screen the lists take the extra room.
    m_surface->setMinimumSize(twips(SurfaceWidth), twips(SurfaceHeight));
    m_surface->installEventFilter(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_surface);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    m_entete = makeLabel("Label_Entete", QString(), Left, HeaderTop, HeaderWidth, 10, true);
    m_date = makeLabel("Label_Date", QString(), Left, DateTop, HeaderWidth, 10, true);

    m_newGraph = new QPushButton(QStringLiteral("New Diagram"), m_surface);
    m_newGraph->setObjectName(QStringLiteral("Cmd_New_Graph"));
    m_newGraph->setGeometry(twips(NewGraphLeft), twips(HeaderTop), twips(NewGraphWidth),
                            twips(NewGraphHeight));
    connect(m_newGraph, &QPushButton::clicked, this, &frmGraphique_Leq::Cmd_New_Graph_Click);

    m_graphiqueLeq10 = new PictureBox(QStringLiteral("Graphique_Leq10"), m_surface);
    m_graphiqueLeq10->moveTwips(Left, Leq10Top);
    m_graphiqueLeq1 = new PictureBox(QStringLiteral("Graphique_Leq1"), m_surface);
    m_graphiqueLeq1->moveTwips(Left, Leq1Top);
    m_labelLeq10 = makeLabel("Label_Leq10", QStringLiteral("Leq10  Level Diagram."), Left, CaptionLeq10Top,
                             CaptionWidth, 8, true);
    m_labelLeq1 = makeLabel("Label_Leq1", QStringLiteral("Leq1  Level Diagram."), Left, CaptionLeq1Top,
                            CaptionWidth, 8, true);
    for (QLabel *caption : {m_labelLeq10, m_labelLeq1}) {
        caption->setAlignment(Qt::AlignCenter);
        caption->resize(caption->width(), twips(CaptionHeight));
    }

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

    m_label3 = makeLabel("Label3", QStringLiteral("Leq10  Level chart :"), RightLeft, Leq10ListTop,
                         RightWidth, 8, true);
    m_listLeq10 = makeList("List_Leq10", RightLeft, Leq10ListTop + TitleHeight, RightWidth, ListHeight);
    m_labelListLeq1 = makeLabel("Label_List_Leq1", QStringLiteral("Leq1  Level Chart :"), RightLeft,
                                Leq1ListTop, RightWidth, 8, true);
    m_listLeq1 = makeList("List_Leq1", RightLeft, Leq1ListTop + TitleHeight, RightWidth, ListHeight);
    m_label4 =
        makeLabel("Label4", QStringLiteral("Event chart :"), RightLeft, EventListTop, RightWidth, 8, true);
    m_listDepassement =
        makeList("List_Depassement", RightLeft, EventListTop + TitleHeight, RightWidth, ListHeight);
    connect(m_listLeq10, &QListWidget::itemClicked, this, &frmGraphique_Leq::List_Leq10_Click);
    connect(m_listLeq1, &QListWidget::itemClicked, this, &frmGraphique_Leq::List_Leq1_Click);

    auto levelLabel = [this](const char *name, int column, int row) {
        QLabel *label = makeLabel(name, QString(), column, LevelLabelsTop + row * LevelLabelRow,
                                  LevelLabelWidth, 8, true);
        label->setProperty("designTop", label->y());
        m_levelLabels << label;
        return label;
    };
    m_miniLeq10 = levelLabel("Label_Mini_Leq10", RightLeft, 0);
    m_maxiLeq10 = levelLabel("Label_Maxi_Leq10", RightLeft, 1);
    m_miniLeq1 = levelLabel("Label_Mini_Leq1", RightLeft, 2);
    m_maxiLeq1 = levelLabel("Label_Maxi_Leq1", RightLeft, 3);
    m_analyse = levelLabel("Label_Analyse", RightLeft, 4);
    m_source = levelLabel("Label_Source", RightLeft, 5);
    m_niveauJour = levelLabel("Label_Niveau_Leq_Jour", SecondColumn, 0);
    m_niveauNuit = levelLabel("Label_Niveau_Leq_Nuit", SecondColumn, 1);
    m_niveauJourFenetre = levelLabel("Label_Niveau_Leq_Jour_Fenetre", SecondColumn, 2);
    m_niveauNuitFenetre = levelLabel("Label_Niveau_Leq_Nuit_Fenetre", SecondColumn, 3);
    m_heureJourNuit = levelLabel("Label_Heure_Jour_Nuit", SecondColumn, 4);
    m_heureNuitJour = levelLabel("Label_Heure_Nuit_Jour", SecondColumn, 5);

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
    if (watched == m_surface && event->type() == QEvent::Resize)
        fitRightColumn();
    if (diagramEvent(watched, event))
        return true;
    return Form::eventFilter(watched, event);
}

void frmGraphique_Leq::fitRightColumn()
{
    const int extraWidth = qMax(0, m_surface->width() - twips(SurfaceWidth));
    const int extraHeight = qMax(0, m_surface->height() - twips(SurfaceHeight));
    const int listExtra = extraHeight / 3;
    const int width = twips(RightWidth) + extraWidth;
    const int gap = twips(Leq1ListTop - Leq10ListTop - TitleHeight - ListHeight);
    int top = twips(Leq10ListTop);
    const std::pair<QLabel *, QListWidget *> lists[] = {
        {m_label3, m_listLeq10}, {m_labelListLeq1, m_listLeq1}, {m_label4, m_listDepassement}};
    for (const auto &[title, list] : lists) {
        title->setGeometry(twips(RightLeft), top, width, twips(TitleHeight));
        top += twips(TitleHeight);
        list->setGeometry(twips(RightLeft), top, width, twips(ListHeight) + listExtra);
        top += list->height() + gap;
    }
    const int labelsShift = 3 * listExtra;
    for (QLabel *label : m_levelLabels)
        label->move(label->x(), label->property("designTop").toInt() + labelsShift);
    m_newGraph->move(twips(NewGraphLeft) + extraWidth, m_newGraph->y());
    m_entete->resize(twips(HeaderWidth) + extraWidth, m_entete->height());
    m_date->resize(twips(HeaderWidth) + extraWidth, m_date->height());
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
    canvas.text(NoteLeft, NoteTop, messageText(Message::Leq1Unavailable));
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
    const int days = appStore().Chart_Days;
    const ButtonDistances d = buttonDistances(box->widthTwips() == LargeWidthTwips, days);
    const double pixelsPerUnit = box->width() / chartUnits(days);
    const int top = twips(ButtonTop);
    zoomButton(diagram)->move(box->width() - qRound(d.zoom * pixelsPerUnit), top);
    printButton(diagram)->move(box->width() - qRound(d.print * pixelsPerUnit), top);
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

#pragma once

// The chart window: the Leq10 (or Leq) and Leq1 diagrams of the chosen
// period, beside them the lists of the period's records and events, and the
// level, threshold and hour labels. Everything is built once, when it opens.

#include "charts/ChartDraw.h"
#include "charts/ChartLayout.h"
#include "charts/ChartState.h"
#include "shell/Forms.h"

class QLabel;
class QPagedPaintDevice;
class QListWidget;
class QScrollArea;
class QToolButton;
class QPushButton;

namespace kvl {

class PictureBox;

class frmGraphique_Leq : public Form
{
    Q_OBJECT
public:
    frmGraphique_Leq();

    PictureBox *graphique(Diagram diagram) const
    {
        return diagram == Diagram::Leq10 ? m_graphiqueLeq10 : m_graphiqueLeq1;
    }
    QToolButton *zoomButton(Diagram diagram) const
    {
        return diagram == Diagram::Leq10 ? m_zoomLeq10 : m_zoomLeq1;
    }
    QToolButton *printButton(Diagram diagram) const
    {
        return diagram == Diagram::Leq10 ? m_printLeq10 : m_printLeq1;
    }
    QLabel *caption(Diagram diagram) const { return diagram == Diagram::Leq10 ? m_labelLeq10 : m_labelLeq1; }
    // The control a zoom button click hides or shows, for a click on this diagram.
    QWidget *control(ChartControl c, Diagram clicked) const;
    // The area everything is placed on, in twips from its top-left corner.
    QWidget *surface() const { return m_surface; }

    // Full redraw of one diagram from the store: clear, axes (enlarged
    // furniture when the box has its enlarged size), the recording-limit
    // band on the Leq10 diagram, the threshold staircase, the series of the
    // chart length and the list marker when one is set.
    void redrawDiagram(Diagram diagram);

    // Places a diagram's zoom and print buttons at their distance from the
    // right edge of the diagram, in chart units.
    void placeButtons(Diagram diagram);

    void Cmd_New_Graph_Click();
    // Zoom and print of a diagram; filled in by the zoom and printing work.
    void Cmd_Zoom_Leq10_Click();
    void Cmd_Zoom_Leq1_Click();
    void Cmd_Print_Leq10_Click();
    void Cmd_Print_Leq1_Click();
    void List_Leq10_Click();
    void List_Leq1_Click();

    // Zoom state of the two diagrams.
    const ChartState &chartState() const { return m_chart; }
    // Prints the enlarged diagram on a printer chosen by the user: false when
    // cancelled or when the printer failed. The window is the same afterwards.
    bool printDiagram(Diagram diagram);
    // Paints the window area, as it is, scaled to the device's page.
    bool paintWindow(QPagedPaintDevice &device);

signals:
    // Mouse on a diagram, in the diagram's current chart coordinates.
    void diagramMouseDown(Diagram diagram, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                          QPointF chart);
    void diagramMouseMove(Diagram diagram, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                          QPointF chart);
    void diagramMouseUp(Diagram diagram, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF chart);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // Places every control for the room the window has (core's layout).
    void layoutWindow();
    ChartTextSizes textSizes() const;
    void Form_Load();
    void showUnavailableLeq1();
    void showNoData();
    void fillLists();
    void drawDiagrams();
    void fillLevelLabels();
    void applySeries(const SeriesOutcome &outcome);
    QLabel *makeLabel(const char *name, const QString &text, int pointSize = 8, bool bold = false);
    QListWidget *makeList(const char *name);
    QToolButton *makeButton(QWidget *parent, const char *name, const QString &text, const QString &image,
                            const QString &toolTip);

    // Zoom, mouse selection, list markers and the mouse extras (ChartZoom.cpp).
    void setupZoom();
    // Wheel, hover and context menu on a picture box; true when used up.
    bool diagramEvent(QObject *watched, QEvent *event);
    void keepMarker(Diagram diagram);
    void restoreMarkers();
    void syncZoom(Diagram diagram);
    void zoomClicked(Diagram diagram);
    void listClicked(Diagram diagram);
    void zoomMouseDown(Diagram diagram, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF chart);
    void zoomMouseMove(Diagram diagram, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF chart);
    void zoomMouseUp(Diagram diagram, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF chart);

    QScrollArea *m_scroll = nullptr;
    QWidget *m_surface = nullptr;
    QLabel *m_entete = nullptr, *m_date = nullptr;
    PictureBox *m_graphiqueLeq10 = nullptr, *m_graphiqueLeq1 = nullptr;
    QLabel *m_labelLeq10 = nullptr, *m_labelLeq1 = nullptr;
    QLabel *m_label3 = nullptr, *m_labelListLeq1 = nullptr, *m_label4 = nullptr;
    QListWidget *m_listLeq10 = nullptr, *m_listLeq1 = nullptr, *m_listDepassement = nullptr;
    QLabel *m_miniLeq10 = nullptr, *m_maxiLeq10 = nullptr, *m_miniLeq1 = nullptr, *m_maxiLeq1 = nullptr;
    QLabel *m_niveauJour = nullptr, *m_niveauNuit = nullptr;
    QLabel *m_niveauJourFenetre = nullptr, *m_niveauNuitFenetre = nullptr;
    QLabel *m_heureJourNuit = nullptr, *m_heureNuitJour = nullptr;
    QLabel *m_analyse = nullptr, *m_source = nullptr;
    QLabel *m_seuilsVariables = nullptr;
    QList<QLabel *> m_levelLabels;
    QPushButton *m_newGraph = nullptr;
    QToolButton *m_zoomLeq10 = nullptr, *m_zoomLeq1 = nullptr;
    QToolButton *m_printLeq10 = nullptr, *m_printLeq1 = nullptr;

    ChartState m_chart;
    // A right-button drag in progress: the range and scale it started from.
    bool m_panning = false, m_panMoved = false, m_menuAllowed = false;
    ZoomRange m_panFrom;
    Scale m_panScale;
    QPointF m_panPixel;
    double m_wheelRest = 0;
};

} // namespace kvl

#include "tables/frmTableau_Leq_V5.h"

#include "shell/CsvExport.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/Period.h"
#include "tables/TableHeaders.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kvl {

namespace {

// Width a list needs to show its longest line without scrolling sideways.
int widthForLines(const QListWidget *list)
{
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = qMax(widest, metrics.horizontalAdvance(list->item(i)->text()));
    // Item margins, the frame and the vertical scroll bar.
    return widest + 12 + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
}

} // namespace

frmTableau_Leq_V5::frmTableau_Leq_V5()
    : TableForm(QStringLiteral("frmTableau_Leq_V5"), &openFlags().Open_frmTableau_Leq_V5,
                QStringLiteral("Leq Value Chart."), QStringLiteral("New Chart"))
{
    Store &store = appStore();
    Lire_Numero_Serie(store);
    m_serial->setText(serialNumberLine(store, TableWindow::LeqV5));

    m_columns = new QBoxLayout(QBoxLayout::LeftToRight);
    QBoxLayout *columns = m_columns;
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    m_entete10 = makeLabel(QStringLiteral("Label_Entete10"), 10, true);
    m_entete1 = makeLabel(QStringLiteral("Label_Entete1"), 10, true);
    m_list10 = makeList(QStringLiteral("List_Leq10"));
    m_list1 = makeList(QStringLiteral("List_Leq1"));
    left->addWidget(m_entete10);
    left->addWidget(m_list10, 1);
    addNote(QStringLiteral("Label1"),
            QStringLiteral("Attention : Leq10  is saved when it is superior or equal to 70 dB."), left);
    right->addWidget(m_entete1);
    right->addWidget(m_list1, 1);
    addNote(QStringLiteral("Label2"),
            QStringLiteral("Attention :  Leq1 is saved when it is superior or equal to order level."), right);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    m_layout->addLayout(columns, 1);
    addButtons();

    store.Leq_Count = leqRows(store.Device_Version);
    Periode_Leq(store, store.Leq_Count);
    m_entete10->setText(leq10Header(store));
    m_entete1->setText(leq1Header(store));
    if (!store.periodRows(LeqTable::rowCount).isEmpty()) {
        Separer_Leq1_Leq10(store);
    } else {
        store.Leq1_Count = 1;
        store.Leq10_Count = 1;
    }
    m_has10 = store.Leq10_Count > 1;
    m_has1 = store.Leq1_Count > 1;
    fillList(m_list10, m_has10 ? ListText{Lignes_Tableau_Leq10(store), false}
                               : emptyPeriodList(messageText(Message::EmptyLeq10Table)));
    fillList(m_list1, m_has1 ? ListText{Lignes_Tableau_Leq1(store), false}
                             : emptyPeriodList(messageText(Message::EmptyLeq1Table)));
    setPrintable(m_has10 || m_has1);
    addLeqCsvExport(m_list10, store, LeqSeries::Leq10);
    addLeqCsvExport(m_list1, store, LeqSeries::Leq1);
    m_lineWidth = qMax(widthForLines(m_list10), widthForLines(m_list1));
}

void frmTableau_Leq_V5::resizeEvent(QResizeEvent *event)
{
    const QMargins margins = m_layout->contentsMargins();
    const int room = event->size().width() - margins.left() - margins.right() - m_columns->spacing();
    const auto direction = room >= 2 * m_lineWidth ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (m_columns->direction() != direction)
        m_columns->setDirection(direction);
    TableForm::resizeEvent(event);
}

PrintDocument frmTableau_Leq_V5::printLayout() const
{
    return leqV5TablePrint(PrintedList{m_serial->text(), m_entete10->text(), itemsOf(m_list10), m_has10},
                           PrintedList{m_serial->text(), m_entete1->text(), itemsOf(m_list1), m_has1});
}

} // namespace kvl

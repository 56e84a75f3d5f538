#include "tables/frmTableau_Leq.h"

#include "shell/CsvExport.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/Period.h"
#include "tables/TableHeaders.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kvl {

frmTableau_Leq::frmTableau_Leq()
    : TableForm(QStringLiteral("frmTableau_Leq"), &openFlags().Open_frmTableau_Leq,
                QStringLiteral("Leq Chart"), QStringLiteral("New Chart"))
{
    Store &store = appStore();
    Lire_Numero_Serie(store);
    m_serial->setText(serialNumberLine(store, TableWindow::Leq));

    m_entete = makeLabel(QStringLiteral("Label_Entete"), 10, true);
    m_entete->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_entete);
    m_list = makeList(QStringLiteral("List_Leq"));
    m_layout->addWidget(m_list, 1);
    addNote(QStringLiteral("Label1"),
            QStringLiteral("Attention : Leq10 Level  is  saved when it is superior or  équal to 70 dB"),
            m_layout);
    addButtons();

    store.Leq_Count = leqRows(store.Device_Version);
    Periode_Leq(store, store.Leq_Count);
    m_entete->setText(leqHeader(store));

    m_hasRows = !store.periodRows(LeqTable::rowCount).isEmpty();
    setPrintable(m_hasRows);
    fillList(m_list, m_hasRows ? ListText{Lignes_Tableau_Leq(store), false}
                               : emptyPeriodList(messageText(Message::EmptyLeqTable)));
    addLeqCsvExport(m_list, store, LeqSeries::Leq);
}

PrintDocument frmTableau_Leq::printLayout() const
{
    return leqTablePrint(PrintedList{m_serial->text(), m_entete->text(), itemsOf(m_list), m_hasRows});
}

} // namespace kvl

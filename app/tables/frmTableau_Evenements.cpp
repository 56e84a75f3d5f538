#include "tables/frmTableau_Evenements.h"

#include "shell/CsvExport.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/Period.h"
#include "tables/TableHeaders.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kvl {

frmTableau_Evenements::frmTableau_Evenements()
    : TableForm(QStringLiteral("frmTableau_Evenements"), &openFlags().Open_frmTableau_Evenements,
                QStringLiteral("Event Chart"), QStringLiteral("New events chart"))
{
    Store &store = appStore();
    Lire_Numero_Serie(store);
    m_serial->setText(serialNumberLine(store, TableWindow::Events));

    m_entete = makeLabel(QStringLiteral("Label_Entete"), 10, true);
    m_entete->setAlignment(Qt::AlignCenter);
    m_entete->setText(eventsHeader(store));
    m_layout->addWidget(m_entete);
    m_singleDay = isSingleDay(store);

    m_list = makeList(QStringLiteral("List_Evenements"));
    m_layout->addWidget(m_list, 1);
    addButtons();

    Periode_Evenements(store);
    m_hasRows = !store.periodRows(EventTable::rowCount).isEmpty();
    addEventsCsvExport(m_list, store, EventList::Table);
    if (!m_hasRows) {
        setPrintable(false);
        fillList(m_list, emptyPeriodList(messageText(Message::EmptyEventTable)));
        return;
    }
    setPrintable(true);
    fillList(m_list, ListText{eventTableLines(store), false});
}

PrintDocument frmTableau_Evenements::printLayout() const
{
    return eventsTablePrint(PrintedList{m_serial->text(), m_entete->text(), itemsOf(m_list), m_hasRows},
                            m_singleDay);
}

} // namespace kvl

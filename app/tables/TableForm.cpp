#include "tables/TableForm.h"

#include "tables/TablePrinter.h"

#include "shell/PrintOutput.h"
#include "shell/PrintWindow.h"
#include "shell/Seams.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

QPushButton *makeButton(const QString &name, const QString &caption, const QString &image)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(name);
    button->setIcon(QIcon(loadImage(image)));
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(120, 44);
    return button;
}

// Restores the window after printing, whatever happened.
class PrintingGuard
{
public:
    explicit PrintingGuard(QWidget *window) : m_window(window)
    {
        m_window->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~PrintingGuard()
    {
        QApplication::restoreOverrideCursor();
        m_window->setEnabled(true);
    }

private:
    QWidget *m_window;
};

} // namespace

TableForm::TableForm(const QString &name, bool *openFlag, const QString &caption, const QString &newCaption)
    : Form(name, openFlag, true, Form::View), m_newCaption(newCaption)
{
    setWindowTitle(caption);
    m_layout = new QVBoxLayout(this);
    m_serial = makeLabel(QStringLiteral("Label_Serial_Number"), 10, true);
    m_serial->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_serial);
}

QLabel *TableForm::makeLabel(const QString &name, int pointSize, bool bold)
{
    auto *label = new QLabel;
    label->setObjectName(name);
    QFont f = label->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    label->setFont(f);
    // Long period and serial lines wrap rather than widen the window past a small screen.
    label->setWordWrap(true);
    return label;
}

QListWidget *TableForm::makeList(const QString &name)
{
    auto *list = new QListWidget;
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumHeight(120);
    return list;
}

QLabel *TableForm::addNote(const QString &name, const QString &text, QVBoxLayout *layout)
{
    QLabel *label = makeLabel(name, 8, false);
    label->setText(text);
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

void TableForm::addButtons()
{
    m_new = makeButton(QStringLiteral("Cmd_New_Tableau"), m_newCaption, QStringLiteral("New Tableau.bmp"));
    m_print = makeButton(QStringLiteral("Cmd_Print"), QStringLiteral("Print"), QStringLiteral("Print.bmp"));
    m_exit = makeButton(QStringLiteral("Cmd_Exit"), QStringLiteral("Quit"), QStringLiteral("Exit.jpg"));
    connect(m_new, &QPushButton::clicked, this, &TableForm::Cmd_New_Tableau_Click);
    connect(m_print, &QPushButton::clicked, this, [this] { Cmd_Print_Click(); });
    connect(m_exit, &QPushButton::clicked, this, &TableForm::Cmd_Exit_Click);

    m_buttons = new QGridLayout;
    m_buttons->setColumnStretch(0, 1);
    m_buttons->setColumnStretch(4, 1);
    m_buttons->addWidget(m_new, 0, 1);
    m_buttons->addWidget(m_print, 0, 2);
    m_buttons->addWidget(m_exit, 0, 3);
    m_layout->addLayout(m_buttons);
}

void TableForm::setPrintable(bool printable)
{
    m_buttons->removeWidget(m_new);
    m_buttons->addWidget(m_new, 0, printable ? 1 : 2);
    m_print->setVisible(printable);
}

void TableForm::fillList(QListWidget *list, const ListText &text)
{
    QFont f = list->font();
    f.setPointSize(text.message ? 12 : 8);
    f.setBold(text.message);
    list->setFont(f);
    list->addItems(text.lines);
}

QStringList TableForm::itemsOf(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

bool TableForm::Cmd_Print_Click()
{
    const PrintDocument document = printLayout();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(printDocumentName(windowTitle()));
    if (!dialogs().choosePrinter(this, printer))
        return false;
    return printPages(printer, [this, &document](QPagedPaintDevice &device) {
        PrintingGuard guard(this);
        // A printer that fails ends silently; pages already ended stay printed.
        return paintTablePages(device, document);
    });
}

void TableForm::Cmd_New_Tableau_Click()
{
    close();
    openForm(QStringLiteral("frmInTableau"));
}

void TableForm::Cmd_Exit_Click()
{
    close();
}

} // namespace kvl

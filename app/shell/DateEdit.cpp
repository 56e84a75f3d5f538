#include "shell/DateEdit.h"

#include "store/TypedDate.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kvl {

namespace {

bool isDateCharacter(const QString &text)
{
    return text.size() == 1 && (text[0].isDigit() || QStringLiteral("/.- ").contains(text[0]));
}

} // namespace

DateEdit::DateEdit(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
}

DateEdit *periodPicker(const QString &objectName)
{
    auto *picker = new DateEdit;
    picker->setObjectName(objectName);
    picker->setDateRange(QDate(2000, 1, 1), QDate(2098, 12, 31));
    picker->setMinimumWidth(140);
    return picker;
}

void DateEdit::showTyped(const QString &text)
{
    // The picker would read a half-typed date section by section: it only
    // sees the whole date.
    QLineEdit *line = lineEdit();
    const bool blocked = line->blockSignals(true);
    line->setText(text);
    line->blockSignals(blocked);
}

void DateEdit::finishTyping()
{
    if (!m_typing)
        return;
    m_typing = false;
    const QDate typed = parseTypedDate(m_typed);
    m_typed.clear();
    if (typed.isValid() && typed >= minimumDate() && typed <= maximumDate())
        setDate(typed);
    showTyped(date().toString(displayFormat()));
}

void DateEdit::focusOutEvent(QFocusEvent *event)
{
    finishTyping();
    QDateEdit::focusOutEvent(event);
}

void DateEdit::keyPressEvent(QKeyEvent *event)
{
    const QLineEdit *line = lineEdit();
    const bool wholeSelected = line->hasSelectedText() && line->selectedText() == line->text();
    if (!m_typing && isDateCharacter(event->text()) && wholeSelected) {
        m_typing = true;
        m_typed.clear();
    }
    if (!m_typing) {
        // A digit at the start of a day, month or year retypes that part.
        if (event->text().size() == 1 && event->text()[0].isDigit() && !line->hasSelectedText()) {
            const int at = line->cursorPosition();
            if (at == 0 || !line->text()[at - 1].isDigit())
                setSelectedSection(currentSection());
        }
        QDateEdit::keyPressEvent(event);
        return;
    }
    if (isDateCharacter(event->text())) {
        if (isTypedDatePrefix(m_typed + event->text()))
            m_typed += event->text();
        showTyped(m_typed);
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        m_typed.chop(1);
        showTyped(m_typed);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        m_typed.clear();
        finishTyping();
    }
    // Enter, Tab and the rest: the typed date first, then what the key does.
    finishTyping();
    QDateEdit::keyPressEvent(event);
}

QLabel *addDialogTitle(QBoxLayout *layout, const QString &text)
{
    auto *title = new QLabel(text);
    title->setObjectName(QStringLiteral("Label7"));
    QFont font = title->font();
    font.setPointSize(12);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    return title;
}

OkCancel addOkCancelRow(QBoxLayout *layout)
{
    OkCancel b;
    b.ok = new QPushButton(QStringLiteral("Ok"));
    b.ok->setObjectName(QStringLiteral("Cmd_Ok"));
    b.cancel = new QPushButton(QStringLiteral("Cancel"));
    b.cancel->setObjectName(QStringLiteral("Cmd_Annuler"));
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    row->addStretch();
    layout->addLayout(row);
    return b;
}

} // namespace kvl

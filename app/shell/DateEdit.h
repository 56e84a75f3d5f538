#pragma once

// The period dialogs' date field: the platform's date picker (sections,
// arrows, calendar) that also takes a date typed whole over the selected
// field (after Ctrl+A, or as it gets the focus), in the usual forms
// (dd/mm/yyyy, d.m.yy, ddmmyyyy).

#include <QDateEdit>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace kvl {

class DateEdit : public QDateEdit
{
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Ends a date typed whole: its date when it is one, else the field's
    // date shown again.
    void finishTyping();
    void showTyped(const QString &text);

    bool m_typing = false;
    QString m_typed;
};

// A period dialog's start or end field: the days the device can record
// (two-digit years from 2000 on).
DateEdit *periodPicker(const QString &objectName);

// A period dialog's title: 12-point bold, centred, added to the layout.
QLabel *addDialogTitle(QBoxLayout *layout, const QString &text);

// A period dialog's "Ok" and "Cancel" buttons, centred in a row added to the
// layout.
struct OkCancel
{
    QPushButton *ok = nullptr, *cancel = nullptr;
};
OkCancel addOkCancelRow(QBoxLayout *layout);

} // namespace kvl

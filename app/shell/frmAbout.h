#pragma once

#include <QWidget>

namespace kvl {

// The About box.
class frmAbout : public QWidget
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *mainWindow);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *m_main;
};

} // namespace kvl

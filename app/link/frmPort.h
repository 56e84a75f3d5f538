#pragma once

#include "shell/Forms.h"

#include <array>

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace kvl {

// "Communication Port Selection": the serial port and the device version.
class frmPort : public Form
{
    Q_OBJECT
public:
    frmPort();

    // Port button n (1..16).
    QRadioButton *Option_COM(int index) const { return m_ports[std::size_t(index)]; }

    void Option_COM_Click(int index);
    void Option_COM_DblClick(int index);
    void Cmd_Ok_Click();

    // Main window captions.
    static QString portCaption(int deviceVersion, int port);
    static const QString NoPortCaptionOk;
    static const QString NoPortCaptionUnload;

protected:
    void formUnload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void probePorts();
    int selectedPort() const;

    std::array<QRadioButton *, 17> m_ports{};
    QRadioButton *m_kvl36, *m_v5, *m_v4, *m_v3;
    QButtonGroup *m_portGroup;
    QPushButton *m_ok;
};

} // namespace kvl

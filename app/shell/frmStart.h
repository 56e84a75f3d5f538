#pragma once

#include <QWidget>

namespace kvl {

// The start-up splash: logo, title and two pictures of the device.
class frmStart : public QWidget
{
    Q_OBJECT
public:
    explicit frmStart(QWidget *centreOn = nullptr);
};

} // namespace kvl

#pragma once

#include "link/SerialLine.h"

#include <QObject>
#include <QSerialPort>

namespace kvl {

// The serial line on QSerialPort. It takes in every byte as soon as it
// arrives, so none is lost however late the transfer looks at the count.
class QtSerialLine : public QObject, public SerialLine
{
    Q_OBJECT
public:
    explicit QtSerialLine(QObject *parent = nullptr);
    ~QtSerialLine() override;

    void setPort(int number) override { m_number = number; }
    int port() const override { return m_number; }
    void setSettings(const QString &settings) override;
    void setDtr(bool on) override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    int inBufferCount() override;
    void clearInput() override;
    QByteArray readAll() override;
    bool writeByte(quint8 byte) override;
    bool lost() const override { return m_lost; }

private:
    void drain();
    void markLost();
    void applySettings();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QByteArray m_buffer;
    LineSettings m_settings;
    int m_number = 0;
    bool m_dtr = false;
    bool m_lost = false;
};

} // namespace kvl

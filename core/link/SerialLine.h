#pragma once

// What the transfer asks of a serial port, the serial control's properties:
// a port number, a settings string, DTR, open and
// close, the count of buffered input, emptying it, reading it all and
// writing one byte. The program implements it with QSerialPort, the unit
// tests with an in-process fake device.

#include <QByteArray>
#include <QString>

namespace kvl {

class SerialLine
{
public:
    virtual ~SerialLine() = default;

    // "COM n" number, 1..16. Takes effect at the next open.
    virtual void setPort(int number) = 0;
    virtual int port() const = 0;

    // Speed, parity, data bits, stop bits: "56000,N,8,1". A line that cannot
    // do a speed (a pseudo-terminal) ignores it.
    virtual void setSettings(const QString &settings) = 0;

    // Ignored by lines without a DTR signal.
    virtual void setDtr(bool on) = 0;

    // Opens the port; true when it is then open.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Bytes received and not read yet.
    virtual int inBufferCount() = 0;
    // Throws away what was received and not read.
    virtual void clearInput() = 0;
    // Everything received and not read.
    virtual QByteArray readAll() = 0;
    // Sends one byte; false when it could not be written.
    virtual bool writeByte(quint8 byte) = 0;

    // True once an open port has gone away (adapter unplugged, the other end
    // hung up) until the next successful open.
    virtual bool lost() const = 0;
};

// Parsed settings string; ok is false when the text is not of that form.
struct LineSettings
{
    int baud = 0;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    bool ok = false;
};
LineSettings parseLineSettings(const QString &settings);

} // namespace kvl

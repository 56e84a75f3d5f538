#pragma once

// Plausibility of a received memory image. The protocol has no header and no
// checksum, so bytes still on the line from an earlier, cancelled transfer
// would otherwise be taken for the start of a new image. What the device
// always writes in a known form is checked: the firmware digits (5.X and
// "KVL 36"), the BCD digits of the serial number, and the level of every
// record with a valid date.

#include <QByteArray>
#include <QString>

namespace kvl {

enum class ImageFault { None, Firmware, SerialNumber, Level };

// The memory image (the answer to command 0x01) of a device version.
ImageFault checkImage(const QByteArray &image, int version);

// The 514-byte parameter answer of firmware 3.5.
ImageFault checkParameterAnswer(const QByteArray &answer);

// What a user reads about a fault ("" for None).
QString imageFaultText(ImageFault fault);

} // namespace kvl

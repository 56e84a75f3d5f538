#pragma once

#include <QString>

namespace kvl {

struct Store;

// Digit held in a firmware version byte (the digit's four bits reversed in
// the high nibble, 1100 in the low nibble); -1 when the byte is no digit.
int firmwareDigit(int byte);

// Firmware text of a 5.X or "KVL 36" device from its two version bytes:
// "1.3" for major 1 and minor 3, "5.X" when either byte is no digit.
QString firmwareText(int majorByte, int minorByte);

// The same, read from Param_Block elements 160 (major) and 161 (minor).
QString firmwareText(const Store &store);

} // namespace kvl

#pragma once

#include "store/Store.h"

#include <QString>

namespace kvl {

// Digit 0..9 of a firmware digit byte (elements 160 and 161): the ASCII code
// of the digit with its bits in reverse order. -1 for any other byte.
int firmwareDigit(int code);

// Firmware text of firmware 5.X and "KVL 36" devices from elements 160
// (major) and 161 (minor): "5.2" for 172 and 76; "5.X" when either byte is
// not a digit code.
QString firmwareText(const ParamBlockTable &block);

} // namespace kvl

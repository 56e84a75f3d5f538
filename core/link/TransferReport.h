#pragma once

// The details of a failed download for its message box: which line it used,
// what came in, and what the user can check.

#include "link/Transfer.h"

#include <QString>

namespace kvl {

struct TransferFacts
{
    int comPort = 0;
    QString portPath; // the device behind "COM n"; "" when there is none
    int version = 5;  // Device_Version
    TransferOutcome outcome = TransferOutcome::ImageNoAnswer; // the time-out it ended with
    int received = 0;                                         // bytes of the phase that gave up
    QString reason;                                           // why it gave up
};

QString transferErrorDetail(const TransferFacts &facts);

} // namespace kvl

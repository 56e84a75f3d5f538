#pragma once

#include <QString>

#include <functional>

namespace kvl {

// Runs the transfer routine of the version chosen for downloads (firmware
// 3.5, 4.0, 5.X or KVL 36; the store takes that version) on the program's
// serial line without blocking: shows the progress window, drives the
// transfer from a timer, decodes and sorts into the store. Calls `done` once,
// when the routine has ended (completed, timed out or cancelled), with
// Cancel_Flag, Transfer_Error and Data_Loaded as the routine leaves them.
void startTransfer(std::function<void()> done);

// What the last download that gave up saw (port, bytes, reason) and what to
// check, for its message box; "" when it did not give up.
QString lastTransferErrorDetail();

} // namespace kvl

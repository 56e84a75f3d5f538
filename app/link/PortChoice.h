#pragma once

// The version chosen in the port selection names the device on the line, for
// the next download. It never re-reads data already loaded: that keeps the
// version it was read or downloaded with (the store's Device_Version).

namespace kvl {

struct Store;

// Records the choice; with no data loaded the store's version follows it.
void choosePortVersion(Store &store, int version);

// The version the next download asks for: the one chosen, else (nothing
// chosen yet) the store's, so the port selection proposes the loaded data's.
int downloadVersion(const Store &store);

// A new main window starts with nothing chosen.
void forgetPortVersion();

} // namespace kvl

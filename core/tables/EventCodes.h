#pragma once

#include <QString>

namespace kvl {

// The two lists that show events: the events table and the chart window.
enum class EventList { Table, Chart };

// A row is an event when exactly one of its two code bytes is non-zero.
bool isEvent(int byteA, int byteB);

// Label of the event whose code is in byte A or byte B (the other being 0),
// for a device version and a list. A code byte with more than one bit set,
// or no event at all, gives "XXX", the label of an unassigned code.
QString eventLabel(int byteA, int byteB, int deviceVersion, EventList list);

} // namespace kvl

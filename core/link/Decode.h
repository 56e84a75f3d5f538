#pragma once

// Decoding of a device memory image into the store, validation, and the
// chronological sorts.

#include "store/Layout.h"

#include <QByteArray>

#include <functional>

namespace kvl {

struct Store;

// Called for every progress step (Avancer_Progression in the program). It
// may set Store::Cancel_Flag, which stops the work at the next check.
using ProgressFn = std::function<void()>;

// Size of the image of a version (firmware 3.5: memory image plus the
// parameter answer stored after it); 0 for an unknown version.
int imageSizeForVersion(int version);

// Packed BCD byte to its value; 160..255 are kept as they are.
inline int bcd(int b)
{
    return b <= 159 ? (b >> 4) * 10 + (b & 0x0F) : b;
}

// Decodes the image of Device_Version into the record tables, area by area,
// with the progress calls of its decoding loops. Stops as soon as
// Cancel_Flag is set. Returns false when cancelled (or the image is short).
bool decodeImage(Store &store, const QByteArray &image, const ProgressFn &progress);

// Validation and sort of each table; rows that fail validation become all
// 255 and sort last. Each makes the progress calls the filing bar counts on
// (Tri_Leq 80 for the full Leq table, 40 for firmware 3.5; Tri_Evenements 40;
// Tri_Historique 10) and returns early when Cancel_Flag is set.
void Tri_Leq(Store &store, const ProgressFn &progress);
void Tri_Evenements(Store &store, const ProgressFn &progress);
void Tri_Historique(Store &store, const ProgressFn &progress);

} // namespace kvl

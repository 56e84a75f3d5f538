#pragma once

#include <QString>

namespace kvl {

// Loads a data file into the program's store (Data_Loaded tells whether the
// whole file was read); failures are reported in message boxes.
void Lecture_Fichier(const QString &path);

} // namespace kvl

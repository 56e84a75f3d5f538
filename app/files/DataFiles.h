#pragma once

#include <QString>

namespace kvl {

// Loads a data file into the program's store (Data_Loaded tells whether the
// whole file was read); failures are reported in message boxes.
void Lecture_Fichier(const QString &path);

// Writes a file image through a temporary file: an existing file is replaced
// only by a complete new one, and a failed write leaves nothing behind.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace kvl

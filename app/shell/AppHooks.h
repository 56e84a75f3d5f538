#pragma once

// What the shell calls in the other parts of the program. Each part defines
// its own functions in its folder.

namespace kvl {

// Registers every window of the program by name (once, at start-up).
void registerAllForms();
void registerLinkForms();   // app/link
void registerFilesForms();  // app/files
void registerTablesForms(); // app/tables
void registerParamsForms(); // app/params
void registerChartsForms(); // app/charts
void registerReportForms(); // app/report

// Saves the store to a data file, asking for its name (app/files).
void Sauvegarde_Fichier(int version, int leqRows);

} // namespace kvl

#pragma once

// The ".kvl" data file: a marker line naming the device model and firmware,
// then one line of decimal values per store table. Bytes are Windows-1252;
// lines end with CR LF.

#include <QByteArray>
#include <QList>
#include <QString>

namespace kvl {

struct Store;

// The marker the writer puts on line 1 for a version; empty for an unknown version.
QByteArray writtenMarker(int version);

// Every marker the reader accepts, with its version (written ones first).
struct MarkerEntry
{
    QByteArray marker;
    int version;
};
const QList<MarkerEntry> &acceptedMarkers();

// Version of an accepted marker (compared exactly, with case); 0 when none matches.
int versionOfMarker(const QByteArray &marker);

// Version of the accepted marker a file starts with, 0 when none, from its
// first markerHeadSize() bytes (or all of a shorter file), read as the
// loader reads a marker.
int markerHeadSize();
int headVersion(const QByteArray &head);

// The largest file the writer gives for a store of device bytes (every
// value at most 255, the transfer stamp at its longest), under the longest
// accepted marker: no data file is larger.
qint64 largestDataFile();

// The whole file image of the store for a version (3, 4, 5 or 70). Version 3
// carries its shorter Leq table and Param_Raw; 5 and 70 add Param_History and the
// transfer date and time. Empty for an unknown version.
QByteArray buildDataFile(const Store &store, int version);

// The part of a data file a load failure lies in.
enum class FilePart { Marker, LeqRecords, Events, ParamRaw, ParamBlock, History, TransferDate, End };

// Its name in a failure's detail: "marker", "Leq records", "events", ...
QString filePartName(FilePart part);

// Where and why a load failed, for the message box's details and kvl-report.
struct LoadDetail
{
    int line = 0; // line of the file, from 1
    FilePart part = FilePart::Marker;
    // A record table's row and field, both from 1; for a parameter table
    // record is 0 and value the element (Param_Block from 0, Param_Raw from 1).
    int record = 0;
    int value = -1;  // -1: no value concerned
    QString problem; // "a value above 255"
    QString found;   // the text found there, printable; "" when none
};

// "Line 3 of the file, events, record 12, value 7: a value above 255 ("256")."
QString detailText(const LoadDetail &detail);

// Outcome of reading a file image into the store.
struct LoadOutcome
{
    enum Result { Loaded, NotKvlFile, ReadFailure };
    Result result = NotKvlFile;
    // The message box to show when not loaded.
    QString text;
    QString caption;
    // What failed where; empty problem when loaded.
    LoadDetail detail;
    QString detailText() const { return result == Loaded ? QString() : kvl::detailText(detail); }
};

// Reads a file image into the store: clears Data_Loaded and Cancel_Flag,
// checks the marker, takes Device_Version from it, then reads the tables of
// that version. An unknown marker leaves the store unchanged; a read failure
// (a value too long or not a device byte, a missing line break, a file that
// ends early) sets Cancel_Flag and keeps what was read so far. Data_Loaded
// becomes true only when everything was read. Fields the version's file does
// not carry keep their content.
LoadOutcome readDataFile(const QByteArray &bytes, Store &store);

// Main window caption after loading a file of a version, for the chosen port
// (0 = none).
QString loadCaption(int version, int comPort);

} // namespace kvl

#pragma once

#include "store/Layout.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

namespace kvl {

// A record table with 1-based rows and fields, one device byte per element
// widened to 16 bits. Fixed size for the program's lifetime.
template <int Rows, int Fields> class RecordTable
{
public:
    static constexpr int rowCount = Rows;
    static constexpr int fieldCount = Fields;

    RecordTable() : m_data(std::size_t(Rows) * Fields, 0) {}

    qint16 &operator()(int row, int field) { return m_data[index(row, field)]; }
    qint16 operator()(int row, int field) const { return m_data[index(row, field)]; }

    // Pointer to field 1 of a row; the row's fields follow contiguously.
    qint16 *row(int row) { return &m_data[index(row, 1)]; }
    const qint16 *row(int row) const { return &m_data[index(row, 1)]; }

    void fill(qint16 value) { std::fill(m_data.begin(), m_data.end(), value); }
    bool operator==(const RecordTable &o) const { return m_data == o.m_data; }

private:
    static std::size_t index(int row, int field)
    {
        Q_ASSERT(row >= 1 && row <= Rows && field >= 1 && field <= Fields);
        return std::size_t(row - 1) * Fields + std::size_t(field - 1);
    }
    std::vector<qint16> m_data;
};

// A one-row table indexed from 0.
template <int Size> class ByteArrayTable
{
public:
    static constexpr int size = Size;

    ByteArrayTable() : m_data(Size, 0) {}

    qint16 &operator[](int i)
    {
        Q_ASSERT(i >= 0 && i < Size);
        return m_data[std::size_t(i)];
    }
    qint16 operator[](int i) const
    {
        Q_ASSERT(i >= 0 && i < Size);
        return m_data[std::size_t(i)];
    }
    void fill(qint16 value) { std::fill(m_data.begin(), m_data.end(), value); }
    bool operator==(const ByteArrayTable &o) const { return m_data == o.m_data; }

private:
    std::vector<qint16> m_data;
};

using LeqTable = RecordTable<LeqRowsMax, RecordFields>;
using EventTable = RecordTable<EventRows, RecordFields>;
using HistoryTable = RecordTable<HistoryRows, HistoryFields>;
using ParamBlockTable = ByteArrayTable<ParamBlockSize>;
using ParamRawTable = ByteArrayTable<ParamAnswerSize>;

// A run of record table rows, first..last; 0 at either end means none.
struct PeriodRows
{
    int first = 0;
    int last = 0;
    bool isEmpty() const { return first < 1 || last < first; }
    int count() const { return isEmpty() ? 0 : last - first + 1; }
};

// Rows first..last of a table of rowCount rows, as every reader of a period
// takes them: none when either end is 0 (no row in the period) or the ends
// make no run inside the table; a run past the table's end stops at it.
PeriodRows rowsWithin(int first, int last, int rowCount);

// The view the Analysis menu asked for (Requested_View).
enum class RequestedView { None, LeqChart, LeqTable, EventsTable, Parameters, Report };

// The view's text, as the data source window names it ("" for None), and
// the view of a text (None for any other text).
QString viewText(RequestedView view);
RequestedView viewOf(const QString &text);

// Columns of a Tab_Seuils row: the instant of a switch and the thresholds
// (dB) in force before and after it.
namespace seuil {
constexpr int Day = 1;
constexpr int Month = 2;
constexpr int Year = 3; // year - 2000
constexpr int Hour = 4;
constexpr int Minute = 5;
constexpr int Before = 6;
constexpr int After = 7;
} // namespace seuil

// The one measurement store: the last downloaded or loaded device memory
// and the few settings that travel between windows.
struct Store
{
    LeqTable Leq_Records;
    EventTable Event_Records;
    HistoryTable Param_History;
    ParamBlockTable Param_Block;
    ParamRawTable Param_Raw;

    qint16 Device_Version = Version5X;
    qint16 Com_Port = 0;
    qint32 Leq_Count = LeqRowsMax;
    QString Serial_Number;
    RequestedView Requested_View = RequestedView::None;
    QString Data_File_Path;
    bool Data_Loaded = false;
    bool Cancel_Flag = false;
    qint16 Transfer_Error = 0;
    qint16 Progress_Step = 0;

    QString Start_Day, Start_Month, Start_Year, End_Day, End_Month, End_Year;

    qint16 Chart_Days = 1;
    QString Chart_Days_Text;
    // Chart_Dates[day][k]: day 1..8, k 1 = day, 2 = month, 3 = year; index 0 unused.
    std::array<std::array<QString, 4>, 9> Chart_Dates;

    QString Default_Leq_Day, Default_Leq_Night;
    QString Default_Hour_Day_Night, Default_Hour_Night_Day;
    QString Transfer_Date, Transfer_Time;

    // Rows of the chosen period in a record table, 0 when none.
    qint32 Period_First = 0;
    qint32 Period_Last = 0;
    // Copies of the period's Leq1 and Leq10 rows; each count is the next
    // free row, so 1 means empty.
    LeqTable Leq1_Records, Leq10_Records;
    qint32 Leq1_Count = 1;
    qint32 Leq10_Count = 1;

    // Chart subsystem, kept beside the store for the whole run.
    // Thresholds (dB) and switching hours chosen for a firmware 3.5/4.0 diagram.
    qint16 Seuil_Jour = 0, Seuil_Nuit = 0, Heure_Jour_Nuit = 0, Heure_Nuit_Jour = 0;
    // Threshold schedule: Tab_Seuils[i][c], row i from 1 (row 0 unused),
    // column c one of namespace seuil.
    std::vector<std::array<qint16, 8>> Tab_Seuils;
    bool Seuils_Prets = false;
    bool Parametres_Constants = false;
    qint32 Premier_Parametre = 0; // Param_History row, 0 = none
    qint32 Dernier_Parametre = 0;
    // Zoom and list markers of the chart window.
    bool Zoom_Souris = false;
    qint32 Repere_Leq1 = 0;
    qint32 Repere_Leq10 = 0;

    Store();

    // Start-up state of the main window's load.
    void initialise();

    bool isVersion5Family() const { return kvl::isVersion5Family(Device_Version); }
    // Period_First..Period_Last as rows of a table of rowCount rows.
    PeriodRows periodRows(int rowCount) const { return rowsWithin(Period_First, Period_Last, rowCount); }
    int leqRowsForVersion() const { return leqRows(Device_Version); }
};

// Firmware 3.5: Param_Block rebuilt from Param_Raw, 255 where the answer
// carries nothing.
void rebuildParamBlockFromRaw(Store &store);

// The chart defaults the device holds: day and night thresholds and the two
// switching hours, from Param_Block.
void setDefaultThresholds(Store &store);

// Leq level in dB of a Leq record.
inline int leqLevel(const qint16 *row)
{
    return levelOf(fieldOf(row, field::LevelHundreds), fieldOf(row, field::LevelUnits));
}

} // namespace kvl

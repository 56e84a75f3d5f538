#include "tables/EventCodes.h"

#include "store/Store.h"

namespace kvl {

namespace {

// One row per code bit: events table 3/4, events table 5/70, chart 3/4, chart 5/70.
struct CodeLabels
{
    const char *table34;
    const char *table5;
    const char *chart34;
    const char *chart5;
};

const CodeLabels byteALabels[8] = {
    {"KVL Open ", "KVL Open", "KVL Open", "KVL Open"},
    {"KVL Closed", "KVL Closed", "KVL Close", "KVL Close"},
    {"Power Supply Cut", "Power Supply Cut", "Power Supply Cut", "Power Supply Cut"},
    {"Automatic Time Modification", "Automatic Time Modification", "Automatic Summer/Winter Hour Change",
     "Automatic Summer/Winter Hour Change"},
    {"The 20 dB of the Regulation are exceeded", "The 20 dB of the Regulation are exceeded",
     "20dB Regulation exceeded", "20dB Regulation exceeded"},
    {"Sensor Link Default", "Sensor Link Default", "Sensor Link Defect", "Sensor Link Defect"},
    {"Print", "Configuration Modification ", "Printing", "Configuration Change"},
    {"Parameters Modification", "Parameters Modification", "Parameters Change", "Parameters Change"},
};

const CodeLabels byteBLabels[8] = {
    {"End of Sensor Link Default", "End of Sensor Link Default", "End of Sensor Link Defect",
     "End of Sensor Link Defect"},
    {"Sensor Level Default", "Sensor Level Default", "Sensor Level Defect", "Sensor Level Defect"},
    {"System Initialisation", "Initialization System", "System Initialization", "System Initialization"},
    {"Calibration Executed", "Calibration Executed", "Calibration TKA40", "Calibration TKA40"},
    {"End of 20 dB of the Regulation are exceeded", "End of 20 dB of the Regulation are exceeded",
     "End of 20dB Regulation exceeded", "End of 20dB Regulation exceeded"},
    {"XXX", "Door Open", "XXX", "Door Open"},
    {"XXX", " Door Closed", "XXX", "Door Close"},
    {"XXX", "XXX", "XXX", "XXX"},
};

// Bit number 0..7 of a byte with exactly one bit set, else -1.
int singleBit(int byte)
{
    if (byte <= 0 || byte > 255 || (byte & (byte - 1)) != 0)
        return -1;
    int bit = 0;
    while ((byte >> bit) != 1)
        ++bit;
    return bit;
}

} // namespace

bool isEvent(int byteA, int byteB)
{
    return (byteA == 0) != (byteB == 0);
}

QString eventLabel(int byteA, int byteB, int deviceVersion, EventList list)
{
    if (!isEvent(byteA, byteB))
        return QStringLiteral("XXX");
    const int bit = singleBit(byteA != 0 ? byteA : byteB);
    if (bit < 0)
        return QStringLiteral("XXX");
    const CodeLabels &labels = byteA != 0 ? byteALabels[bit] : byteBLabels[bit];
    const bool newer = isVersion5Family(deviceVersion);
    const char *text = list == EventList::Table ? (newer ? labels.table5 : labels.table34)
                                                : (newer ? labels.chart5 : labels.chart34);
    return QString::fromLatin1(text);
}

} // namespace kvl

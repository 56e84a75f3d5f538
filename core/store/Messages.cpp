#include "store/Messages.h"

#include <iterator>

namespace kvl {

namespace {

// In the order of Message.
const char *const Texts[] = {
    "No Leq value for this period !!!",
    "No Leq10 Value for this period !!!",
    "No Leq1 Value for this period !!!",
    " There is no recorded event for this period !!!",
    "       No Events recorded for this period!!!",
    "No Leq10 value for this period !!!",
    " No Leq10 value for this period !!!",
    " No Leq1 value for this period !!!",
    "Analysis unvalaible with this FirmWare Version !!!",
    "No Leq1 value for this period  !!!",
    "It is not a KVL 24-2/36 file !!!!",
    "It is impossible to open this file",
    "It is impossible to read file data",
    "It is not a KVL 24-2 file !!!!",
    "It is not a KVL 36 file !!!!",
    "It is not a KVL 24-2 Version 5.0 file !!!!",
    "It is not a KVL 36 Version 5.0 file !!!!",
};
static_assert(std::size(Texts) == std::size_t(Message::NotKvl36Version5File) + 1, "one text per message");

} // namespace

QString messageText(Message message)
{
    return QString::fromLatin1(Texts[std::size_t(message)]);
}

} // namespace kvl

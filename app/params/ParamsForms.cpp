#include "shell/AppHooks.h"

namespace kvl {

void registerParamsForms()
{
}

} // namespace kvl

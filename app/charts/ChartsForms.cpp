#include "shell/AppHooks.h"

namespace kvl {

void registerChartsForms()
{
}

} // namespace kvl

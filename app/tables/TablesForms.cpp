#include "shell/AppHooks.h"

namespace kvl {

void registerTablesForms()
{
}

} // namespace kvl

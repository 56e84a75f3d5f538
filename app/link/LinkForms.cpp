#include "shell/AppHooks.h"

namespace kvl {

void registerLinkForms()
{
}

} // namespace kvl

#include "FaultInjection.h"

namespace IniAccess::internal {

// The program's answer: every file operation is done.
int InjectedFault(FileOperation, const std::string&) {
    return 0;
}

}  // namespace IniAccess::internal

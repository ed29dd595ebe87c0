#include "FaultInjection.h"

namespace IniAccess {

// The program's answer: every file operation is done.
int InjectedFault(FileOperation, const std::string&) {
    return 0;
}

}  // namespace IniAccess

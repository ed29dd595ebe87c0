#include "FaultHook.h"

#include <utility>

namespace IniAccess::internal {

namespace {

FaultHook& Hook() {
    static FaultHook hook;
    return hook;
}

}  // namespace

FaultHook SetFaultHook(FaultHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

int InjectedFault(FileOperation operation, const std::string& path) {
    const FaultHook& hook = Hook();
    return hook ? hook(operation, path) : 0;
}

}  // namespace IniAccess::internal

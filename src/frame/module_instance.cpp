#include "frame/module_instance.h"

#include <atomic>

namespace tb58::frame {
namespace {
std::atomic<HINSTANCE> module_instance{nullptr};
}

HINSTANCE ModuleInstance() { return module_instance.load(std::memory_order_relaxed); }

void SetModuleInstance(HINSTANCE instance) { module_instance.store(instance, std::memory_order_relaxed); }

}  // namespace tb58::frame

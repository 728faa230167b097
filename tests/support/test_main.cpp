// Runs the unit tests with the test program as the module: it carries the
// module's resources (compiled in on Linux, linked as resources on Windows).
#include <gtest/gtest.h>

#include "frame/module_instance.h"
#include "platform/module_of_address.h"

namespace {
void Anchor() {}  // any address inside the test program
}  // namespace

int main(int argc, char** argv) {
    tb58::frame::SetModuleInstance(tb58::platform::ModuleOfAddress(reinterpret_cast<const void*>(&Anchor)));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

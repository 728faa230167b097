// The common end of every export: the last error and the text-result
// protocol.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/export_frame.h"

namespace {

using tb58::frame::DeliverText;
using tb58::frame::Finish;

TEST(ExportFrame, SuccessSetsTheLastErrorToZeroExplicitly) {
    SetLastError(ERROR_INVALID_HANDLE);  // as an inner system call might leave it
    EXPECT_EQ(Finish(0), 1);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST(ExportFrame, FailureLeavesTheWorkersCode) {
    EXPECT_EQ(Finish(TB58_ERROR_NOT_FOUND), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_FOUND);
    int value = 5;
    EXPECT_EQ(tb58::frame::FinishPointer(ERROR_NOT_ENOUGH_MEMORY, &value), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(tb58::frame::FinishPointer(0, &value), &value);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST(TextResult, NullBufferAsksForTheSize) {
    uint32_t size = 1000;
    EXPECT_EQ(DeliverText("Tray 3", nullptr, &size), static_cast<uint32_t>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, 7u);
}

TEST(TextResult, ExactCapacityFitsOneLessDoesNot) {
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    uint32_t size = 6;
    EXPECT_EQ(DeliverText("Tray 3", buffer, &size), static_cast<uint32_t>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(buffer[0], 'X');  // nothing is copied when it does not fit
    EXPECT_EQ(DeliverText("Tray 3", buffer, &size), 0u);
    EXPECT_STREQ(buffer, "Tray 3");
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(buffer[7], 'X');
}

TEST(TextResult, EmptyTextNeedsOneByte) {
    char buffer[2] = {'X', 'X'};
    uint32_t size = 1;
    EXPECT_EQ(DeliverText("", buffer, &size), 0u);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(buffer[0], '\0');
}

}  // namespace

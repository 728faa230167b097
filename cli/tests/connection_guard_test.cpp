// The rules of the HTTP front's connections without a socket: which
// connection is shut down when a client or the service is at its cap, the
// deadlines at their edges, and that a socket number used again is never
// shut down for the connection that had it before.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/un.h>

#include <vector>

#include "serve/connection_guard.h"
#include "serve/descriptor_budget.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
using Clock = ConnectionGuard::Clock;

class Guard : public ::testing::Test {
protected:
    void Make(size_t max_connections, size_t max_per_client) {
        ConnectionLimits limits;
        limits.max_connections = max_connections;
        limits.max_per_client = max_per_client;
        limits.head_time = 1000ms;
        limits.answer_time = 3000ms;
        guard_ = std::make_unique<ConnectionGuard>(limits, [this](int socket) { shut_.push_back(socket); });
    }
    // Connection n (socket n) of client at t0 + n ms.
    void Open(int n, const std::string& client) { guard_->Opened(Id(n), n, client, At(n)); }
    static uintptr_t Id(int n) { return static_cast<uintptr_t>(1000 + n); }
    Clock::time_point At(int ms) const { return t0_ + std::chrono::milliseconds(ms); }

    Clock::time_point t0_ = Clock::now();
    std::unique_ptr<ConnectionGuard> guard_;
    std::vector<int> shut_;
};

TEST_F(Guard, AClientAtItsCapLosesItsLongestWaitingConnection) {
    Make(100, 3);
    for (int n = 1; n <= 3; ++n) Open(n, "A");
    Open(10, "B");
    EXPECT_TRUE(shut_.empty());  // at the cap, not over it
    Open(4, "A");
    EXPECT_EQ(shut_, std::vector<int>({1}));
    EXPECT_EQ(guard_->LiveOf("A"), 3u);
    EXPECT_EQ(guard_->LiveOf("B"), 1u);
    guard_->HeadReceived(Id(2), At(50));  // busy: not taken
    Open(5, "A");
    EXPECT_EQ(shut_, std::vector<int>({1, 3}));
    guard_->HeadReceived(Id(4), At(60));
    guard_->HeadReceived(Id(5), At(60));
    Open(6, "A");  // every other one of A is busy: the new one goes
    EXPECT_EQ(shut_, std::vector<int>({1, 3, 6}));
    EXPECT_EQ(guard_->LiveOf("A"), 3u);
    guard_->AnswerSent(Id(4), At(70));  // waiting again
    Open(7, "A");
    EXPECT_EQ(shut_, std::vector<int>({1, 3, 6, 4}));
}

TEST_F(Guard, AtTheOverallCapTheBusiestClientLosesFirst) {
    Make(4, 10);
    Open(1, "B");  // the oldest of all, but B has one connection
    for (int n = 2; n <= 4; ++n) Open(n, "A");
    EXPECT_TRUE(shut_.empty());
    Open(5, "C");
    EXPECT_EQ(shut_, std::vector<int>({2}));
    EXPECT_EQ(guard_->Live(), 4u);
    guard_->HeadReceived(Id(4), At(10));
    Open(6, "D");  // A still has the most
    EXPECT_EQ(shut_, std::vector<int>({2, 3}));
    Open(7, "E");  // one each: the longest waiting
    EXPECT_EQ(shut_, std::vector<int>({2, 3, 1}));
    // Nobody waits: the newcomer goes.
    for (int n : {5, 6, 7}) guard_->HeadReceived(Id(n), At(20));
    Open(8, "F");
    EXPECT_EQ(shut_, std::vector<int>({2, 3, 1, 8}));
    EXPECT_EQ(guard_->Live(), 4u);
}

TEST_F(Guard, DeadlinesAtTheirEdges) {
    Make(100, 100);
    Open(1, "A");                         // waits from t0 + 1 ms
    Open(2, "A");
    guard_->HeadReceived(Id(2), At(500)); // busy from t0 + 500 ms
    guard_->CloseOverdue(At(1000));
    EXPECT_TRUE(shut_.empty());
    guard_->CloseOverdue(At(1001));
    EXPECT_EQ(shut_, std::vector<int>({1}));
    guard_->CloseOverdue(At(3499));
    EXPECT_EQ(shut_, std::vector<int>({1}));
    guard_->AnswerSent(Id(2), At(3000));  // the answer went out: waiting from then on
    guard_->CloseOverdue(At(3999));
    EXPECT_EQ(shut_, std::vector<int>({1}));
    guard_->CloseOverdue(At(4000));
    EXPECT_EQ(shut_, std::vector<int>({1, 2}));
    guard_->CloseOverdue(At(9000));  // each once
    EXPECT_EQ(shut_, std::vector<int>({1, 2}));

    Open(3, "A");
    guard_->HeadReceived(Id(3), At(3));
    guard_->CloseOverdue(At(3002));
    EXPECT_EQ(shut_.size(), 2u);
    guard_->CloseOverdue(At(3003));
    EXPECT_EQ(shut_, std::vector<int>({1, 2, 3}));
}

TEST_F(Guard, ASocketNumberUsedAgainIsNotShutForItsOldConnection) {
    Make(100, 100);
    Open(7, "A");
    guard_->CloseOverdue(At(2000));
    EXPECT_EQ(shut_, std::vector<int>({7}));
    guard_->Closed(Id(7));
    EXPECT_EQ(guard_->Live(), 0u);
    // The system gives number 7 to a new connection with another id.
    guard_->Opened(Id(8), 7, "A", At(2000));
    guard_->CloseOverdue(At(2500));
    EXPECT_EQ(shut_, std::vector<int>({7}));
    guard_->Closed(Id(99));  // unknown: nothing happens
    guard_->HeadReceived(Id(99), At(2600));
    EXPECT_EQ(guard_->Live(), 1u);
    guard_->Closed(Id(8));
    EXPECT_EQ(guard_->Live(), 0u);
    EXPECT_EQ(guard_->LiveOf("A"), 0u);
}

TEST_F(Guard, ConnectionsClosedByTheirClientsFreeTheirPlaces) {
    Make(2, 2);
    Open(1, "A");
    Open(2, "A");
    guard_->Closed(Id(1));
    Open(3, "A");
    EXPECT_TRUE(shut_.empty());
    EXPECT_EQ(guard_->Live(), 2u);
    guard_->Opened(Id(3), 3, "A", At(5));  // reported twice: counted once
    EXPECT_EQ(guard_->Live(), 2u);
}

TEST(ClientOfAddress, IPv4AndIPv6Slash64) {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    inet_pton(AF_INET, "192.0.2.7", &v4.sin_addr);
    sockaddr_in6 mapped{};
    mapped.sin6_family = AF_INET6;
    inet_pton(AF_INET6, "::ffff:192.0.2.7", &mapped.sin6_addr);
    sockaddr_in6 a{};
    a.sin6_family = AF_INET6;
    inet_pton(AF_INET6, "2001:db8:1:2:aaaa::1", &a.sin6_addr);
    sockaddr_in6 same64 = a;
    inet_pton(AF_INET6, "2001:db8:1:2:ffff::9", &same64.sin6_addr);
    sockaddr_in6 other64 = a;
    inet_pton(AF_INET6, "2001:db8:1:3::1", &other64.sin6_addr);
    sockaddr_un local{};
    local.sun_family = AF_UNIX;
    const auto of = [](const auto& address) { return ClientOfAddress(reinterpret_cast<const sockaddr*>(&address)); };
    EXPECT_FALSE(of(v4).empty());
    EXPECT_EQ(of(v4), of(mapped));
    EXPECT_EQ(of(a), of(same64));
    EXPECT_NE(of(a), of(other64));
    EXPECT_NE(of(a), of(v4));
    EXPECT_EQ(of(local), "");
    EXPECT_EQ(ClientOfAddress(nullptr), "");
}

TEST(DescriptorBudget, ReserveForThePollerAndTheClosingSlack) {
    // 16 descriptors of the poller, the margin, the slack.
    const ConnectionBudget plenty = PlanConnections(20000, 16, 256);
    EXPECT_EQ(plenty.reserve, 16 + kDescriptorMargin);
    EXPECT_EQ(plenty.connections, 256u);
    EXPECT_FALSE(plenty.shrunk);
    const size_t edge = 256 + 16 + kDescriptorMargin + kClosingSlack;
    EXPECT_EQ(PlanConnections(edge, 16, 256).connections, 256u);
    EXPECT_FALSE(PlanConnections(edge, 16, 256).shrunk);
    EXPECT_EQ(PlanConnections(edge - 1, 16, 256).connections, 255u);
    EXPECT_TRUE(PlanConnections(edge - 1, 16, 256).shrunk);
    const ConnectionBudget small = PlanConnections(256, 16, 256);  // ulimit -n 256
    EXPECT_EQ(small.connections, 256 - 16 - kDescriptorMargin - kClosingSlack);
    EXPECT_EQ(PlanConnections(16 + kDescriptorMargin + kClosingSlack + 1, 16, 256).connections, 1u);
    EXPECT_EQ(PlanConnections(16 + kDescriptorMargin + kClosingSlack, 16, 256).connections, 0u);
    EXPECT_EQ(PlanConnections(10, 16, 256).connections, 0u);
    EXPECT_EQ(PlanConnections(20000, 512, 100000).connections, 20000 - 512 - kDescriptorMargin - kClosingSlack);
    EXPECT_GE(RaiseOpenFileLimit(), 64u);
}

}  // namespace
}  // namespace tb58mon

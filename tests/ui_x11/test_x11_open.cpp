// Without a server that answers, the X11 display is not there, and finding
// that out takes little time.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "support/ScopedEnvironment.h"
#include "ui/x11/X11Connection.h"

namespace {

using namespace std::chrono_literals;

// A socket that takes connections and never says a word, as a hung server does.
class SilentServer {
public:
    SilentServer() {
        descriptor_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(descriptor_, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(descriptor_, 4) == 0 &&
            ::getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~SilentServer() { ::close(descriptor_); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    // X displays over TCP are numbered from port 6000.
    std::string DisplayName() const { return "127.0.0.1:" + std::to_string(port_ - 6000); }
    bool Listening() const { return port_ > 6000; }

private:
    int descriptor_ = -1;
    int port_ = 0;
};

std::chrono::milliseconds TimeToOpen(bool& opened) {
    const auto start = std::chrono::steady_clock::now();
    opened = ui::OpenX11Connection() != nullptr;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST(NoXServer, DisplayUnsetGivesNoConnectionAtOnce) {
    TestSupport::ScopedEnvironment environment;
    environment.Set("DISPLAY", std::nullopt);
    bool opened = true;
    EXPECT_LT(TimeToOpen(opened), 500ms);
    EXPECT_FALSE(opened);
}

TEST(NoXServer, DisplayNamingNoServerGivesNoConnectionAtOnce) {
    TestSupport::ScopedEnvironment environment;
    environment.Set("DISPLAY", ":65000");
    bool opened = true;
    EXPECT_LT(TimeToOpen(opened), 1000ms);
    EXPECT_FALSE(opened);
}

TEST(NoXServer, ServerThatNeverAnswersIsGivenUpSoon) {
    SilentServer server;
    ASSERT_TRUE(server.Listening());
    TestSupport::ScopedEnvironment environment;
    environment.Set("DISPLAY", server.DisplayName());
    bool opened = true;
    const auto waited = TimeToOpen(opened);
    EXPECT_FALSE(opened);
    EXPECT_LT(waited, 5000ms);
}

}  // namespace

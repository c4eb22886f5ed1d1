// The Linux browser stand-in against a real HTTP server on 127.0.0.1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/web_browser.h"

namespace qh {
namespace {

// A small HTTP server on a loopback port of its own: it records each request
// line and body and answers with a short page, or redirects /old to /page.
class LoopbackServer {
public:
    LoopbackServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 8);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Serve() {
        for (;;) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            std::string request;
            char buffer[4096];
            size_t headerEnd = std::string::npos;
            size_t wanted = 0;
            while (true) {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<size_t>(n));
                if (headerEnd == std::string::npos && (headerEnd = request.find("\r\n\r\n")) != std::string::npos) {
                    const size_t at = request.find("Content-Length: ");
                    const size_t length = at < headerEnd ? std::stoul(request.substr(at + 16)) : 0;
                    wanted = headerEnd + 4 + length;
                }
                if (headerEnd != std::string::npos && request.size() >= wanted) break;
            }
            const std::string line = request.substr(0, request.find("\r\n"));
            const std::string body = headerEnd == std::string::npos ? "" : request.substr(headerEnd + 4);
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(line + (body.empty() ? "" : " " + body));
            }
            std::string reply;
            if (line.find(" /old ") != std::string::npos) {
                reply = "HTTP/1.1 302 Found\r\nLocation: /page\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            } else {
                reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 13\r\nConnection: close\r\n\r\n"
                        "<p>tongji</p>";
            }
            ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
};

constexpr HostHandle kParent = 0x4242;

// Polls the ready state the way the calculator waits for its page.
bool WaitLoaded(UiWebBrowser& browser) {
    for (int i = 0; i < 1000; ++i) {
        if (browser.ReadyState() == 4) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(WebBrowserStandInTest, AnInvisibleBrowserLoadsItsPageWithAPlainGet) {
    LoopbackServer server;
    UiWebBrowser browser;
    ASSERT_NE(browser.Create(kParent, 0, 0, 0, 0), 0u);
    EXPECT_EQ(browser.ReadyState(), 0);
    ASSERT_TRUE(browser.Navigate(server.Url("/tongji.html")));
    ASSERT_TRUE(WaitLoaded(browser));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /tongji.html HTTP/1.1");
    EXPECT_EQ(browser.DocumentUrl(), server.Url("/tongji.html"));
}

TEST(WebBrowserStandInTest, PostDataMakesAPostAndRedirectsAreFollowed) {
    LoopbackServer server;
    UiWebBrowser browser;
    ASSERT_NE(browser.Create(kParent, 0, 0, 0, 0), 0u);
    const Bytes body{'a', '=', '1'};
    ASSERT_TRUE(browser.Navigate2(server.Url("/form"), 0, "", &body));
    ASSERT_TRUE(WaitLoaded(browser));
    EXPECT_EQ(server.Requests().at(0), "POST /form HTTP/1.1 a=1");

    ASSERT_TRUE(browser.Navigate(server.Url("/old")));
    ASSERT_TRUE(WaitLoaded(browser));
    EXPECT_EQ(browser.DocumentUrl(), server.Url("/page"));
}

TEST(WebBrowserStandInTest, SecondCreateFailsAndAFailedLoadStillCompletes) {
    UiWebBrowser browser;
    const HostHandle first = browser.Create(kParent, 0, 0, 0, 0);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(browser.Create(kParent, 0, 0, 10, 10), 0u);
    EXPECT_EQ(browser.Hwnd(), first);
    // Nothing listens on port 9 of the loopback: the request fails at once,
    // and the state still reaches 4 so that a waiting caller goes on.
    ASSERT_TRUE(browser.Navigate("http://127.0.0.1:9/tongji.html"));
    EXPECT_TRUE(WaitLoaded(browser));
    browser.Close();
    EXPECT_EQ(browser.Hwnd(), 0u);
    EXPECT_EQ(browser.ReadyState(), 0);
    EXPECT_FALSE(browser.Navigate("http://127.0.0.1:9/"));
}

}  // namespace
}  // namespace qh

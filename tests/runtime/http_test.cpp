// HttpRequest against a real server on 127.0.0.1 (tests/support/
// http_test_server.py starts it and names it in QH_TEST_SERVER). The same
// tests run natively over libcurl and under Wine over XMLHTTP, so the two
// behave alike.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/http.h"
#include "runtime/system.h"

namespace qh {
namespace {

Text Server() {
    const char* address = std::getenv("QH_TEST_SERVER");
    return address ? Text(address) : Text();
}

std::string AsString(const Bytes& b) { return std::string(b.begin(), b.end()); }

class HttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(Server().empty()) << "run through tests/support/http_test_server.py"; }

    // The line "name: value" the echo answer carries for name.
    static std::string EchoLine(const Bytes& answer, const std::string& name) {
        const std::string text = AsString(answer);
        const std::string key = "\n" + name + ": ";
        const auto at = ("\n" + text).find(key);
        if (at == std::string::npos) return "<missing>";
        const auto from = at + key.size() - 1;
        return text.substr(from, text.find('\n', from) - from);
    }
    static std::string EchoBody(const Bytes& answer) {
        const std::string text = AsString(answer);
        const auto at = text.find("\nbody: ");
        return at == std::string::npos ? "<missing>" : text.substr(at + 7);
    }
};

Bytes ExpectedBinary() {
    Bytes b;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 256; ++i) b.push_back(static_cast<std::uint8_t>(i));
    }
    return b;
}

TEST_F(HttpRequestTest, GetReturnsTheBodyByteForByteAlsoAfterARedirect) {
    EXPECT_EQ(HttpRequest(Server() + "/binary"), ExpectedBinary());
    EXPECT_EQ(HttpRequest(Server() + "/redirect"), ExpectedBinary());
}

TEST_F(HttpRequestTest, HeadersFollowTheMethodAndTheGivenHeader) {
    // A get sends no content type of its own.
    const Bytes get = HttpRequest(Server() + "/echo");
    EXPECT_EQ(EchoLine(get, "method"), "GET");
    EXPECT_EQ(EchoLine(get, "content-type"), "");

    // A post in capitals and without a header is a form.
    HttpOptions post;
    post.method = "POST";
    post.body = Bytes{'a', '=', '1', '&', 'b', '=', '2'};
    const Bytes posted = HttpRequest(Server() + "/echo", post);
    EXPECT_EQ(EchoLine(posted, "method"), "POST");
    EXPECT_EQ(EchoLine(posted, "content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(EchoBody(posted), "a=1&b=2");

    // A given header goes instead of the form type.
    post.method = "post";
    post.header = std::pair<Text, Text>{"X-Test", "hello"};
    const Bytes withHeader = HttpRequest(Server() + "/echo", post);
    EXPECT_EQ(EchoLine(withHeader, "method"), "POST");
    EXPECT_EQ(EchoLine(withHeader, "x-test"), "hello");
    EXPECT_NE(EchoLine(withHeader, "content-type"), "application/x-www-form-urlencoded");
}

TEST_F(HttpRequestTest, OtherVerbsCarryTheirBodyUnchanged) {
    HttpOptions put;
    put.method = "put";
    put.body = Bytes{0x00, 0xC7, 0xE0, 0xBA, 0xCC, 0xFF};  // NUL and GBK bytes
    const Bytes answer = HttpRequest(Server() + "/echo", put);
    EXPECT_EQ(EchoLine(answer, "method"), "PUT");
    const std::string body = EchoBody(answer);
    EXPECT_EQ(Bytes(body.begin(), body.end()), put.body);
}

TEST_F(HttpRequestTest, CredentialsAreSentToTheServer) {
    // Without them the server refuses, and the refusal's page is no answer.
    // (Asked first: XMLHTTP keeps credentials that worked for the rest of the
    // process, as browsers do.)
    EXPECT_TRUE(HttpRequest(Server() + "/auth").empty());
    HttpOptions login;
    login.credentials = std::pair<Text, Text>{"user", "secret"};
    EXPECT_EQ(AsString(HttpRequest(Server() + "/auth", login)), "welcome");
}

TEST_F(HttpRequestTest, AnErrorStatusIsAFailedRequestWhateverItsPageSays) {
    for (const char* status : {"404", "500", "301"}) {
        SCOPED_TRACE(status);
        EXPECT_TRUE(HttpRequest(Server() + "/status/" + status).empty());
    }
    EXPECT_FALSE(HttpRequest(Server() + "/status/200").empty());
    EXPECT_TRUE(HttpRequest(Server() + "/no-such-file.txt").empty());
}

TEST_F(HttpRequestTest, ANoAnswerIsAFailedRequest) {
    // Port 1 on loopback: nobody listens there. (Wine's XMLHTTP never
    // reports a refused connection as done, so there it is the time limit
    // that ends the request; a short one keeps the test short.)
    HttpOptions options;
    options.connectTimeoutMs = 2000;
    EXPECT_TRUE(HttpRequest("http://127.0.0.1:1/version.txt", options).empty());
    EXPECT_TRUE(HttpRequest("not an address", options).empty());
}

TEST_F(HttpRequestTest, TheTimeLimitEndsARequestThatAServerHolds) {
    HttpOptions impatient;
    impatient.connectTimeoutMs = 400;
    impatient.totalTimeoutMs = 800;
    // An answer that does not begin in time, and one that stops halfway.
    EXPECT_TRUE(HttpRequest(Server() + "/slow/5000", impatient).empty());
    EXPECT_TRUE(HttpRequest(Server() + "/stall-body", impatient).empty());
    // Within the limits the same kind of answer comes through.
    impatient.totalTimeoutMs = 5000;
    impatient.connectTimeoutMs = 5000;
    EXPECT_EQ(AsString(HttpRequest(Server() + "/slow/100", impatient)), "late");
}

TEST_F(HttpRequestTest, ACancelledRequestEndsAsAFailedOne) {
    // The server would answer "late" after five seconds; the request is
    // cancelled long before, from another thread.
    std::atomic<bool> cancel{false};
    HttpOptions options;
    options.cancel = &cancel;
    Bytes answer{'x'};
    std::thread request([&] { answer = HttpRequest(Server() + "/slow/5000", options); });
    Sleep(300);
    cancel = true;
    request.join();
    EXPECT_TRUE(answer.empty());
}

// An answer past its bound once grew in memory for as long as the server
// sent it: past the bound the request fails, with or without a length.
TEST_F(HttpRequestTest, AnAnswerPastItsBoundFailsTheRequest) {
    struct Case {
        const char* route;
        std::size_t maxBytes;
        std::size_t expected;  // the answer's length; 0: the request failed
    };
    for (const Case& c : {Case{"/pattern/512", 512, 512}, Case{"/pattern/513", 512, 0}, Case{"/no-length/513", 512, 0},
                          Case{"/pattern/513", kMaxHttpAnswer * 2, 513}}) {
        SCOPED_TRACE(c.route);
        HttpOptions options;
        options.maxBytes = c.maxBytes;
        EXPECT_EQ(HttpRequest(Server() + c.route, options).size(), c.expected);
    }
}

// An answer without end, whatever bound the caller asks for.
TEST_F(HttpRequestTest, AnEndlessAnswerFailsTheRequest) {
    for (const std::size_t maxBytes : {std::size_t{0}, kMaxHttpAnswer * 2}) {
        HttpOptions options;
        options.maxBytes = maxBytes;
        EXPECT_TRUE(HttpRequest(Server() + "/endless", options).empty());
    }
}

TEST_F(HttpRequestTest, SeveralThreadsMayAskAtOnce) {
    std::vector<Bytes> answers(4);
    std::vector<std::thread> threads;
    for (auto& answer : answers) {
        threads.emplace_back([&answer] { answer = HttpRequest(Server() + "/binary"); });
    }
    for (auto& t : threads) t.join();
    for (const Bytes& answer : answers) EXPECT_EQ(answer, ExpectedBinary());
}

// A listed name with a space or Chinese characters once went out as raw
// GBK bytes, which no static server maps to the published file.
TEST(FileAddress, EachLevelIsPercentEncodedInItsUtf8Form) {
    const std::pair<Text, Text> cases[] = {
        {"QingheCalc", "QingheCalc"},
        {"read me.txt", "read%20me.txt"},
        {"说明.txt", "%E8%AF%B4%E6%98%8E.txt"},
        {"资料\\a b/c~_-.png", "%E8%B5%84%E6%96%99/a%20b/c~_-.png"},
        {"100%#?.txt", "100%25%23%3F.txt"},
    };
    for (const auto& [name, path] : cases) EXPECT_EQ(FileAddress("http://h/up/", name), "http://h/up/" + path);
}

TEST(HttpVerb, StandardVerbsTravelInCapitalsOthersAsGiven) {
    EXPECT_EQ(HttpVerb("get"), "GET");
    EXPECT_EQ(HttpVerb("Post"), "POST");
    EXPECT_EQ(HttpVerb("options"), "OPTIONS");
    EXPECT_EQ(HttpVerb("propfind"), "propfind");
    EXPECT_TRUE(IsHttpSuccess(200));
    EXPECT_TRUE(IsHttpSuccess(299));
    EXPECT_FALSE(IsHttpSuccess(300));
    EXPECT_FALSE(IsHttpSuccess(199));
}

}  // namespace
}  // namespace qh

// The network link end to end: the program logs in to the emulated adapter's telnet side on
// the loopback and runs the areas over it.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "app/services/AppState.h"
#include "res/ShellIds.h"
#include "res/ShortnumIds.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

// The emulated adapter's opening: five option commands.
const Lines kOpening{"socket open", "connect ok", "IAC data", "IAC data",
                     "IAC data",    "IAC data",   "IAC data"};

// A scripted adapter for the exact bytes on the wire: it greets, then answers each trigger text
// (looked for in what it received after the previous trigger) with its reply, and records every
// byte it received until the program resets the connection.
class ScriptedPeer {
public:
    using Steps = std::vector<std::pair<std::string, std::string>>;  // trigger, reply
    ScriptedPeer(std::string greeting, Steps steps) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(listener_, 1), 0);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, greeting, steps] { serve(greeting, steps); });
    }
    ~ScriptedPeer() {
        ::shutdown(listener_, SHUT_RDWR);  // ends a wait for the connection
        received();
        ::close(listener_);
    }
    int port() const { return port_; }
    // Every byte the program sent; waits for the program to end the connection.
    std::string received() {
        if (thread_.joinable())
            thread_.join();
        return received_;
    }

private:
    void serve(const std::string& greeting, const Steps& steps) {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0)
            return;
        ::send(fd, greeting.data(), greeting.size(), MSG_NOSIGNAL);
        std::size_t next = 0, from = 0;
        char chunk[256];
        pollfd p{fd, POLLIN, 0};
        for (ssize_t n; ::poll(&p, 1, 15000) > 0 && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;) {
            received_.append(chunk, static_cast<std::size_t>(n));
            std::size_t at;
            while (next < steps.size() &&
                   (at = received_.find(steps[next].first, from)) != std::string::npos) {
                from = at + steps[next].first.size();
                ::send(fd, steps[next].second.data(), steps[next].second.size(), MSG_NOSIGNAL);
                ++next;
            }
        }
        ::close(fd);
    }

    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::string received_;
};

std::string iac(int verb, int option) {
    return {static_cast<char>(255), static_cast<char>(verb), static_cast<char>(option)};
}

class NetworkLinkTest : public FastSessionTest {
protected:
    // A fresh run against an adapter that serves telnet only, with the two passwords.
    void freshNetworkRun(const std::string& login, const std::string& admin,
                         const std::string& fault = "") {
        freshRun(networkSettings(login, admin), networkAdapter(withFault(fault)));
    }

    SessionResult runNetwork(const std::string& script, int port = 0) {
        return run(script, networkLink(port != 0 ? port : adapter().telnetPort(), 500));
    }
};

TEST_F(NetworkLinkTest, Login) {
    struct Row {
        const char* login;
        const char* admin;
        const char* fault;
        Lines tail;  // after the opening
    } rows[] = {
        {"login1", "admin2", "", {"Local Password Check OK", "administrator Password Check OK"}},
        {"login1",
         "admin2",
         "silent:administrator",
         {"Local Password Check OK", "administrator Password Input ERROR"}},
        {"login1", "nope", "", {"Local Password Check OK", "administrator Password Check ERROR"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tail.back());
        freshNetworkRun(row.login, row.admin, row.fault);
        // factory initialisation and the date do nothing in network mode, without a message
        SessionResult r = runNetwork(kStart + "wait " + row.tail.back() + "\n" +
                                     command(ID_FILE_INIT) + command(ID_DATE_TIME) + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.log, concat(kOpening, row.tail));
        EXPECT_TRUE(r.messages.empty());
        // nothing confirmed: the close sends nothing, and never "exit"
        for (const char* line : {"restart", "fromwr 15", "exit"})
            EXPECT_EQ(std::count(r.transcript.begin(), r.transcript.end(), line), 0) << line;
    }
}

// The bytes the program sends, exactly: the option answers, the passwords each with one line
// end, nothing for a prompt without its blank or for a prompt after the login.
TEST_F(NetworkLinkTest, BytesOnTheWire) {
    const std::string kAdmin = "\r\nPassword: ";
    struct Row {
        const char* name;
        const char* login;
        std::string greeting;
        ScriptedPeer::Steps steps;
        std::string waitFor;
        std::string sent;
        Lines log;  // after "socket open", "connect ok"
    } rows[] = {
        {"empty login password, a later prompt ignored",
         "",
         iac(251, 1) + iac(253, 31) + "\r\nKX HomePNA\r\nPassword: ",
         {{"\r\n", "\r\nKX> "},
          {"administrator\r\n", kAdmin},
          {"adm2\r\n", "\r\n# \r\nPassword: " + iac(251, 3)}},
         "IAC data",
         iac(253, 1) + iac(252, 31) + "\r\nadministrator\r\nadm2\r\n" + iac(253, 3),
         {"IAC data", "IAC data", "Local Password Check OK", "administrator Password Check OK",
          "IAC data"}},
        {"prompt without its blank",
         "pw",
         "\r\nPassword:" + iac(251, 5) + iac(251, 99) + iac(254, 1),
         {},
         "IAC data\nwait IAC data\nwait IAC data",
         iac(254, 5) + iac(252, 1),
         {"IAC data", "IAC data", "IAC data"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetAppState();
        writeSettings(networkSettings(row.login, "adm2"));
        ScriptedPeer peer(row.greeting, row.steps);
        SessionResult r = runNetwork(kStart + "wait " + row.waitFor + "\n" + kClose, peer.port());
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(peer.received(), row.sent);
        Lines log{"socket open", "connect ok"};
        log.insert(log.end(), row.log.begin(), row.log.end());
        EXPECT_EQ(r.log, log);
    }
}

// The port dialog opens short; "詳細" shows the link choice, the address and the passwords.
// With the network chosen a bad address is refused and the dialog stays.
TEST_F(NetworkLinkTest, PortDialogChoosesTheNetwork) {
    const std::string kBad = "ＩＰアドレスの入力に間違いがあります。";
    const std::string kNetworkChosen = click(IDC_PORTSEL_DETAILS) + click(IDC_PORTSEL_PNA);
    const std::string kRefusedHere = click(IDOK) + "answer ok\n" + dialog(IDD_PORT_SELECT);
    struct Row {
        const char* name;
        std::string script;  // in the port dialog, once it shows
        Lines messages;
        bool failed;  // the script fails (a hidden control)
        const char* settings;
    } rows[] = {
        {"hidden without 詳細", click(IDC_PORTSEL_PNA), {}, true, "[PORTSEL]\nPORT=0\nCOM=1\n"},
        {"bad addresses refused",
         kNetworkChosen + text(IDC_PORTSEL_IP_ADDRESS, "1.2.3") + kRefusedHere +
             text(IDC_PORTSEL_IP_ADDRESS, "1.2.3.4x") + kRefusedHere +
             text(IDC_PORTSEL_IP_ADDRESS, "") + kRefusedHere + click(IDCANCEL),
         {kBad, kBad, kBad},
         false,
         "[PORTSEL]\nPORT=0\nCOM=1\n"},
        {"hidden again, serial ignores the address",
         kNetworkChosen + text(IDC_PORTSEL_IP_ADDRESS, "1.2.3") + click(IDC_PORTSEL_SERIAL) +
             click(IDC_PORTSEL_DETAILS) + click(IDOK) + kClose,
         {},
         false,
         "[PORTSEL]\nPORT=0\nCOM=1\n[IPADDR]\nFIELD=1.2.3\n[OPTION]\nDATA1=\nDATA2=\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun("[PORTSEL]\nPORT=0\nCOM=1\n");
        SessionResult r = run(dialog(IDD_PORT_SELECT) + row.script);
        EXPECT_EQ(r.scriptFailed, row.failed) << r.failure;
        EXPECT_EQ(r.messageTexts(), row.messages);
        EXPECT_EQ(readSettings(), row.settings);
    }
}

// Areas opened before the administrator login has completed fail their read at once: nothing
// listens (the connect fails, with its reason), or the login password is refused.
TEST_F(NetworkLinkTest, AreaBeforeTheLoginFailsItsRead) {
    const int closedPort = ScriptedPeer("", {}).port();  // a port that was free a moment ago
    struct Row {
        int port;  // 0: the emulated adapter's
        Lines log;
    } rows[] = {
        {closedPort,
         {"socket open", "Network link: the connect failed: Connection refused",
          "Analog Status Read ERROR"}},
        {0, concat(kOpening, {"Local Password Check ERROR", "Analog Status Read ERROR"})},
    };
    for (const Row& row : rows) {
        freshNetworkRun("nope", "admin2");
        const std::string& awaited = row.log[row.log.size() - 2];
        SessionResult r = runNetwork(
            kStart + "wait " + awaited + "\n" + open(IDC_MAIN_ANALOG, IDD_MAIN) + kClose, row.port);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.log, row.log);
        EXPECT_EQ(std::count(r.transcript.begin(), r.transcript.end(), "show analog tel1"), 0);
    }
}

TEST_F(NetworkLinkTest, ShortNumbersAreShownButNotEditable) {
    freshNetworkRun("login1", "admin2");
    SessionResult r = runNetwork(kStart + kLoggedIn + open(IDC_MAIN_SHORTNUM, IDD_SHORT_NUMBER) +
                                 text(kShortNumberEdits[0], "0312345678"));
    EXPECT_TRUE(r.scriptFailed);
    EXPECT_NE(r.failure.find("disabled"), std::string::npos) << r.failure;
    EXPECT_EQ(std::count_if(r.transcript.begin(), r.transcript.end(),
                            [](const std::string& l) { return l.rfind("short", 0) == 0; }),
              0);
}

}  // namespace
}  // namespace kx::test

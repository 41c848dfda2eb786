// Input that must never reach the adapter as a command line: CR, LF, TAB and NUL pasted or
// typed into every free-text and number field of every settings dialog; digits typed with
// control keys between them, which go out as one command line; the settings file's passwords.
#include <sys/stat.h>

#include <string>

#include "app/Profile.h"
#include "app/program/AllAreas.h"
#include "app/services/AppState.h"
#include "app/services/Help.h"
#include "res/AnalogIds.h"
#include "res/ArriveIds.h"
#include "res/DigitalIds.h"
#include "res/RouterIds.h"
#include "res/ShortnumIds.h"
#include "tests/support/AreaSession.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/headless/HeadlessWindow.h"

namespace kx::test {
namespace {

using namespace std::string_literals;

// Every settings dialog and the way the user opens it.
struct DialogPath {
    const AreaScript& area;
    int menuButton;  // 0: the main window's button opens the dialog itself
    int dialog;
    // A dialog that cannot be confirmed as it opens (an empty table entry) is confirmed with
    // `fill`, which sends `filled`.
    std::string fill = "";
    Lines filled = {};
    // adapter settings that enable every field as the dialog opens
    Lines presets = {};

    bool router() const { return &area == &routerArea() || &area == &easySetupArea(); }
    int backTo() const { return menuButton == 0 ? IDD_MAIN : area.menu; }
};

// Given DNS servers ("manual") enable their addresses.
Lines manualDns(const std::string& profile) {
    return {"dialup dns_select " + profile + " manual",
            "dialup dns_address " + profile + " 192.0.2.1,192.0.2.2"};
}
DialogPath tableDialog(int menuButton, const EntryTableIds& ids, const char* first,
                       const char* second, const char* command) {
    const std::string fill =
        text(ids.number, "5") + text(ids.first, first) + text(ids.second, second);
    return {routerArea(), menuButton, ids.dialog, fill, {command}};
}

const DialogPath kDialogs[] = {
    {analogArea(), IDC_ANALOG_MENU_TEL1, IDD_TEL1_PORT},
    {analogArea(), IDC_ANALOG_MENU_TEL2, IDD_TEL2_PORT},
    {analogArea(), IDC_ANALOG_MENU_TEL3, IDD_TEL3_PORT},
    {analogArea(), IDC_ANALOG_MENU_COMMON, IDD_ANALOG_COMMON},
    {digitalArea(), IDC_DIGITAL_MENU_DATA, IDD_DATA_PORT},
    {digitalArea(), IDC_DIGITAL_MENU_USB, IDD_USB_PORT},
    {digitalArea(), IDC_DIGITAL_MENU_COMMON, IDD_DIGITAL_COMMON},
    {digitalArea(), IDC_DIGITAL_MENU_BOD, IDD_THROUGHPUT_BOD},
    {digitalArea(), IDC_DIGITAL_MENU_BACP_BAP, IDD_BACP_BAP},
    {arriveArea(), IDC_ARRIVE_MENU_STANDARD, IDD_ARRIVE_STANDARD},
    {arriveArea(), IDC_ARRIVE_MENU_NUMBER1, IDD_ARRIVE_NUMBER1},
    {arriveArea(), IDC_ARRIVE_MENU_NUMBER2, IDD_ARRIVE_NUMBER2},
    {shortnumArea(), 0, IDD_SHORT_NUMBER},
    {routerArea(), IDC_PNA_MENU_ROUTER, IDD_ROUTER},
    {routerArea(), IDC_PNA_MENU_PNA_PORT, IDD_PNA_PORT},
    tableDialog(IDC_PNA_MENU_NAT, kNatIds, "192.168.1.5", "203.0.113.5",
                "nat add 5 192.168.1.5,203.0.113.5"),
    {routerArea(), IDC_PNA_MENU_DHCP, IDD_DHCP},
    {routerArea(), IDC_PNA_MENU_DNS, IDD_DNS},
    tableDialog(IDC_PNA_MENU_DNS_HOST, kDnsHostIds, "192.168.1.10", "printer",
                "host add 5 192.168.1.10,printer"),
    {routerArea(), IDC_PNA_MENU_SYSLOG, IDD_SYSLOG},
    {routerArea(), IDC_PNA_MENU_DIALUP1, IDD_DIALUP1, "", {}, manualDns("num1")},
    {routerArea(), IDC_PNA_MENU_DIALUP2, IDD_DIALUP2, "", {}, manualDns("num2")},
    {routerArea(), IDC_PNA_MENU_DIALUP3, IDD_DIALUP3, "", {}, manualDns("num3")},
    {routerArea(), IDC_PNA_MENU_DIALUP4, IDD_DIALUP4, "", {}, manualDns("num4")},
    {routerArea(), IDC_PNA_MENU_ARRIVE, IDD_PNA_ARRIVE, "", {}, {"ras server enable"}},
    {routerArea(), IDC_PNA_MENU_LEASED_LINE, IDD_LEASED_LINE},
    {routerArea(), IDC_PNA_MENU_CONNECT_LIMIT, IDD_CONNECT_LIMIT},
    {routerArea(), IDC_PNA_MENU_BOD, IDD_ROUTER_BOD},
    {routerArea(), IDC_PNA_MENU_BACP_BAP, IDD_ROUTER_BACP_BAP},
    {easySetupArea(), 0, IDD_PNA_EASY, "", {}, manualDns("num1")},
};

// The control characters a user may type or paste (as the first character, so that no text
// limit can cut it away). A line feed ends a script line, so the walker pastes it itself.
const std::string kControls[] = {"\r", "\t", "\0"s};
const char* const kInputError = "の入力に間違いがあります。";

struct Field {
    int id;
    std::string text;  // as the dialog opened
    bool filtered;     // a key filter (CNumEdit) sees the keys
};

void collectEdits(const std::vector<ui::Control>& controls, std::vector<const ui::Control*>& out) {
    for (const ui::Control& c : controls) {
        if (c.kind == ui::ControlKind::Edit && !(c.style & ui::kReadOnly))
            out.push_back(&c);
        collectEdits(c.children, out);
    }
}

// Runs when the script presses the help key in a dialog. Walking, it notes every edit of the
// dialog's template that the user can reach as the dialog opened; pasting, it pastes a line
// feed into each of them in turn and presses "登録" (the script answers each refusal), then
// puts the text back.
class FieldWalker final : public HelpViewer {
public:
    bool paste = false;
    std::vector<Field> fields;
    std::vector<int> unreachable;  // edits disabled or hidden as the dialog opened

    bool showPage(const std::string&, std::string&) override {
        ui::Dialog* dialog = ui::Dialog::activeModal();
        auto* window = dynamic_cast<ui::headless::HeadlessWindow*>(
            dialog ? ui::DialogEvents::peer(*dialog) : nullptr);
        if (!window)
            return true;
        if (!paste) {
            std::vector<const ui::Control*> edits;
            collectEdits(dialog->GetTemplate().controls, edits);
            for (const ui::Control* c : edits)
                if (!window->enabled(c->id) || !window->visible(c->id))
                    unreachable.push_back(c->id);
                else
                    fields.push_back({c->id, window->text(c->id),
                                      ui::DialogEvents::hasKeyFilter(*dialog, c->id)});
            return true;
        }
        for (const Field& f : fields) {
            EXPECT_EQ(window->paste(f.id, "\n12"), "");
            EXPECT_EQ(window->click(ui::IDOK), "");
            EXPECT_EQ(ui::Dialog::activeModal(), dialog) << "a line feed in " << f.id;
            window->setText(f.id, f.text);
        }
        return true;
    }
};

class InputSafetyTest : public AreaSessionTest {
protected:
    void TearDown() override {
        setHelpViewer(nullptr);
        AreaSessionTest::TearDown();
    }

    static std::string opening(const DialogPath& d) {
        if (d.menuButton == 0)
            return kStart + open(d.area.button, d.dialog);
        return kStart + open(d.area.button, d.area.menu) + open(d.menuButton, d.dialog);
    }
    static std::string leaving(const DialogPath& d) {
        return d.menuButton == 0 ? kClose : click(IDCANCEL) + kClose;
    }
};

// Each field refuses a control character pasted into it, with its own message, and leaves the
// dialog open; typed, the key filter of a number field swallows it, and a free-text field
// refuses it at "登録". Confirmed at the end, with every field as it opened, the dialog sends
// nothing: no changed item, no command line (the close still stores into flash).
TEST_F(InputSafetyTest, ControlCharactersInEveryFieldOfEveryDialog) {
    for (const DialogPath& d : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(d.dialog));
        modeLines_ = d.router() ? "ROUTER=1\n" : "";
        FieldWalker walker;
        setHelpViewer(&walker);
        freshAdapter(d.presets);
        SessionResult found =
            run(opening(d) + "key F1\n" + click(IDCANCEL) + dialog(d.backTo()) + leaving(d));
        ASSERT_FALSE(found.scriptFailed) << found.failure;
        EXPECT_EQ(walker.unreachable, std::vector<int>{});

        std::string script = opening(d) + "key F1\n";
        std::size_t refusals = walker.fields.size();  // the pasted line feeds
        for (std::size_t i = 0; i < walker.fields.size(); ++i) script += "answer ok\n";
        const std::string refused = click(IDOK) + "answer ok\n" + dialog(d.dialog);
        for (const Field& f : walker.fields) {
            for (const std::string& c : kControls) script += text(f.id, c + "12") + refused;
            refusals += std::size(kControls);
            script += text(f.id, f.text);
            if (f.filtered)
                continue;
            // a free-text field takes a typed control character, and "登録" refuses it
            for (const std::string& c : kControls)
                script += text(f.id, "") + "type " + std::to_string(f.id) + " " + c + "12\n" +
                          refused + text(f.id, f.text);
            refusals += std::size(kControls);
        }
        // a number field's filter swallows the keys: the last "登録" finds the field unchanged
        script += d.fill;
        for (const Field& f : walker.fields)
            for (const std::string& c : kControls)
                if (f.filtered)
                    script += "type " + std::to_string(f.id) + " " + c + "\n";
        script += click(IDOK) + dialog(d.backTo()) + leaving(d);

        freshAdapter(d.presets);
        walker.paste = true;
        SessionResult r = run(script);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        ASSERT_EQ(r.messages.size(), refusals);
        for (const auto& m : r.messages) EXPECT_TRUE(m.text.ends_with(kInputError)) << m.text;
        EXPECT_EQ(
            r.transcript,
            concat(probeLines(), concat(d.area.reads, concat(d.filled, {"fromwr 15", "exit"}))));
    }
}

// Digits typed with control keys between them: the number fields' filter drops the keys, and
// the one changed item goes out as exactly one command line (every field's filter: above).
TEST_F(InputSafetyTest, TypedControlKeysLeaveOneCommandLinePerChangedItem) {
    const std::string kTyped = "03\r12\t34"s + '\0' + "56";
    struct Row {
        DialogPath path;
        int field;  // typed into, emptied first
        std::string command;
    } rows[] = {
        {{analogArea(), IDC_ANALOG_MENU_TEL1, IDD_TEL1_PORT},
         kTel1PortIds.selfAddress,
         "analog address tel1 03123456"},
        {{shortnumArea(), 0, IDD_SHORT_NUMBER}, kShortNumberEdits[6], "shortnum add 7 03123456"},
        {{routerArea(), IDC_PNA_MENU_DIALUP3, IDD_DIALUP3},
         kDialup3Ids.dialNumber[0],
         "dialup dial_number num3 03123456,,"},
        {{easySetupArea(), 0, IDD_PNA_EASY},
         kPnaEasyDialNumberIds[1],
         "dialup dial_number num1 ,03123456,"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        modeLines_ = row.path.router() ? "ROUTER=1\n" : "";
        freshAdapter();
        const std::string typed =
            text(row.field, "") + "type " + std::to_string(row.field) + " " + kTyped + "\n";
        SessionResult r = run(opening(row.path) + typed + click(IDOK) + dialog(row.path.backTo()) +
                              leaving(row.path));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.messageTexts(), Lines{});
        EXPECT_EQ(r.transcript, concat(probeLines(), concat(row.path.area.reads,
                                                            {row.command, "fromwr 15", "exit"})));
    }
}

// Passwords holding the settings file's own punctuation: typed into the port dialog, stored,
// read back by the next start and sent at its login as they were, with no key created; the
// file stays private through every rewrite; no password shows in the log pane, the scripted
// user's output or on standard error, also when the adapter refuses one.
TEST_F(InputSafetyTest, PasswordsSurviveTheSettingsFileAndAreNeverShown) {
    const std::string kLogin = "=[;#pw";
    const std::string kAdmin = "#;[a]=b";  // 8 bytes at most
    const std::string kStored = networkSettings(kLogin, kAdmin);
    struct Row {
        const char* name;
        std::string adminAtAdapter;
        std::string script;
        const char* lastLine;
    } rows[] = {
        {"typed into a new file", kAdmin,
         dialog(IDD_PORT_SELECT) + click(IDC_PORTSEL_DETAILS) + click(IDC_PORTSEL_PNA) +
             text(IDC_PORTSEL_IP_ADDRESS, "127.0.0.1") + text(IDC_PORTSEL_LOGIN_PASSWORD, kLogin) +
             text(IDC_PORTSEL_ADMIN_PASSWORD, kAdmin) + click(IDOK) + dialog(IDD_MAIN) + kLoggedIn +
             kClose,
         "administrator Password Check OK"},
        {"read back at the next start", kAdmin, kStart + kLoggedIn + kClose,
         "administrator Password Check OK"},
        {"refused by the adapter", "other",
         kStart + "wait administrator Password Check ERROR\n" + kClose,
         "administrator Password Check ERROR"},
    };
    writeSettings("");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetAppState();
        resetAreaRecords();
        sim::EmulatorOptions options = networkAdapter();
        options.adapter.loginPassword = kLogin;
        options.adapter.adminPassword = row.adminAtAdapter;
        startAdapter(options);

        ::testing::internal::CaptureStderr();
        SessionResult r = run(row.script, networkLink(adapter().telnetPort()));
        const std::string standardError = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        ASSERT_FALSE(r.log.empty());
        EXPECT_EQ(r.log.back(), row.lastLine);

        EXPECT_EQ(readSettings(), kStored);
        struct stat st {};
        ASSERT_EQ(::stat(SettingsFilePath(startupFolder()).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        for (const std::string& password : {kLogin, kAdmin}) {
            for (const std::string& line : r.log)
                EXPECT_EQ(line.find(password), std::string::npos) << line;
            EXPECT_EQ(r.output.find(password), std::string::npos);
            EXPECT_EQ(standardError.find(password), std::string::npos) << standardError;
        }
    }
}

}  // namespace
}  // namespace kx::test

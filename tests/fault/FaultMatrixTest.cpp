// The fault matrix: every area's read, and one write of each area through its dialog, against
// every fault the emulated adapter injects into a reply. Each cell is one whole session of the
// program; it must end within its exchange time-out (plus a generous margin), leave the area's
// own log line, keep the working copy as it was (a read) or as the user edited it (a write),
// and send nothing of the area after the exchange that failed. Where the fault does not make
// the exchange fail, the operation must end as it does without the fault.
#include <algorithm>
#include <chrono>
#include <string>

#include "app/ShellTimings.h"
#include "app/program/AllAreas.h"
#include "res/AnalogIds.h"
#include "res/ArriveIds.h"
#include "res/DigitalIds.h"
#include "res/RouterIds.h"
#include "res/ShortnumIds.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

// How a cell ends.
enum class Outcome {
    Fails,       // the faulted exchange fails by its time-out
    Lost,        // the line is gone: the exchange and every later one fail at once
    Succeeds,    // the operation ends as it does without the fault
    Unlabelled,  // the read succeeds; the field whose label is missing keeps its value
};
constexpr Outcome F = Outcome::Fails;
constexpr Outcome L = Outcome::Lost;
constexpr Outcome S = Outcome::Succeeds;
constexpr Outcome U = Outcome::Unlabelled;

// A fault of the emulated adapter, aimed at an operation's target command, and how a read and
// a write end under it.
struct Column {
    const char* name;
    std::string spec;  // sim/Faults.h; "{}" stands for the target, "LABEL" for the row's label
    int timeoutMs;     // the exchange time-out of the cell's session
    Outcome read, write;
};

// Dripping costs about a millisecond a byte: its exchanges get a time-out that a long reply on
// a loaded machine still meets. The others fail, or not, within the short time-out.
const Column kColumns[] = {
    {"no reply", "silent/1:{}", 1000, F, F},
    {"cut reply", "cut=10/1:{}", 1000, F, F},
    {"dripped bytes", "drip=1/1:{}", 8000, S, S},
    {"lower-case terminators", "lower", 1000, S, S},  // every reply: the probe, fromwr and exit too
    {"reply over 2048 bytes", "long/1:{}", 1000, S, S},
    {"binary garbage", "garbage/1:{}", 1000, S, S},
    // a write's acknowledgement has no labels: any label leaves it as it is
    {"missing label", "nolabel=LABEL/1:{}", 1000, U, S},
    {"line dropped mid-reply", "drop=10/1:{}", 1000, L, L},
};

// Whatever the cell, the session ends within its time-out and this margin (the probe, the
// other exchanges and the start of the program on a slow, sanitized build).
constexpr std::chrono::seconds kMargin{6};

// One field of the module's working copy as text: a number in decimal, a text as it is.
std::string workingField(const char* module, const std::string& name) {
    area::AreaRecord working = findModule(module)->working();
    for (const area::ItemField& field : findModule(module)->fields())
        if (field.name == name)
            return field.text ? *field.text(working) : std::to_string(*field.number(working));
    ADD_FAILURE() << "no field " << name;
    return "";
}

struct Operation {
    const char* name;
    const char* mode;  // the [MODE] lines of the settings file
    AreaScript area;
    int opens;               // the menu, or the dialog of a direct area
    Lines presets;           // the adapter's settings before the session
    std::string target;      // the command the fault hits (a prefix)
    std::string label;       // a label of the target's reply (reads)
    const char* module;      // the area's module
    const char* field;       // the labelled field of the working copy (reads)
    std::string edits = "";  // a write: the user's changes in the opened menu or dialog
    Lines writes = {};       // the commands the changes send; the first is the target

    bool isWrite() const { return !edits.empty(); }
    area::AreaRecord working() const { return findModule(module)->working(); }
    std::string fieldValue() const { return field ? workingField(module, field) : ""; }
    bool direct() const { return area.menu == 0; }
};

const AreaScript& kAnalog = analogArea();
const AreaScript& kDigital = digitalArea();
const AreaScript& kArrive = arriveArea();
const AreaScript& kShortnum = shortnumArea();
const AreaScript& kRouter = routerArea();
const AreaScript& kEasy = easySetupArea();

const char* const kRouterMode = "ROUTER=1\n";

// clang-format off
const Operation kOperations[] = {
    // reads
    {"analog read", "", kAnalog, IDD_ANALOG_MENU, {"analog ring_sound tel2 ring3"},
     "show analog tel2", "ring sound:", "analog", "analog.tel2.ringSound"},
    {"digital read", "", kDigital, IDD_DIGITAL_MENU, {"digital address usb 0312345678"},
     "show digital usb", "self address:", "digital", "digital.usb.selfAddress"},
    {"arrive read", "", kArrive, IDD_ARRIVE_MENU, {"arrive ring_select default ring3"},
     "show arrive basic", "default ring:", "arrive", "arrive.defaultRing"},
    {"short number read", "", kShortnum, IDD_SHORT_NUMBER, {"shortnum add 3 0311112222"},
     "show shortnum num1", "3:", "shortnum", "shortnum.3"},
    {"router read", kRouterMode, kRouter, IDD_PNA_MENU, {"dns address 192.0.2.1,192.0.2.2"},
     "show dns", "primary address:", "router", "router.dnsPrimaryServer"},
    {"easy setup read", kRouterMode, kEasy, IDD_PNA_EASY,
     {"dialup dial_number num1 0311,0322,0333"},
     "show dialup num1", "dial number 2:", "router", "router.dialup1.dialNumber2"},
    // writes, one dialog of each area confirmed with two changes
    {"analog write", "", kAnalog, IDD_ANALOG_MENU, {}, "analog ring_sound tel1", "",
     "analog", nullptr,
     open(IDC_ANALOG_MENU_TEL1, IDD_TEL1_PORT) + click(kTel1PortIds.ringSound[1]) +
         text(kTel1PortIds.sendDialTime, "9") + kAnalog.confirm(),
     {"analog ring_sound tel1 ring2", "analog dial_time tel1 9"}},
    {"digital write", "", kDigital, IDD_DIGITAL_MENU, {}, "digital address data", "",
     "digital", nullptr,
     open(IDC_DIGITAL_MENU_DATA, IDD_DATA_PORT) + click(kDataPortIds.globalArrive[0]) +
         text(kDataPortIds.selfAddress, "0312345678") + kDigital.confirm(),
     {"digital address data 0312345678", "digital global_arrive data disable"}},
    {"arrive write", "", kArrive, IDD_ARRIVE_MENU, {}, "arrive ranking default tel1", "",
     "arrive", nullptr,
     open(IDC_ARRIVE_MENU_STANDARD, IDD_ARRIVE_STANDARD) + select(kArriveDefaultIds.tel2, 2) +
         select(kArriveDefaultIds.tel1, 0) + kArrive.confirm(),
     {"arrive ranking default tel1 precede", "arrive ranking default tel2 delay"}},
    {"short number write", "", kShortnum, IDD_SHORT_NUMBER, {}, "shortnum add 4", "",
     "shortnum", nullptr,
     text(kShortNumberEdits[11], "0312") + text(kShortNumberEdits[3], "0344") +
         kShortnum.confirm(),
     {"shortnum add 4 0344", "shortnum add 12 0312"}},
    {"router write", kRouterMode, kRouter, IDD_PNA_MENU, {}, "dns address", "",
     "router", nullptr,
     open(IDC_PNA_MENU_DNS, IDD_DNS) + click(kDnsForwardingIds[0]) +
         text(IDC_DNS_PRIMARY, "192.0.2.1") + kRouter.confirm(),
     {"dns address 192.0.2.1,0.0.0.0", "dns forwarding disable"}},
    {"easy setup write", kRouterMode, kEasy, IDD_PNA_EASY, {}, "dialup dns_select", "",
     "router", nullptr,
     click(kPnaEasyDnsSelectIds[0]) + text(IDC_PNA_EASY_DNS_PRIMARY, "192.0.2.1") +
         kEasy.confirm(),
     {"dialup dns_select num1 manual", "dialup dns_address num1 192.0.2.1,0.0.0.0"}},
};
// clang-format on

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    if (std::size_t at = text.find(from); at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string faultSpec(const Column& column, const Operation& op) {
    const std::string label = op.label.empty() ? "self address:" : op.label;
    return replaced(replaced(column.spec, "LABEL", label), "{}", op.target);
}

std::size_t indexOf(const Lines& lines, const std::string& prefix) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].starts_with(prefix))
            return i;
    return lines.size();
}

class FaultMatrixTest : public AreaSessionTest {
protected:
    // The session of a cell: the read, or the read, the changes and their write; then the
    // close, whose failed exchanges (after a lost line) the user answers.
    static std::string script(const Operation& op, Outcome outcome) {
        const bool lost = outcome == Outcome::Lost;
        const int closeMessages = lost ? (op.isWrite() ? 2 : 1) : 0;
        std::string s = kStart + click(op.area.button);
        if (op.isWrite()) {
            s += dialog(op.opens) + op.edits + (op.direct() ? "" : click(IDCANCEL));
        } else if (outcome != Outcome::Fails && !lost) {
            s += dialog(op.opens) + click(IDCANCEL);
        }
        s += kClose;
        for (int i = 0; i < closeMessages; ++i) s += "answer ok\n";
        return s;
    }

    // What reaches the adapter after the probe.
    static Lines sent(const Operation& op, bool fails, bool lost) {
        const Lines& commands = op.isWrite() ? op.writes : op.area.reads;
        std::size_t count = fails ? indexOf(commands, op.target) + 1 : commands.size();
        Lines lines = op.isWrite() ? op.area.reads : Lines{};
        lines.insert(lines.end(), commands.begin(), commands.begin() + static_cast<long>(count));
        if (!lost) {
            if (op.isWrite())
                lines.push_back("fromwr 15");
            lines.push_back("exit");
        }
        return lines;
    }

    // The area's log lines; a lost line adds the link's own line, checked apart. A menu
    // reports no write result (area/AreaMenuDlg.h): only the direct areas log their write.
    static Lines log(const Operation& op, bool fails) {
        if (!op.isWrite())
            return fails ? op.area.readFailed() : op.area.viewed();
        Lines lines = op.area.viewed();
        if (op.direct())
            lines.push_back(op.area.logName + (fails ? " Status Write ERROR" : " Status Write OK"));
        return lines;
    }

    void runCell(const Operation& op, const Column& column, Outcome outcome,
                 const area::AreaRecord& reference, const std::string& referenceField) {
        const bool lost = outcome == Outcome::Lost;
        const bool fails = lost || outcome == Outcome::Fails;
        modeLines_ = op.mode;
        freshAdapter(op.presets, faultSpec(column, op));
        shellTimings().commandTimeoutMs = column.timeoutMs;
        const area::AreaRecord before = op.working();
        const std::string fieldBefore = op.fieldValue();

        const auto start = std::chrono::steady_clock::now();
        SessionResult r = run(script(op, outcome));
        const auto took = std::chrono::steady_clock::now() - start;

        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_LT(took, std::chrono::milliseconds(column.timeoutMs) + kMargin);
        EXPECT_EQ(r.transcript, concat(probeLines(), sent(op, fails, lost)));
        Lines messages;
        if (lost && op.isWrite())
            messages.push_back("書込みに失敗しました。");
        if (lost)
            messages.push_back("正常に終了できませんでした。");
        EXPECT_EQ(r.messageTexts(), messages);

        Lines areaLog = r.log;
        const std::size_t linkLine = indexOf(areaLog, "Serial link lost: ");
        EXPECT_EQ(linkLine < areaLog.size(), lost);
        if (linkLine < areaLog.size())
            areaLog.erase(areaLog.begin() + static_cast<long>(linkLine));
        EXPECT_EQ(areaLog, log(op, fails));

        if (op.isWrite()) {
            EXPECT_TRUE(op.working() == reference)
                << "the user's changes are kept in the working copy";
        } else if (fails) {
            EXPECT_TRUE(op.working() == before)
                << "a failed read leaves the working copy as it was";
        } else if (outcome == Outcome::Unlabelled) {
            EXPECT_EQ(op.fieldValue(), fieldBefore);
            EXPECT_NE(referenceField, fieldBefore) << "the label's value must tell the two apart";
        } else {
            EXPECT_TRUE(op.working() == reference)
                << "the read takes the same values as without the fault";
        }
    }
};

// One row of the matrix per test, so that rows run side by side; the table is kOperations.
class FaultMatrix : public FaultMatrixTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(FaultMatrix, EveryFaultOfTheAdapter) {
    const Operation& op = kOperations[GetParam()];
    // the same session without a fault gives the copies every cell is compared with
    modeLines_ = op.mode;
    freshAdapter(op.presets);
    SessionResult plain = run(script(op, Outcome::Succeeds));
    ASSERT_FALSE(plain.scriptFailed) << plain.failure;
    ASSERT_EQ(plain.transcript, concat(probeLines(), sent(op, false, false)));
    const area::AreaRecord reference = op.working();
    const std::string referenceField = op.fieldValue();

    for (const Column& column : kColumns) {
        SCOPED_TRACE(std::string(op.name) + ", " + column.name);
        runCell(op, column, op.isWrite() ? column.write : column.read, reference, referenceField);
    }
}

std::string operationName(const ::testing::TestParamInfo<std::size_t>& row) {
    std::string name = kOperations[row.param].name;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrix,
                         ::testing::Range<std::size_t>(0, std::size(kOperations)), operationName);

}  // namespace
}  // namespace kx::test

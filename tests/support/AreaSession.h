#pragma once

// What the settings areas' session tests share: the scripted user's lines, the scripts around
// an area's menu, the adapter set up before a row, and the checks of a finished session.

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "app/services/HelpPages.h"
#include "res/DigitalIds.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"

namespace kx::test {

using Lines = std::vector<std::string>;

// `commands`, then the store into flash that a confirmed dialog asks for at close.
Lines stored(Lines commands);

// One area of the main window as the scripts and the checks see it.
struct AreaScript {
    int button;           // on the main window
    int menu;             // the area's menu; 0 when the button opens the area's only dialog
    Lines reads;          // what the area's read sends, in order
    std::string logName;  // "Analog": "Analog Status Read OK", "View Analog Dlg"

    // Start, the area's button and its menu, `inMenu`, "戻る" out of the menu, close. Without
    // a menu: start, `inMenu` in the main window, close.
    std::string session(const std::string& inMenu) const;
    // "登録" that passes the checks, "登録" refused with a message (answered; the dialog stays
    // open), "戻る": the first and the last back where the dialog was opened from.
    std::string confirm() const { return click(IDOK) + dialog(menu != 0 ? menu : IDD_MAIN); }
    std::string refused() const { return click(IDOK) + "answer ok\n"; }
    std::string back() const { return click(IDCANCEL) + dialog(menu != 0 ? menu : IDD_MAIN); }

    // After the probe: the reads, `tail`, "exit".
    Lines sent(const Lines& tail) const;
    // The log of a read that went well, of one that failed.
    Lines viewed() const {
        return {"com open", logName + " Status Read OK", "View " + logName + " Dlg"};
    }
    Lines readFailed() const { return {"com open", logName + " Status Read ERROR"}; }
};

// The areas of the main window. The router variant's two, the HomePNA menu (16 reads) and the
// easy setup form, have their buttons only with "ROUTER=1" in the settings file (modeLines_).
const AreaScript& analogArea();
const AreaScript& digitalArea();
const AreaScript& arriveArea();
const AreaScript& shortnumArea();  // no menu: the button opens the short number dialog
const AreaScript& routerArea();
const AreaScript& easySetupArea();

// One session of an area's table: the adapter set by `presets` (and `fault`), `menu` done in
// the area's menu; the adapter then receives the reads, `tail` and "exit", and the user sees
// `messages`.
struct AreaRow {
    const char* name;
    Lines presets;
    std::string menu;
    Lines tail;
    Lines messages = {};
    std::string fault = "";
};

class AreaSessionTest : public FastSessionTest {
protected:
    // Expects the whole script to have run; the adapter to have received the probe, then
    // `afterProbe`; the messages `messages`, each with the window's title, OK and no icon; `log`.
    static void expectSession(const SessionResult& r, const Lines& afterProbe,
                              const Lines& messages, const Lines& log);

    // A fresh program and adapter (with the fault `fault`, "" for none), the adapter set by
    // `presets` without them reaching the transcript.
    void freshAdapter(const Lines& presets = {}, const std::string& fault = "");

    // Runs each row as a session of `area` whose read goes well; `after(i)`, when given, then
    // looks at what row i left.
    void expectRows(const AreaScript& area, std::span<const AreaRow> rows,
                    const std::function<void(std::size_t i)>& after = {});

    // Each of the area's reads fails in turn, on an adapter set by `presets`: nothing after it
    // is sent, the log says so and no menu opens. `check(failed)` then looks at the copies.
    void expectReadStops(const AreaScript& area, const Lines& presets,
                         const std::function<void(std::size_t failed)>& check);

    // In one session, each dialog opened by `open` gets the help key and then the help button,
    // both showing the page of `context`; the help key in a menu shows nothing. Nothing is sent.
    struct HelpRow {
        std::string open;
        int context;
    };
    void expectHelpPages(const AreaScript& area, const std::vector<HelpRow>& rows);

    // The [MODE] lines of the settings file of every fresh adapter ("ROUTER=1\n" for the router
    // variant's window).
    std::string modeLines_;
};

// Keeps every page the help shows, in order.
class RecordedPages final : public HelpViewer {
public:
    bool showPage(const std::string& path, std::string&) override {
        pages.push_back(path);
        return true;
    }
    Lines pages;
};

// A BOD dialog (the digital throughput one, the router's, with the ids of its two sides) that
// notes what its edits and estimates show when OK is pressed.
template <class Dialog, const BodSideIds& add, const BodSideIds& del>
class ObservedBodDlg : public Dialog {
public:
    static inline std::map<int, std::string> shown;

protected:
    void OnOK() override {
        for (const BodSideIds* side : {&add, &del})
            for (int id : {side->rate, side->estimate, side->evalTime, side->minTime})
                shown[id] = this->GetDlgItemTextUtf8(id);
        Dialog::OnOK();
    }
};

}  // namespace kx::test

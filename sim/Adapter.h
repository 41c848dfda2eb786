#pragma once

#include <string>
#include <string_view>

#include "sim/Device.h"
#include "sim/Faults.h"
#include "sim/Output.h"
#include "sim/Transcript.h"

namespace kx::sim {

struct AdapterOptions {
    std::string name = "KESTRELX";                     // in the "ATI" reply and the prompts
    std::string version = "2.10a";                     // "Version " and this in the "AT%I2" reply
    std::string identification = "KXTA-100 SN-00042";  // the "AT%M" reply, 17 characters
    std::string loginPassword;                         // network login (empty: an empty line)
    std::string adminPassword;                         // "administrator"
    // Echo each typed byte at once (for people at a terminal) instead of the whole line before
    // the reply; the replies are the same otherwise.
    bool typedEcho = false;
    // A serial session starts at the command line instead of the AT probe, as when an earlier
    // session ended without "exit" (its program was killed, or the line was lost).
    bool atCommandLine = false;
};

// One session with the emulated adapter: a byte-pushed machine that does no I/O. Feed it what
// the line delivered, carry out the returned steps. A serial session starts at the AT probe;
// a network (or stdio) session starts with the two-password login and ends on the command line.
//
//   AT stage:     "ATI", "AT%I2", "AT%M" answer with "\r\nOK\r\n"; "ATT1" enters the command
//                 line; "exit" there comes back here.
//   command line: echo, reply lines, prompt "\r\n# ".
//   login:        "Password: " -> login password -> "NAME> " -> "administrator" ->
//                 "Password: " -> administrator password -> "\r\n# " (the command line).
// A line ends at CR, LF or CR LF (a LF or NUL right after CR belongs to it). Lines longer than
// kMaxLine bytes are refused whole, never run cut short. Every line is recorded in the
// transcript and its reply goes through the faults that match it; faults change only the
// reply, the command itself still takes effect.
class Adapter {
public:
    static constexpr std::size_t kMaxLine = 1024;

    enum class Start { AtProbe, Login };
    enum class Stage { AtProbe, CommandLine, LoginPassword, User, AdminPassword, Closed };

    Adapter(Device& device, AdapterOptions options, Start start, Transcript* transcript = nullptr,
            FaultSet* faults = nullptr);

    // What the adapter says before the peer says anything (the banner and first "Password: "
    // of a login session; nothing on the serial side).
    Output greet();

    Output feed(std::string_view bytes);

    Stage stage() const { return stage_; }
    // The session is over (the peer logged out, the adapter restarted, too many wrong
    // passwords, or the line was dropped): send what is left and close.
    bool finished() const { return stage_ == Stage::Closed; }

private:
    Device& device_;
    AdapterOptions options_;
    Start start_;
    Transcript* transcript_;
    FaultSet* faults_;
    Stage stage_;
    std::string line_;
    bool overflow_ = false;
    bool afterCr_ = false;
    int loginFailures_ = 0;

    bool secretStage() const {
        return stage_ == Stage::LoginPassword || stage_ == Stage::AdminPassword;
    }
    void lineEnded(Output& output);
    Reply answer(const std::string& line, bool tooLong);
    Reply answerAt(const std::string& line);
    Reply answerCommand(const std::string& line, bool tooLong);
    Reply answerLogin(const std::string& line);
    Reply answerUser(const std::string& line);
    Reply answerAdmin(const std::string& line);
    std::string userPrompt() const { return "\r\n" + options_.name + "> "; }
};

}  // namespace kx::sim

#include "sim/Adapter.h"

#include <cctype>

namespace kx::sim {
namespace {

constexpr char kPrompt[] = "\r\n# ";
constexpr char kOk[] = "\r\nOK\r\n";
constexpr char kError[] = "\r\nERROR\r\n";
constexpr char kPasswordPrompt[] = "\r\nPassword: ";
constexpr int kMaxLoginFailures = 3;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

Adapter::Adapter(Device& device, AdapterOptions options, Start start, Transcript* transcript,
                 FaultSet* faults)
    : device_(device),
      options_(std::move(options)),
      start_(start),
      transcript_(transcript),
      faults_(faults),
      stage_(start == Start::Login    ? Stage::LoginPassword
             : options_.atCommandLine ? Stage::CommandLine
                                      : Stage::AtProbe) {}

Output Adapter::greet() {
    if (start_ != Start::Login)
        return {};
    return {Step::send("\r\n" + options_.name + " HomePNA router\r\n" + kPasswordPrompt)};
}

Output Adapter::feed(std::string_view bytes) {
    Output output;
    std::string typed;  // typed echo collected for this feed
    for (std::size_t i = 0; i < bytes.size() && !finished(); ++i) {
        const char c = bytes[i];
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n' || c == '\0')
                continue;  // CR LF and telnet's CR NUL end one line
        }
        if (c == '\r' || c == '\n') {
            afterCr_ = c == '\r';
            if (!typed.empty())
                output.push_back(Step::send(std::move(typed)));
            typed.clear();
            lineEnded(output);
            continue;
        }
        if (c == '\b' || c == '\x7f') {
            // a person at a terminal corrects the line
            if (!line_.empty() && !overflow_) {
                line_.pop_back();
                if (options_.typedEcho && !secretStage())
                    typed += "\b \b";
            }
            continue;
        }
        if (line_.size() >= kMaxLine) {
            overflow_ = true;
            continue;
        }
        line_ += c;
        if (options_.typedEcho && !secretStage())
            typed += c;
    }
    if (!typed.empty())
        output.push_back(Step::send(std::move(typed)));
    return output;
}

void Adapter::lineEnded(Output& output) {
    std::string line = std::move(line_);
    line_.clear();
    const bool tooLong = overflow_;
    overflow_ = false;
    if (transcript_ != nullptr)
        transcript_->record(line);
    const std::vector<FaultRule> faults =
        faults_ != nullptr ? faults_->take(line) : std::vector<FaultRule>{};
    const bool echo = !options_.typedEcho && !secretStage();
    Reply reply = answer(line, tooLong);
    if (reply.head.empty() && reply.body.empty() && reply.tail.empty())
        return;
    reply.head = (echo ? line : std::string()) + "\r\n" + reply.head;
    Output steps = deliverReply(std::move(reply), faults);
    const bool dropped = hasDrop(steps);
    for (Step& step : steps) output.push_back(std::move(step));
    if (dropped)
        stage_ = Stage::Closed;
}

Reply Adapter::answer(const std::string& line, bool tooLong) {
    switch (stage_) {
        case Stage::AtProbe:
            return answerAt(line);
        case Stage::CommandLine:
            return answerCommand(line, tooLong);
        case Stage::LoginPassword:
            return answerLogin(tooLong ? std::string(1, '\0') : line);
        case Stage::User:
            return answerUser(line);
        case Stage::AdminPassword:
            return answerAdmin(tooLong ? std::string(1, '\0') : line);
        case Stage::Closed:
            break;
    }
    return {};
}

Reply Adapter::answerAt(const std::string& line) {
    const std::string command = upper(trimmed(line));
    if (command.empty())
        return {};  // like a modem, an empty line gets no answer
    if (command == "AT" || command == "ATZ")
        return {"", "", kOk};
    if (command == "ATI")
        return {"", options_.name + "\r\n", kOk};
    if (command == "AT%I2")
        return {"", "Version " + options_.version + "\r\n", kOk};
    if (command == "AT%M")
        return {"", options_.identification + "\r\n", kOk};
    if (command == "ATT1") {
        stage_ = Stage::CommandLine;
        return {"", "", kPrompt};
    }
    return {"", "", kError};
}

Reply Adapter::answerCommand(const std::string& line, bool tooLong) {
    if (tooLong)
        return {"", "% Command line too long\r\n", kPrompt};
    const CommandResult result = device_.execute(line);
    switch (result.action) {
        case CommandResult::Action::Exit:
            if (start_ == Start::AtProbe) {
                stage_ = Stage::AtProbe;
                return {"", result.body, kOk};
            }
            stage_ = Stage::User;
            return {"", result.body, kOk + userPrompt()};
        case CommandResult::Action::Restart:
            // the adapter reboots: the serial side is back at the AT stage, the network
            // connection goes down
            stage_ = start_ == Start::AtProbe ? Stage::AtProbe : Stage::Closed;
            return {"", result.body, kPrompt};
        case CommandResult::Action::None:
            break;
    }
    return {"", result.body, kPrompt};
}

Reply Adapter::answerLogin(const std::string& line) {
    const bool refused = faults_ != nullptr && faults_->takeRefuseLogin();
    if (!refused && line == options_.loginPassword) {
        loginFailures_ = 0;
        stage_ = Stage::User;
        return {"", "", userPrompt()};
    }
    if (++loginFailures_ >= kMaxLoginFailures) {
        stage_ = Stage::Closed;
        return {"", "Login incorrect\r\nToo many login failures, disconnecting\r\n", ""};
    }
    return {"", "Login incorrect\r\n", kPasswordPrompt};
}

Reply Adapter::answerUser(const std::string& line) {
    const std::string command = trimmed(line);
    if (command.empty())
        return {"", "", userPrompt()};
    if (command == "administrator") {
        stage_ = Stage::AdminPassword;
        return {"", "", kPasswordPrompt};
    }
    if (command == "exit" || command == "quit" || command == "logout") {
        stage_ = Stage::Closed;
        return {"", "Bye\r\n", ""};
    }
    return {"", "% Unknown command (administrator, exit)\r\n", userPrompt()};
}

Reply Adapter::answerAdmin(const std::string& line) {
    if (line == options_.adminPassword) {
        stage_ = Stage::CommandLine;
        return {"", "", kPrompt};
    }
    stage_ = Stage::User;
    return {"", "Password incorrect\r\n", userPrompt()};
}

}  // namespace kx::sim

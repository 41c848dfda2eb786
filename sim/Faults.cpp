#include "sim/Faults.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kx::sim {
namespace {

struct KindName {
    FaultRule::Kind kind;
    const char* name;
    enum { None, Required, Optional, Label } value;
    long defaultValue;
};

constexpr KindName kKinds[] = {
    {FaultRule::Kind::Silent, "silent", KindName::None, 0},
    {FaultRule::Kind::Cut, "cut", KindName::Required, 0},
    {FaultRule::Kind::Delay, "delay", KindName::Required, 0},
    {FaultRule::Kind::Drip, "drip", KindName::Required, 0},
    {FaultRule::Kind::Lower, "lower", KindName::None, 0},
    {FaultRule::Kind::Long, "long", KindName::Optional, 2600},
    {FaultRule::Kind::Garbage, "garbage", KindName::None, 0},
    {FaultRule::Kind::NoLabel, "nolabel", KindName::Label, 0},
    {FaultRule::Kind::Drop, "drop", KindName::Optional, 0},
    {FaultRule::Kind::RefuseLogin, "refuse-login", KindName::None, 0},
};

constexpr long kMaxValue = 10'000'000;  // bytes or milliseconds: far beyond any useful fault

const KindName& kindInfo(FaultRule::Kind kind) {
    for (const KindName& info : kKinds) {
        if (info.kind == kind)
            return info;
    }
    return kKinds[0];
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool globMatch(std::string_view pattern, std::string_view text) {
    // iterative glob with one back-track point: linear enough for command lines
    std::size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool parseNumber(std::string_view text, long& value) {
    if (text.empty())
        return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size() && value >= 0 &&
           value <= kMaxValue;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    }
    return true;
}

std::string withoutLabel(const std::string& body, std::string_view label) {
    std::string kept;
    std::size_t pos = 0;
    while (pos < body.size()) {
        std::size_t end = body.find("\r\n", pos);
        end = end == std::string::npos ? body.size() : end + 2;
        std::string_view line(body.data() + pos, end - pos);
        std::string_view trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
        if (!startsWithNoCase(trimmed, label))
            kept.append(line);
        pos = end;
    }
    return kept;
}

}  // namespace

bool patternMatches(std::string_view pattern, std::string_view line) {
    if (pattern.find_first_of("*?") != std::string_view::npos)
        return globMatch(pattern, line);
    if (!startsWithNoCase(line, pattern))
        return false;
    return line.size() == pattern.size() || line[pattern.size()] == ' ' ||
           line[pattern.size()] == '\t' || pattern.empty();
}

bool parseFault(std::string_view spec, FaultRule& rule, std::string& error) {
    rule = FaultRule{};
    const std::size_t nameEnd = spec.find_first_of("=/:");
    const std::string_view name = spec.substr(0, nameEnd);
    const KindName* info = nullptr;
    for (const KindName& candidate : kKinds) {
        if (name == candidate.name)
            info = &candidate;
    }
    if (info == nullptr) {
        error = "unknown fault \"" + std::string(name) +
                "\" (silent, cut, delay, drip, lower, long, garbage, nolabel, drop, refuse-login)";
        return false;
    }
    rule.kind = info->kind;
    rule.value = info->defaultValue;
    std::string_view rest = nameEnd == std::string_view::npos ? "" : spec.substr(nameEnd);

    if (!rest.empty() && rest[0] == '=') {
        rest.remove_prefix(1);
        if (info->value == KindName::None) {
            error = std::string("fault ") + info->name + " takes no value";
            return false;
        }
        if (info->value == KindName::Label) {
            const std::size_t colon = rest.find(':');
            if (colon == std::string_view::npos || colon == 0) {
                error = "nolabel needs a label ending in its colon, e.g. nolabel=ring sound::*";
                return false;
            }
            rule.label = std::string(rest.substr(0, colon + 1));
            rest.remove_prefix(colon + 1);
        } else {
            const std::size_t end = rest.find_first_of("/:");
            if (!parseNumber(rest.substr(0, end), rule.value)) {
                error = std::string("fault ") + info->name + " needs a number from 0 to " +
                        std::to_string(kMaxValue);
                return false;
            }
            rest = end == std::string_view::npos ? "" : rest.substr(end);
        }
    } else if (info->value == KindName::Required || info->value == KindName::Label) {
        error = std::string("fault ") + info->name + " needs a value (" + info->name +
                (info->value == KindName::Label ? "=LABEL:" : "=N") + ")";
        return false;
    }

    if (!rest.empty() && rest[0] == '/') {
        rest.remove_prefix(1);
        const std::size_t end = rest.find(':');
        if (!parseNumber(rest.substr(0, end), rule.remaining) || rule.remaining == 0) {
            error = "the count after / must be a number from 1";
            return false;
        }
        rest = end == std::string_view::npos ? "" : rest.substr(end);
    }

    if (!rest.empty()) {
        // what is left starts with ':' and the pattern follows (it may contain colons)
        if (rule.kind == FaultRule::Kind::RefuseLogin) {
            error = "refuse-login takes no pattern";
            return false;
        }
        rule.pattern = std::string(rest.substr(1));
        if (rule.pattern.empty())
            rule.pattern = "*";
    }
    return true;
}

std::string describeFault(const FaultRule& rule) {
    const KindName& info = kindInfo(rule.kind);
    std::string text = info.name;
    if (info.value == KindName::Label) {
        text += "=" + rule.label;
    } else if (info.value != KindName::None) {
        text += "=" + std::to_string(rule.value);
    }
    if (rule.remaining > 0)
        text += "/" + std::to_string(rule.remaining);
    if (rule.kind != FaultRule::Kind::RefuseLogin)
        text += ":" + rule.pattern;
    return text;
}

void FaultSet::add(FaultRule rule) {
    std::lock_guard lock(mutex_);
    rules_.push_back(std::move(rule));
}

void FaultSet::clear() {
    std::lock_guard lock(mutex_);
    rules_.clear();
}

std::vector<FaultRule> FaultSet::rules() const {
    std::lock_guard lock(mutex_);
    return rules_;
}

std::vector<FaultRule> FaultSet::take(std::string_view line) {
    std::lock_guard lock(mutex_);
    std::vector<FaultRule> matching;
    for (FaultRule& rule : rules_) {
        if (rule.kind == FaultRule::Kind::RefuseLogin || !patternMatches(rule.pattern, line))
            continue;
        matching.push_back(rule);
        if (rule.remaining > 0)
            --rule.remaining;
    }
    std::erase_if(rules_, [](const FaultRule& rule) { return rule.remaining == 0; });
    return matching;
}

bool FaultSet::takeRefuseLogin() {
    std::lock_guard lock(mutex_);
    for (FaultRule& rule : rules_) {
        if (rule.kind != FaultRule::Kind::RefuseLogin)
            continue;
        if (rule.remaining > 0)
            --rule.remaining;
        std::erase_if(rules_, [](const FaultRule& r) { return r.remaining == 0; });
        return true;
    }
    return false;
}

Output deliverReply(Reply reply, const std::vector<FaultRule>& faults) {
    using Kind = FaultRule::Kind;
    std::size_t cut = std::string::npos, dropAt = std::string::npos;
    long delay = 0, drip = -1;
    bool lowerTerminators = false;
    for (const FaultRule& fault : faults) {
        switch (fault.kind) {
            case Kind::Silent:
                return {};
            case Kind::NoLabel:
                reply.body = withoutLabel(reply.body, fault.label);
                break;
            case Kind::Garbage:
                reply.body.insert(0, std::string("\0\xFF\x80\xFE\x9F\xE0\x01\xFF", 8) + "\r\n");
                break;
            case Kind::Long: {
                const std::string filler = "; " + std::string(60, '-') + "\r\n";
                while (reply.text().size() < static_cast<std::size_t>(fault.value))
                    reply.body += filler;
                break;
            }
            case Kind::Lower:
                lowerTerminators = true;
                break;
            case Kind::Cut:
                cut = std::min(cut, static_cast<std::size_t>(fault.value));
                break;
            case Kind::Drop:
                dropAt = std::min(dropAt, static_cast<std::size_t>(fault.value));
                break;
            case Kind::Delay:
                delay += fault.value;
                break;
            case Kind::Drip:
                drip = std::max(drip, fault.value);
                break;
            case Kind::RefuseLogin:
                break;
        }
    }
    std::string bytes = reply.text();
    if (lowerTerminators) {
        replaceAll(bytes, "\r\nOK\r\n", "\r\nok\r\n");
        replaceAll(bytes, "Write OK", "write ok");
    }
    if (cut < bytes.size())
        bytes.resize(cut);
    const bool drop = dropAt != std::string::npos;
    if (drop && dropAt < bytes.size())
        bytes.resize(dropAt);

    Output output;
    if (delay > 0)
        output.push_back(Step::wait(std::chrono::milliseconds(delay)));
    if (drip >= 0) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i > 0)
                output.push_back(Step::wait(std::chrono::milliseconds(drip)));
            output.push_back(Step::send(std::string(1, bytes[i])));
        }
    } else if (!bytes.empty()) {
        output.push_back(Step::send(std::move(bytes)));
    }
    if (drop)
        output.push_back(Step::drop());
    return output;
}

}  // namespace kx::sim

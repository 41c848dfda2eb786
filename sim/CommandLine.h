#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx::sim {

// One command line cut into words. It keeps where each word ends, so a text value that may hold
// blanks (a provider name, a password) can be taken as the rest of the line. The router's
// families cut at tabs as well ("syslog active" arrives with a tab before "enable"); the other
// areas at blanks only.
class CommandLine {
public:
    enum class Cut { Blanks, BlanksAndTabs };

    explicit CommandLine(std::string_view line, Cut cut = Cut::BlanksAndTabs)
        : text_(line), tabs_(cut == Cut::BlanksAndTabs) {
        while (!text_.empty() && (text_.back() == '\r' || text_.back() == '\n')) text_.pop_back();
        std::size_t i = 0;
        while (i < text_.size()) {
            while (i < text_.size() && isBlank(text_[i])) ++i;
            const std::size_t begin = i;
            while (i < text_.size() && !isBlank(text_[i])) ++i;
            if (i > begin)
                words_.emplace_back(begin, i);
        }
    }

    std::size_t size() const { return words_.size(); }

    // Word i, or an empty text past the last word.
    std::string_view word(std::size_t i) const {
        if (i >= words_.size())
            return {};
        return std::string_view(text_).substr(words_[i].first, words_[i].second - words_[i].first);
    }

    // Everything after word i and the one separator that follows it, blanks kept.
    std::string_view restAfter(std::size_t i) const {
        if (i >= words_.size())
            return {};
        const std::size_t from = words_[i].second + 1;
        if (from >= text_.size())
            return {};
        return std::string_view(text_).substr(from);
    }

private:
    bool isBlank(char c) const { return c == ' ' || (tabs_ && c == '\t'); }

    std::string text_;
    bool tabs_;
    std::vector<std::pair<std::size_t, std::size_t>> words_;
};

}  // namespace kx::sim

#include "app/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "link/TextFunctions.h"

namespace kx {

namespace {

constexpr std::size_t kMaxFileSize = 1 << 20;  // a settings file is a few hundred bytes
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Line {
    std::string text;    // without its line end
    std::string ending;  // "\n", "\r\n" or "" (last line without one)
};

struct Document {
    std::string bom;  // kept so that a rewrite gives the file back as it was
    std::vector<Line> lines;
    std::string newline = "\n";  // for lines we add
};

// Result of loading the file: a missing file is an empty document; anything we cannot use as
// a settings file is an error, so a write never replaces contents it could not read.
struct Loaded {
    Document document;
    bool exists = false;
    int error = 0;
    std::string reason;
};

std::string errnoText(int error) {
    return std::generic_category().message(error);
}

ProfileResult failure(int error, const std::string& what, const std::string& path,
                      const std::string& reason) {
    return {error, what + " " + path + ": " + reason};
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.size() < 2 || t.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = t.rfind(']');
    if (close == 0) {
        return std::nullopt;
    }
    return trimmed(t.substr(1, close - 1));
}

bool isComment(std::string_view text) {
    const std::string_view t = trimmed(text);
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// The key name of a "name=value" line (trimmed), or nullopt.
std::optional<std::string_view> keyName(std::string_view text) {
    if (isComment(text) || sectionName(text)) {
        return std::nullopt;
    }
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = trimmed(text.substr(0, eq));
    if (name.empty()) {
        return std::nullopt;
    }
    return name;
}

bool isQuoted(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

std::string_view readValue(std::string_view text) {
    std::string_view value = trimmed(text.substr(text.find('=') + 1));
    if (isQuoted(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::string encodeValue(std::string_view value) {
    const bool needsQuotes =
        !value.empty() && (kBlanks.find(value.front()) != std::string::npos ||
                           kBlanks.find(value.back()) != std::string::npos || isQuoted(value));
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

struct Position {
    std::optional<std::size_t> key;          // line of the key
    std::optional<std::size_t> insertAfter;  // last key line (or the header) of the section
};

// Finds the key in the first section of that name that holds it.
Position find(const Document& doc, std::string_view section, std::string_view key) {
    Position found;
    bool inSection = false;
    bool firstSection = true;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const std::string& text = doc.lines[i].text;
        if (auto name = sectionName(text)) {
            if (inSection) {
                firstSection = false;
            }
            inSection = CompareNoCase(*name, section) == 0;
            if (inSection && firstSection) {
                found.insertAfter = i;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (auto name = keyName(text)) {
            if (CompareNoCase(*name, key) == 0) {
                found.key = i;
                return found;
            }
            if (firstSection) {
                found.insertAfter = i;
            }
        }
    }
    return found;
}

Document parse(std::string_view content) {
    Document doc;
    if (content.starts_with(kUtf8Bom)) {
        doc.bom = kUtf8Bom;
        content.remove_prefix(kUtf8Bom.size());
    }
    bool newlineChosen = false;
    while (!content.empty()) {
        Line line;
        const std::size_t lf = content.find('\n');
        std::string_view text = content.substr(0, lf);
        if (lf == std::string_view::npos) {
            content = {};
            // a CR at the very end ends the last line as CR LF would, so it is not read into
            // the last value (and an added line after it cannot change that value)
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
                line.ending.assign("\r");
            }
        } else {
            content.remove_prefix(lf + 1);
            const bool crlf = text.ends_with('\r');
            if (crlf)
                text.remove_suffix(1);
            line.ending.assign(crlf ? "\r\n" : "\n");
            if (!newlineChosen) {
                doc.newline = line.ending;
                newlineChosen = true;
            }
        }
        line.text = text;
        doc.lines.push_back(std::move(line));
    }
    return doc;
}

std::string serialize(const Document& doc) {
    std::string out = doc.bom;
    for (const Line& line : doc.lines) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

Loaded load(const std::string& path) {
    Loaded loaded;
    // O_NONBLOCK so that a FIFO put in the file's place cannot hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            loaded.exists = true;
            loaded.error = errno;
            loaded.reason = errnoText(errno);
        }
        return loaded;
    }
    loaded.exists = true;
    std::string content;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        loaded.error = errno;
        loaded.reason = errnoText(errno);
    } else if (S_ISDIR(st.st_mode)) {
        loaded.error = EISDIR;
        loaded.reason = errnoText(EISDIR);
    } else if (!S_ISREG(st.st_mode)) {
        loaded.error = EINVAL;
        loaded.reason = "not a regular file";
    } else {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                loaded.error = errno;
                loaded.reason = errnoText(errno);
                break;
            }
            if (n == 0) {
                break;
            }
            content.append(buffer, static_cast<std::size_t>(n));
            if (content.size() > kMaxFileSize) {
                loaded.error = EFBIG;
                loaded.reason = "too large for a settings file";
                break;
            }
        }
    }
    ::close(fd);
    if (loaded.error == 0 && content.find('\0') != std::string::npos) {
        loaded.error = EINVAL;
        loaded.reason = "not a text file";
    }
    if (loaded.error == 0) {
        loaded.document = parse(content);
    }
    return loaded;
}

// The file a write must replace: the target of a symbolic link rather than the link itself.
std::string writeTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Replaces the file with content: temporary file beside it, fsync, rename, fsync the folder.
ProfileResult replaceFile(const std::string& path, const std::string& content,
                          std::optional<mode_t> existingMode) {
    const std::string target = writeTarget(path);
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // created with mode 0600
    if (fd < 0) {
        const int error = errno;
        return failure(error, "Cannot write the settings file", path, errnoText(error));
    }
    const mode_t mode = existingMode.value_or(S_IRUSR | S_IWUSR);
    bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return failure(error, "Cannot write the settings file", path, errnoText(error));
    }
    // Make the rename itself durable; the new contents are already safe, so errors here are
    // not worth failing for.
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isValidName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && trimmed(name).size() == name.size() && !hasLineBreakOrNul(name) &&
           name.find_first_of(forbidden) == std::string_view::npos;
}

}  // namespace

int Profile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string value = readText(section, key, "", 64);
    return value.empty() ? defaultValue : ReadDecimal(value);
}

std::string Profile::readText(std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize) const {
    std::string_view value = defaultValue;
    const Loaded loaded = load(path_);
    const Position position = find(loaded.document, section, key);
    if (position.key) {
        value = readValue(loaded.document.lines[*position.key].text);
    }
    if (bufferSize == 0) {
        return {};
    }
    return std::string(value.substr(0, bufferSize - 1));
}

ProfileResult Profile::writeText(std::string_view section, std::string_view key,
                                 std::string_view value) const {
    if (!isValidName(section, "]") || !isValidName(key, "=") || key.front() == '[' ||
        key.front() == ';' || key.front() == '#' || hasLineBreakOrNul(value)) {
        return failure(
            EINVAL, "Cannot write the settings file", path_,
            "invalid name or value for " + std::string(section) + "/" + std::string(key));
    }
    Loaded loaded = load(path_);
    if (loaded.error != 0) {
        return failure(loaded.error, "Cannot update the settings file", path_, loaded.reason);
    }
    std::optional<mode_t> mode;
    struct stat st {};
    if (loaded.exists && ::stat(path_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    }
    Document& doc = loaded.document;
    const std::string original = serialize(doc);
    const Position position = find(doc, section, key);
    const std::string encoded = encodeValue(value);

    if (position.key) {
        // Keep the key as spelled in the file, the "=" and the blanks after it.
        std::string& text = doc.lines[*position.key].text;
        std::size_t valueStart = text.find('=') + 1;
        while (valueStart < text.size() && kBlanks.find(text[valueStart]) != std::string::npos) {
            ++valueStart;
        }
        text = text.substr(0, valueStart) + encoded;
    } else {
        std::vector<Line> added;
        if (!position.insertAfter) {
            added.push_back({"[" + std::string(section) + "]", doc.newline});
        }
        added.push_back({std::string(key) + "=" + encoded, doc.newline});
        const std::size_t at = position.insertAfter ? *position.insertAfter + 1 : doc.lines.size();
        if (at > 0 && !doc.lines[at - 1].ending.ends_with('\n')) {
            // the file's last line had no line end, or a lone CR: a CR stays as the start of
            // CR LF, so a CR the value ends with is still read as part of the value
            std::string& ending = doc.lines[at - 1].ending;
            ending = ending.empty() ? doc.newline : "\r\n";
        }
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(),
                         added.end());
    }
    const std::string content = serialize(doc);
    if (loaded.exists && content == original) {
        return {};  // nothing changes; leave the file and its time stamp alone
    }
    return replaceFile(path_, content, mode);
}

ProfileResult Profile::writeInt(std::string_view section, std::string_view key, int value) const {
    return writeText(section, key, std::to_string(value));
}

const std::string& StartupDirectory() {
    static const std::string directory = [] {
        std::error_code error;
        const std::filesystem::path cwd = std::filesystem::current_path(error);
        return error ? std::string(".") : cwd.string();
    }();
    return directory;
}

namespace {

std::string joinPath(const std::string& dir, std::string_view name) {
    if (dir.empty()) {
        return std::string(name);
    }
    return dir.back() == '/' ? dir + std::string(name) : dir + "/" + std::string(name);
}

}  // namespace

std::string SettingsFilePath(const std::string& dir) {
    return joinPath(dir, "setutily.ini");
}

std::string HelpFilePath(const std::string& dir) {
    return joinPath(dir, "kestrelx.hlp");
}

}  // namespace kx

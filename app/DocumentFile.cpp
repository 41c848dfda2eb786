#include "app/DocumentFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace kx {

namespace {

// Writes all of `text` to `fd`; false with errno set when it cannot.
bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a path names once its symbolic links are followed (the path itself when it is
// none); a link whose target does not exist yet names that target.
std::string linkTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0)
            return path;
        target.resize(static_cast<std::size_t>(length));
        if (target.front() != '/') {
            const std::size_t slash = path.rfind('/');
            target =
                (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
        path = std::move(target);
    }
    return path;
}

// A history document's name: "YYYYMMDD-HHMMSS", a ".N" when that second already has one, "-",
// the device, ".txt". Only names of this form are listed and ever removed.
bool isHistoryName(std::string_view name) {
    if (name.size() < 20 || !name.ends_with(".txt") || name[8] != '-')
        return false;
    for (std::size_t i = 0; i < 15; ++i)
        if (i != 8 && (name[i] < '0' || name[i] > '9'))
            return false;
    return name[15] == '-' || name[15] == '.';
}

// The device name as part of a file name: letters, digits, "-" and "_" kept, anything else "_".
std::string fileNamePart(std::string_view device) {
    std::string out;
    for (char c : device) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_';
        out += keep ? c : '_';
    }
    if (out.size() > 64)
        out.resize(64);
    return out.empty() ? std::string("KESTRELX") : out;
}

// Makes `path` and its missing parents, the new ones 0700.
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// The newest first: the name begins with its date and time, and a later document of the same
// second has the higher ".N".
bool newerName(const std::string& a, const std::string& b) {
    const auto counter = [](const std::string& name) {
        return name[15] == '.' ? std::atoi(name.c_str() + 16) : 1;
    };
    const int order = a.compare(0, 15, b, 0, 15);
    if (order != 0)
        return order > 0;
    if (counter(a) != counter(b))
        return counter(a) > counter(b);
    return a > b;
}

std::vector<std::string> historyNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir))
        if (isHistoryName(entry->d_name))
            names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end(), newerName);
    return names;
}

}  // namespace

int readDocumentFile(const std::string& path, std::string& text) {
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = fd < 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : errno;
        if (fd >= 0)
            ::close(fd);
        return error;
    }
    char chunk[65536];
    ssize_t got = 0;
    while (text.size() <= kLargestDocument &&
           ((got = ::read(fd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)))
        if (got > 0)
            text.append(chunk, static_cast<std::size_t>(got));
    const int error = errno;
    ::close(fd);
    return got < 0 ? error : 0;
}

int writeDocumentFile(const std::string& path, std::string_view text) {
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode))
        return EISDIR;
    // /dev/stdout and its kind name a descriptor already open (perhaps on a regular file the
    // shell redirected to): replacing that file would lose what is written
    const bool descriptor = path.starts_with("/dev/") || path.starts_with("/proc/");
    if (exists && (!S_ISREG(status.st_mode) || descriptor)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY |
                                                (S_ISREG(status.st_mode) ? O_TRUNC : 0));
        if (fd < 0)
            return errno;
        const bool written = writeAll(fd, text);
        const int error = errno;
        if (::close(fd) != 0 && written)
            return errno;
        return written ? 0 : error;
    }
    const std::string target = linkTarget(path);
    // readable by its owner only: a document holds the dial-up and line passwords
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errno;
    (void)::fchmod(fd, 0600);
    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && std::rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        std::remove(temporary.c_str());
        return error;
    }
    return 0;
}

std::string historyFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            const passwd* user = ::getpwuid(::getuid());
            home = user && user->pw_dir ? user->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.local/state";
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/kestrelx/history";
}

std::string saveHistory(std::string_view text, std::string_view device, std::string& error) {
    const std::string folder = historyFolder();
    if (!makeFolders(folder)) {
        error = "cannot make " + folder + ": " + std::strerror(errno);
        return {};
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        error = folder + " is not a folder";
        return {};
    }
    // the documents hold passwords: the folder is its owner's alone, whatever it was
    if ((status.st_mode & 0777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
        error = "cannot make " + folder + " private: " + std::strerror(errno);
        return {};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string part = fileNamePart(device);
    std::string path;
    // a document of the same second keeps its name: this one takes the next number
    for (int counter = 1; counter < 1000; ++counter) {
        path = folder + "/" + stamp + (counter == 1 ? "" : "." + std::to_string(counter)) + "-" +
               part + ".txt";
        if (::lstat(path.c_str(), &status) != 0)
            break;
    }
    if (const int failure = writeDocumentFile(path, text); failure != 0) {
        error = "cannot write " + path + ": " + std::strerror(failure);
        return {};
    }
    const std::vector<std::string> names = historyNames(folder);
    for (std::size_t i = kHistoryKept; i < names.size(); ++i)
        std::remove((folder + "/" + names[i]).c_str());
    return path;
}

bool replaceHistory(const std::string& path, std::string_view text, std::string& error) {
    if (const int failure = writeDocumentFile(path, text); failure != 0) {
        error = "cannot write " + path + ": " + std::strerror(failure);
        return false;
    }
    return true;
}

std::vector<HistoryEntry> listHistory() {
    const std::string folder = historyFolder();
    std::vector<HistoryEntry> entries;
    for (const std::string& name : historyNames(folder)) {
        HistoryEntry entry;
        entry.path = folder + "/" + name;
        entry.date = name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
                     name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2);
        std::ifstream in(entry.path, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.starts_with("# device: "))
                entry.device = line.substr(10);
            else if (line.starts_with("# date: "))
                entry.date = line.substr(8);
            else if (!line.empty() && line.front() != '#' && line.find('=') != std::string::npos)
                ++entry.items;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace kx

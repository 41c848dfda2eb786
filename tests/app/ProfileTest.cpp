#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <string>

#include "app/Profile.h"
#include "tests/support/Files.h"

namespace kx {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kx-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = SettingsFilePath(dir_.string());
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void put(const std::string& content) const { test::writeFile(path_, content); }
    std::string contents() const { return test::readFile(path_); }
    // Everything in the folder but the settings file: a failed write must leave nothing behind.
    int strayFiles() const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(dir_)) count += entry.path() != path_;
        return count;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(ProfileTest, ReadsValuesLikeTheWindowsFunctions) {
    put("; written by hand\r\n[MODE]\r\nDEBUG = 99\r\nKIKI=KESTRELX  \r\nVER=2.10\r\n"
        "[portsel]\r\nport=1\r\nCOM=3x\r\nEMPTY=\r\nNEG=-5\r\nHUGE=99999999999\r\n"
        "[OPTION]\r\nDATA1=\"  pw \"\r\nDATA2='x'\r\n;DATA3=commented\r\n"
        "SJIS=\x90\xDD\x92\xE8\r\n");
    const Profile profile(path_);
    // clang-format off
    struct IntRow { const char *section, *key; int defaultValue, expected; };
    const IntRow ints[] = {
        {"MODE", "DEBUG", 0, 99}, {"mode", "debug", 0, 99}, {"PORTSEL", "PORT", 0, 1},
        {"PORTSEL", "COM", 1, 3}, {"PORTSEL", "EMPTY", 7, 7}, {"PORTSEL", "NEG", 0, -5},
        {"PORTSEL", "HUGE", 0, 2147483647}, {"PORTSEL", "MISSING", 1, 1}, {"NONE", "COM", 1, 1},
        {"MODE", "KIKI", 5, 0},  // text without digits reads as 0
    };
    // clang-format on
    for (const IntRow& r : ints)
        EXPECT_EQ(profile.readInt(r.section, r.key, r.defaultValue), r.expected) << r.key;
    // clang-format off
    struct TextRow { const char *section, *key, *dflt; std::size_t size; std::string expected; };
    const TextRow texts[] = {
        {"MODE", "KIKI", "", 260, "KESTRELX"}, {"MODE", "KIKI", "", 4, "KES"},
        {"MODE", "KIKI", "", 1, ""}, {"MODE", "KIKI", "", 0, ""}, {"MODE", "VER", "", 260, "2.10"},
        {"IPADDR", "FIELD", "", 20, ""}, {"IPADDR", "FIELD", "10.0.0.1", 20, "10.0.0.1"},
        {"IPADDR", "FIELD", "10.0.0.1", 3, "10"}, {"PORTSEL", "EMPTY", "dflt", 35, ""},
        {"OPTION", "DATA1", "", 35, "  pw "}, {"OPTION", "DATA2", "", 35, "x"},
        {"OPTION", ";DATA3", "", 35, ""}, {"OPTION", "DATA3", "", 35, ""},
        {"option", "sjis", "", 35, "\x90\xDD\x92\xE8"},
    };
    // clang-format on
    for (const TextRow& r : texts)
        EXPECT_EQ(profile.readText(r.section, r.key, r.dflt, r.size), r.expected)
            << r.key << " size " << r.size;
}

TEST_F(ProfileTest, FileThatCannotBeReadGivesTheDefaults) {
    const Profile profile(path_);
    EXPECT_EQ(profile.readInt("PORTSEL", "COM", 1), 1);  // no file at all
    put("[PORTSEL]\nCOM=4\n\0\x01\x02"s);                // binary
    EXPECT_EQ(profile.readInt("PORTSEL", "COM", 1), 1);
    EXPECT_FALSE(profile.writeInt("PORTSEL", "COM", 5).ok());  // and is never overwritten
    EXPECT_EQ(contents(), "[PORTSEL]\nCOM=4\n\0\x01\x02"s);
    fs::remove(path_);
    fs::create_directory(path_);  // a folder in its place
    EXPECT_EQ(profile.readText("IPADDR", "FIELD", "dflt", 20), "dflt");
    EXPECT_EQ(profile.writeInt("PORTSEL", "COM", 5).error, EISDIR);
    fs::remove(path_);
    put("[PORTSEL]\nCOM=4\n");
    fs::permissions(path_, fs::perms::none);
    if (::geteuid() != 0) {  // permissions do not bind root
        EXPECT_EQ(profile.readInt("PORTSEL", "COM", 1), 1);
        EXPECT_EQ(profile.writeInt("PORTSEL", "COM", 5).error, EACCES);
    }
}

TEST_F(ProfileTest, WritesInPlaceAndKeepsEverythingElse) {
    struct Row {
        const char* name;
        std::string before;
        const char *section, *key, *value;
        std::string after;
    };
    const Row rows[] = {
        {"new file", "", "PORTSEL", "PORT", "0", "[PORTSEL]\nPORT=0\n"},
        {"replace, CRLF kept",
         "; comment\r\n\r\n[PORTSEL]\r\nPORT = 0\r\nCOM=1\r\n\r\n[IPADDR]\r\nFIELD=\r\n", "portsel",
         "port", "1",
         "; comment\r\n\r\n[PORTSEL]\r\nPORT = 1\r\nCOM=1\r\n\r\n[IPADDR]\r\nFIELD=\r\n"},
        {"key added after the section's last key",
         "[PORTSEL]\r\nPORT=0\r\n\r\n; ip\r\n[IPADDR]\r\n", "PORTSEL", "COM", "2",
         "[PORTSEL]\r\nPORT=0\r\nCOM=2\r\n\r\n; ip\r\n[IPADDR]\r\n"},
        {"key added to an empty section", "[OPTION]\n[MODE]\nDEBUG=1\n", "OPTION", "DATA1", "pw",
         "[OPTION]\nDATA1=pw\n[MODE]\nDEBUG=1\n"},
        {"section appended", "[MODE]\nKIKI=KESTRELX", "IPADDR", "FIELD", "192.168.1.1",
         "[MODE]\nKIKI=KESTRELX\n[IPADDR]\nFIELD=192.168.1.1\n"},
        {"value emptied", "[OPTION]\nDATA1=secret\n", "OPTION", "DATA1", "", "[OPTION]\nDATA1=\n"},
        {"blanks at the ends kept by quotes", "[OPTION]\nDATA1=x\n", "OPTION", "DATA1", " pw ",
         "[OPTION]\nDATA1=\" pw \"\n"},
        {"first of two sections", "[A]\nk=1\n[B]\n[a]\nk=2\n", "A", "K", "3",
         "[A]\nk=3\n[B]\n[a]\nk=2\n"},
        {"key added to the first of two sections", "[A]\nk=1\n[a]\nj=2\n", "a", "n", "3",
         "[A]\nk=1\nn=3\n[a]\nj=2\n"},
        {"UTF-8 mark kept", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "\x82\xA0",
         "\xEF\xBB\xBF[A]\nk=\x82\xA0\n"},
        // a CR at the very end ends the last line; it is never part of its value
        {"last value before a final CR", "[A]\nk=1\r", "A", "k", "2", "[A]\nk=2\r"},
        {"key added after a final CR", "[A]\nk=1\r", "A", "j", "2", "[A]\nk=1\r\nj=2\n"},
        {"a value ending in CR before a final CR", "[A]\nk=\r\r", "A", "j", "2",
         "[A]\nk=\r\r\nj=2\n"},
    };
    for (const Row& r : rows) {
        fs::remove(path_);
        if (!r.before.empty())
            put(r.before);
        const ProfileResult result = Profile(path_).writeText(r.section, r.key, r.value);
        EXPECT_TRUE(result.ok()) << r.name << ": " << result.message;
        EXPECT_EQ(contents(), r.after) << r.name;
        EXPECT_EQ(Profile(path_).readText(r.section, r.key, "?", 260), r.value) << r.name;
    }
    EXPECT_EQ(strayFiles(), 0);
}

TEST_F(ProfileTest, RefusesValuesThatWouldBreakTheFile) {
    put("[OPTION]\nDATA1=old\n");
    const Profile profile(path_);
    const std::array<const char*, 3> rows[] = {{"OPTION", "DATA1", "a\nCOM=9"},
                                               {"OPTION", "DATA1", "a\rb"},
                                               {"OPTION", "DA=TA", "x"},
                                               {"OPT]ION", "DATA1", "x"},
                                               {"", "DATA1", "x"}};
    for (const auto& [section, key, value] : rows) {
        EXPECT_EQ(profile.writeText(section, key, value).error, EINVAL) << section << key << value;
    }
    EXPECT_EQ(contents(), "[OPTION]\nDATA1=old\n");
}

// A new file is private: InputSafetyTest.PasswordsSurviveTheSettingsFileAndAreNeverShown.
TEST_F(ProfileTest, AnExistingFileKeepsItsModeAndAFailedWriteLeavesItIntact) {
    put("[PORTSEL]\nCOM=1\n");
    ::chmod(path_.c_str(), 0640);
    ASSERT_TRUE(Profile(path_).writeInt("PORTSEL", "COM", 2).ok());
    struct stat st {};
    ASSERT_EQ(::stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const std::string before = "[OPTION]\nDATA1=old\n";
    put(before);
    // A file-size limit below the new contents makes the write itself fail, for root too.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const ProfileResult result = Profile(path_).writeText("OPTION", "DATA1", "a longer value");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result.error, EFBIG);
    EXPECT_NE(result.message.find(path_), std::string::npos) << result.message;
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(strayFiles(), 0);

    EXPECT_EQ(Profile(dir_.string() + "/missing/setutily.ini").writeInt("A", "k", 1).error, ENOENT);
    if (::geteuid() != 0) {  // permissions do not bind root
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(Profile(path_).writeText("OPTION", "DATA1", "new").error, EACCES);
        EXPECT_EQ(contents(), before);
    }
}

}  // namespace
}  // namespace kx

#include "core/settings/ini_file.h"

#include "core/platform/error.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zeilwerk {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

class IniFileTest : public testing::Test {
protected:
    std::filesystem::path file(const std::string& contents, const std::string& name = "test.ini") {
        const auto path = dir / name;
        writeFile(path, contents);
        return path;
    }
    size_t entries() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
    }
    TempDir dir;
};

TEST_F(IniFileTest, FirstWriteCreatesTheFile) {
    IniFile ini(dir / "optn.ini");
    ini.writeFlag("laden", "auto", true);
    EXPECT_EQ(readFile(dir / "optn.ini"), "[laden]\r\nauto=1\r\n");
}

TEST_F(IniFileTest, WritesKeepFirstWrittenOrder) {
    IniFile ini(dir / "optn.ini");
    ini.writeFlag("laden", "auto", false);
    ini.writeText("laden", "datei", "standard.ini");
    ini.writeFlag("fenster", "auto", true);
    ini.writeFlag("tool", "hide", false);
    ini.writeNumber("fenster", "eingabe_top", -206);
    ini.writeFlag("laden", "auto", true);
    EXPECT_EQ(readFile(dir / "optn.ini"),
              "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n"
              "[fenster]\r\nauto=1\r\neingabe_top=-206\r\n"
              "[tool]\r\nhide=0\r\n");
}

TEST_F(IniFileTest, KeyAndSectionMatchIgnoreCase) {
    const auto path = file("[Laden]\r\nauto=0\r\n");
    IniFile ini(path);
    ini.writeFlag("LADEN", "AUTO", true);
    EXPECT_EQ(readFile(path), "[Laden]\r\nauto=1\r\n");
    EXPECT_TRUE(ini.readFlag("laden", "Auto", false));
}

TEST_F(IniFileTest, EverythingElseStaysAsItWas) {
    const std::string before =
        "; comment\n[other]\nfoo = bar \r\n\r\n[text]\r\n  laenge = 38 ;x\r\nmystery\r\n\r\n[last]\r\nk=v";
    const auto path = file(before);
    IniFile ini(path);
    ini.writeText("text", "laenge", "50");
    EXPECT_EQ(readFile(path),
              "; comment\n[other]\nfoo = bar \r\n\r\n[text]\r\n  laenge =50\r\nmystery\r\n\r\n[last]\r\nk=v");
}

TEST_F(IniFileTest, MissingKeyGoesToTheEndOfItsSection) {
    const auto path = file("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    IniFile ini(path);
    ini.writeText("a", "z", "3");
    ini.writeText("b", "w", "4");
    EXPECT_EQ(readFile(path), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\nw=4\r\n");
}

TEST_F(IniFileTest, MissingSectionGoesToTheEnd) {
    const auto path = file("[a]\r\nx=1");  // no line end at the end
    IniFile ini(path);
    ini.writeText("b", "y", "2");
    EXPECT_EQ(readFile(path), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    ini.writeText("a", "z", "3");
    EXPECT_EQ(readFile(path), "[a]\r\nx=1\r\nz=3\r\n[b]\r\ny=2\r\n");
}

TEST_F(IniFileTest, OnlyTheFirstOfTwoSectionsCounts) {
    const auto path = file("[a]\r\nx=1\r\n[a]\r\nx=2\r\ny=3\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readNumber("a", "x", 0), 1);
    EXPECT_EQ(ini.readNumber("a", "y", 0), 0);
    ini.writeNumber("a", "x", 5);
    EXPECT_EQ(readFile(path), "[a]\r\nx=5\r\n[a]\r\nx=2\r\ny=3\r\n");
}

TEST_F(IniFileTest, ValueKinds) {
    const struct {
        const char* value;
        bool flag;             // read with fallback off
        std::int32_t number;   // read with fallback 99
    } rows[] = {
        {"1", true, 1},
        {"0", false, 0},
        {"2", true, 2},
        {"0x10", true, 16},
        {"0X1f", true, 31},
        {"0x", false, 99},
        {"0xFFFFFFFF", true, -1},
        {"0x100000000", false, 99},
        {"0xg", false, 99},
        {"yes", false, 99},
        {" 12 ", true, 12},
        {"\t-5", true, -5},
        {"+7", true, 7},
        {"+-7", false, 99},
        {"-", false, 99},
        {"12abc", false, 99},
        {"1.5", false, 99},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 99},
        {"-2147483648", true, INT32_MIN},
        {"\"5\"", true, 5},
        {"", false, 99},
    };
    for (const auto& row : rows) {
        const auto path = file(std::string("[s]\r\nk=") + row.value + "\r\n");
        IniFile ini(path);
        EXPECT_EQ(ini.readFlag("s", "k", false), row.flag) << row.value;
        EXPECT_EQ(ini.readNumber("s", "k", 99), row.number) << row.value;
    }
    IniFile ini(file("[s]\r\nword=yes\r\n"));
    EXPECT_TRUE(ini.readFlag("s", "word", true));
}

TEST_F(IniFileTest, TextReads) {
    const auto path = file("[s]\r\nq=\"quoted text\"\r\nqq=\"\"x\"\"\r\nsq='a'\r\nhalf=\"open\r\n"
                           "empty=\r\nblank=  padded\t \r\numl=Gr\xFC\xDF" "e\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readText("s", "q", "-"), "quoted text");
    EXPECT_EQ(ini.readText("s", "qq", "-"), "\"x\"");
    EXPECT_EQ(ini.readText("s", "sq", "-"), "a");
    EXPECT_EQ(ini.readText("s", "half", "-"), "\"open");
    EXPECT_EQ(ini.readText("s", "empty", "-"), "");
    EXPECT_EQ(ini.readText("s", "blank", "-"), "padded");
    EXPECT_EQ(ini.readText("s", "uml", "-"), "Gr\xFC\xDF" "e");
    EXPECT_EQ(ini.readText("s", "missing", "standard.ini"), "standard.ini");
    EXPECT_EQ(ini.readText("nosection", "q", "fb"), "fb");
    EXPECT_EQ(IniFile(dir / "nofile.ini").readText("s", "q", "fb"), "fb");
}

TEST_F(IniFileTest, LongTextIsCutAt2047) {
    const auto path = file("[s]\r\nlong=" + std::string(3000, 'x') + "\r\n");
    EXPECT_EQ(IniFile(path).readText("s", "long", "").size(), 2047u);
    EXPECT_EQ(IniFile(path).readText("s", "none", std::string(3000, 'y')).size(), 2047u);
}

TEST_F(IniFileTest, ReadsSeeWritesOfAnotherHandle) {
    IniFile reader(dir / "optn.ini");
    IniFile writer(dir / "optn.ini");
    EXPECT_FALSE(reader.readFlag("fenster", "auto", false));
    writer.writeFlag("fenster", "auto", true);
    EXPECT_TRUE(reader.readFlag("fenster", "auto", false));
}

// Reads go through an index of the parsed file; it must answer as one plain pass would.
TEST_F(IniFileTest, IndexedReadsAgreeWithAPlainPass) {
    const char* const sections[] = {"a", "A", " a ", "b", "[c]", ""};
    const char* const keys[] = {"k", "K", "k ", "x=y", "", "lange_taste"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 60; ++round) {
        std::string text = round % 5 == 0 ? "\xEF\xBB\xBF" : "";
        for (int line = 0; line < 40; ++line) {
            switch (random() % 6) {
            case 0: text += std::string("[") + sections[random() % 6] + "]"; break;
            case 1: text += std::string("[") + sections[random() % 6]; break;
            case 2: text += "; comment"; break;
            default: text += std::string(keys[random() % 6]) + "=" + std::to_string(line); break;
            }
            text += random() % 4 ? "\r\n" : "\n";
        }
        const auto path = file(text);
        const IniFile ini(path);
        for (const char* section : sections)
            for (const char* key : keys)
                for (int twice = 0; twice < 2; ++twice)
                    EXPECT_EQ(ini.readText(section, key, "-"), findIniValue(text, section, key).value_or("-"))
                        << "[" << section << "] " << key << " in\n" << text;
    }
}

// A change by another program, as large as before and in the same moment, is still seen.
TEST_F(IniFileTest, ReadsSeeInPlaceChangesOfTheSameSize) {
    const auto path = file("[s]\r\nk=1\r\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.readNumber("s", "k", 0), 1);
    writeFile(path, "[s]\r\nk=2\r\n");
    EXPECT_EQ(ini.readNumber("s", "k", 0), 2);
    // The same once the first state is old enough to be kept between reads.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(ini.readNumber("s", "k", 0), 2);
    writeFile(path, "[s]\r\nk=3\r\n");
    EXPECT_EQ(ini.readNumber("s", "k", 0), 3);
}

TEST_F(IniFileTest, LineBreakInAValueStaysOneLine) {
    IniFile ini(dir / "a.ini");
    ini.writeText("s", "k", "one\r\n[evil]\nx=1");
    EXPECT_EQ(readFile(dir / "a.ini"), "[s]\r\nk=one  [evil] x=1\r\n");
    EXPECT_EQ(ini.readText("evil", "x", "none"), "none");
}

TEST_F(IniFileTest, JunkReadsWithoutHarm) {
    std::mt19937 random(4711);
    std::string junk(64 * 1024, '\0');
    for (char& c : junk)
        c = static_cast<char>(random());
    IniFile ini(file(junk));
    EXPECT_EQ(ini.readNumber("s", "k", 3), 3);
    ini.writeNumber("s", "k", 4);
    EXPECT_EQ(ini.readNumber("s", "k", 3), 4);

    IniFile oneLine(file("[s] k=1 no line ends at all", "b.ini"));
    EXPECT_EQ(oneLine.readNumber("s", "k", 7), 7);

    IniFile bom(file("\xEF\xBB\xBF[s]\r\nk=5\r\n", "c.ini"));
    EXPECT_EQ(bom.readNumber("s", "k", 7), 5);
    bom.writeNumber("s", "k", 6);
    EXPECT_EQ(readFile(dir / "c.ini"), "\xEF\xBB\xBF[s]\r\nk=6\r\n");

    IniFile huge(file("[s]\r\nk=" + std::string(1 << 20, '9') + "\r\nj=2\r\n", "d.ini"));
    EXPECT_EQ(huge.readNumber("s", "k", 7), 7);
    EXPECT_EQ(huge.readNumber("s", "j", 7), 2);

    // A header without "]" opens no section; a line without "=" is no key.
    IniFile broken(file("[s\r\nk=1\r\n[t]\r\nnokey\r\nk=2\r\n", "e.ini"));
    EXPECT_EQ(broken.readNumber("s", "k", 7), 7);
    EXPECT_EQ(broken.readText("t", "nokey", "fb"), "fb");
    EXPECT_EQ(broken.readNumber("t", "k", 7), 2);
}

// Owners, modes, links, FIFOs and child processes are the POSIX side of these files.
#ifndef _WIN32
TEST_F(IniFileTest, KeepsPermissionsAndLinks) {
    const auto path = file("[s]\r\nk=1\r\n", "real.ini");
    ::chmod(path.c_str(), 0640);
    std::filesystem::create_symlink(path, dir / "link.ini");
    IniFile ini(dir / "link.ini");
    ini.writeNumber("s", "k", 2);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(readFile(path), "[s]\r\nk=2\r\n");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}
#endif

void expectWriteFails(IniFile& ini, const std::filesystem::path& shown) {
    try {
        ini.writeText("s", "k", "new");
        ADD_FAILURE() << "write did not fail";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + shown.string());
    }
}

TEST_F(IniFileTest, FailedWriteLeavesNothingBehind) {
    IniFile missingFolder(dir / "no" / "such.ini");
    expectWriteFails(missingFolder, dir / "no" / "such.ini");

    const auto readOnly = file("[s]\r\nk=old\r\n", "ro.ini");
    using std::filesystem::perms;
    std::filesystem::permissions(readOnly, perms::owner_read | perms::group_read | perms::others_read);
    IniFile ro(readOnly);
    expectWriteFails(ro, readOnly);
    EXPECT_EQ(readFile(readOnly), "[s]\r\nk=old\r\n");

    std::filesystem::create_directory(dir / "folder.ini");
    IniFile folder(dir / "folder.ini");
    expectWriteFails(folder, dir / "folder.ini");

    EXPECT_EQ(entries(), 2u);  // ro.ini and folder.ini; no temporary file left
}

// On Windows a path is UTF-16: names outside the ANSI page must be written and read too.
TEST_F(IniFileTest, ANameOutsideTheCodePage) {
    const std::filesystem::path folder = dir.path() / std::filesystem::path(u8"Spiel ж 日本");
    std::filesystem::create_directory(folder);
    IniFile ini(folder / std::filesystem::path(u8"Ü€.ini"));
    ini.writeText("s", "k", "Wert");
    ini.writeNumber("s", "n", 7);
    EXPECT_EQ(IniFile(folder / std::filesystem::path(u8"Ü€.ini")).readText("s", "k", ""), "Wert");
    EXPECT_EQ(ini.readNumber("s", "n", 0), 7);
    EXPECT_EQ(entries(), 1u);  // the folder; the temporary file is gone
}

TEST_F(IniFileTest, RelativePathIsShownInFull) {
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    IniFile ini("missing/x.ini");
    expectWriteFails(ini, dir / "missing" / "x.ini");
    std::filesystem::current_path(cwd);
}

#ifndef _WIN32
// A file of another owner is written in place, so it keeps its owner; a read-only folder
// does not stop that, a read-only file does. Root owns everything, so the writer is an
// unprivileged child.
TEST_F(IniFileTest, AnotherOwnersFileIsWrittenInPlaceAndKeepsItsOwner) {
    const auto path = file("[s]\r\nk=old\r\n");
    const auto locked = file("[s]\r\nk=old\r\n", "locked.ini");
    ::chmod(path.c_str(), 0666);
    ::chmod(locked.c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);
    struct stat before {};
    ::stat(path.c_str(), &before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        try {
            IniFile(path).writeText("s", "k", "new");
        } catch (const Error&) {
            ::_exit(1);
        }
        try {
            IniFile(locked).writeText("s", "k", "new");
        } catch (const Error&) {
            ::_exit(0);
        }
        ::_exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the writable file failed, 2: the read-only one was written, 3: no child";
    EXPECT_EQ(readFile(path), "[s]\r\nk=new\r\n");
    EXPECT_EQ(readFile(locked), "[s]\r\nk=old\r\n");
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(entries(), 2u);
}

#endif

}  // namespace
}  // namespace zeilwerk

#ifndef _WIN32
namespace zeilwerk {
namespace {

class IniFileSafetyTest : public IniFileTest {
protected:
    // Runs the body in a child process and returns its exit code.
    static int inChild(const std::function<void()>& body) {
        const pid_t child = ::fork();
        if (child == 0) {
            body();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(IniFileSafetyTest, WhatIsNoRegularFileReadsAsMissingAndIsNeverWritten) {
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.ini");
    for (const char* name : {"fifo.ini", "zero.ini"}) {
        IniFile ini(dir / name);
        // Neither blocks nor grows: both read as an empty file.
        EXPECT_EQ(ini.readText("s", "k", "fallback"), "fallback") << name;
        EXPECT_THROW(ini.writeText("s", "k", "v"), Error) << name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "zero.ini"));
    EXPECT_EQ(entries(), 2u);
}

TEST_F(IniFileSafetyTest, LinksOwnerAndModeStayAsTheyWere) {
    // A link that points nowhere yet: the write creates the file it names.
    std::filesystem::create_symlink("later.ini", dir / "dangling.ini");
    IniFile(dir / "dangling.ini").writeText("s", "k", "v");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.ini"));
    EXPECT_EQ(readFile(dir / "later.ini"), "[s]\r\nk=v\r\n");

    // Two names of one file: both see the write.
    const auto first = file("[s]\r\nk=1\r\n", "first.ini");
    std::filesystem::create_hard_link(first, dir / "second.ini");
    IniFile(first).writeNumber("s", "k", 2);
    EXPECT_EQ(readFile(dir / "second.ini"), "[s]\r\nk=2\r\n");

    // Another owner and a narrow mode survive the replace (as root the owner can be given).
    const auto owned = file("[s]\r\nk=1\r\n", "owned.ini");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(owned.c_str(), 65534, 65534), 0);
    }
    ::chmod(owned.c_str(), 0640);
    struct stat before {};
    ::stat(owned.c_str(), &before);
    IniFile(owned).writeNumber("s", "k", 3);
    struct stat after {};
    ::stat(owned.c_str(), &after);
    EXPECT_EQ(readFile(owned), "[s]\r\nk=3\r\n");
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
}

TEST_F(IniFileSafetyTest, KilledWritesLeaveAtMostOneTemporaryAndTheNextWriteTakesItOver) {
    const auto path = file("[s]\r\nk=0\r\n");
    writeFile(dir / ".test.ini.Ab12Cd", "left by a killed write");
    std::mt19937 random(7);
    for (int kill = 0; kill < 25; ++kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            IniFile ini(path);
            for (int i = 0;; ++i)
                ini.writeNumber("s", "k" + std::to_string(i % 50), i);
        }
        ::usleep(500 + random() % 3000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        EXPECT_LE(entries(), 2u) << "after kill " << kill;
        EXPECT_EQ(readFile(path).rfind("[s]\r\n", 0), 0u) << "torn after kill " << kill;
    }
    IniFile(path).writeNumber("s", "k", 1);
    EXPECT_EQ(entries(), 1u) << "the next write did not clean up";
}

TEST_F(IniFileSafetyTest, TwoProcessesWritingOneFileLoseNoKey) {
    const auto path = file("");
    const auto writer = [&](const char* prefix) {
        return [&, prefix] {
            IniFile ini(path);
            for (int i = 0; i < 150; ++i)
                ini.writeNumber("s", prefix + std::to_string(i), i);
        };
    };
    const pid_t a = ::fork();
    if (a == 0) {
        writer("a")();
        ::_exit(0);
    }
    EXPECT_EQ(inChild(writer("b")), 0);
    ::waitpid(a, nullptr, 0);
    const IniFile ini(path);
    int missing = 0;
    for (int i = 0; i < 150; ++i)
        missing += (ini.readNumber("s", "a" + std::to_string(i), -1) != i) + (ini.readNumber("s", "b" + std::to_string(i), -1) != i);
    EXPECT_EQ(missing, 0);
}

}  // namespace
}  // namespace zeilwerk
#endif

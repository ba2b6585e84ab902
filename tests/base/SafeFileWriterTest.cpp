// The safe writer and the helpers that open user-named files.
#include "base/SafeFileWriter.h"
#include "KeepError.h"
#include "base/InputFiles.h"
#include "base/RegularFile.h"

#include "SmallDisk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using nkp::test::keepError;

namespace fs = std::filesystem;
using nkp::fileio::sameFile;
using nkp::fileio::writeFileAtomically;

namespace {

class SafeWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path()
            / (std::string("nkp_fileio_") + info->name() + "_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static void put(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static unsigned modeOf(const std::string& file)
    {
        struct stat st { };
        ::stat(file.c_str(), &st);
        return st.st_mode & 07777;
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

unsigned umaskMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

TEST_F(SafeWriter, ReplacementKeepsTheModeOfTheReplacedFile)
{
    for (const unsigned mode : {0600u, 0640u, 0755u, 0200u}) {
        put(path("f"), "old");
        ::chmod(path("f").c_str(), mode);
        ASSERT_TRUE(writeFileAtomically(path("f"), "new"));
        EXPECT_EQ(modeOf(path("f")), mode);
        ::chmod(path("f").c_str(), 0600);
        EXPECT_EQ(get(path("f")), "new");
    }
    ASSERT_TRUE(writeFileAtomically(path("fresh"), "x"));
    EXPECT_EQ(modeOf(path("fresh")), umaskMode());
}

TEST_F(SafeWriter, SymbolicLinksAreWrittenThrough)
{
    fs::create_directories(dir_ / "sub");
    put(path("sub/target"), "old");
    fs::create_symlink("sub/target", dir_ / "relative");
    fs::create_symlink(path("sub/target"), dir_ / "absolute");
    fs::create_symlink("relative", dir_ / "chain");
    ASSERT_TRUE(writeFileAtomically(path("chain"), "via chain"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "chain"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "relative"));
    EXPECT_EQ(get(path("sub/target")), "via chain");
    ASSERT_TRUE(writeFileAtomically(path("absolute"), "via absolute"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "absolute"));
    EXPECT_EQ(get(path("sub/target")), "via absolute");
    // A link to a file that does not exist yet creates that file.
    fs::create_symlink("sub/new", dir_ / "dangling");
    ASSERT_TRUE(writeFileAtomically(path("dangling"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));
    EXPECT_EQ(get(path("sub/new")), "made");
    // A loop is refused.
    fs::create_symlink("loop", dir_ / "loop");
    EXPECT_FALSE(writeFileAtomically(path("loop"), "x"));
}

TEST_F(SafeWriter, FilesWithoutWritePermissionAreRefusedByEveryone)
{
    put(path("ro"), "keep");
    ::chmod(path("ro").c_str(), 0444);
    std::string error;
    EXPECT_FALSE(keepError(writeFileAtomically(path("ro"), "new"), error));
    EXPECT_NE(error.find("ro'"), std::string::npos) << error;
    EXPECT_EQ(get(path("ro")), "keep");
    EXPECT_EQ(modeOf(path("ro")), 0444u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SafeWriter, PipesFoldersAndDevicesAreNeitherOpenedNorReplaced)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    fs::create_directory(dir_ / "folder");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(writeFileAtomically(path("fifo"), "x"));
    EXPECT_FALSE(writeFileAtomically(path("folder"), "x"));
    EXPECT_FALSE(writeFileAtomically("/dev/full", "x"));
    EXPECT_FALSE(nkp::fileio::openRegularFile(path("fifo")));
    EXPECT_FALSE(nkp::fileio::openRegularStream(path("folder")));
    EXPECT_FALSE(nkp::fileio::openRegularFile("/dev/zero"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(fs::is_fifo(dir_ / "fifo"));
    put(path("plain"), "text");
    const auto opened = nkp::fileio::openRegularFile(path("plain"));
    ASSERT_TRUE(opened);
    const int fd = *opened;
    char buffer[8] {};
    EXPECT_EQ(::read(fd, buffer, sizeof buffer), 4);
    ::close(fd);
}

TEST_F(SafeWriter, NamesUpToTheLimitAreWritten)
{
    for (std::size_t length = 240; length <= 255; ++length) {
        const std::string name(length, 'n');
        ASSERT_TRUE(writeFileAtomically(path(name), "first")) << length;
        ASSERT_TRUE(writeFileAtomically(path(name), "second")) << length;
        EXPECT_EQ(get(path(name)), "second");
        fs::remove(path(name));
    }
    EXPECT_EQ(entries(), 0u);
}

TEST_F(SafeWriter, FullDiskKeepsTheOldFile)
{
    SmallDisk disk("nkp_fileio_full");
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    put(disk.path("f"), "old contents");
    disk.fill();
    std::string error;
    EXPECT_FALSE(keepError(writeFileAtomically(disk.path("f"), std::string(200000, 'x')), error));
    EXPECT_NE(error.find("No space"), std::string::npos) << error;
    EXPECT_EQ(get(disk.path("f")), "old contents");
    EXPECT_EQ(disk.strayFiles("f"), 0u);
}

TEST_F(SafeWriter, ReplacementFileDiscardedLeavesTheTarget)
{
    put(path("f"), "old");
    {
        nkp::fileio::ReplacementFile file;
        ASSERT_TRUE(file.open(path("f")));
        std::fputs("partial", file.stream());
        EXPECT_TRUE(file.targetExisted());
    }
    EXPECT_EQ(get(path("f")), "old");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SafeWriter, SameFileThroughLinksAndRelativeNames)
{
    put(path("a"), "a");
    put(path("b"), "a");
    fs::create_hard_link(path("a"), path("hard"));
    fs::create_symlink("a", dir_ / "soft");
    fs::create_directory(dir_ / "d");
    EXPECT_TRUE(sameFile(path("a"), path("hard")));
    EXPECT_TRUE(sameFile(path("a"), path("soft")));
    EXPECT_TRUE(sameFile(path("a"), path("d/../a")));
    EXPECT_TRUE(sameFile(path("a"), (dir_ / "." / "a").string()));
    EXPECT_FALSE(sameFile(path("a"), path("b")));
    EXPECT_FALSE(sameFile(path("a"), path("missing")));
    EXPECT_FALSE(sameFile(path("missing"), path("missing")));
}

TEST(CrLfLines, LineEndsInsideTheTextBecomeSpaces)
{
    std::string out = "x";
    nkp::fileio::appendCrLfLine(out, "a\rb\nc\r\n");
    nkp::fileio::appendCrLfLine(out, "");
    EXPECT_EQ(out, std::string("xa b c  \r\n\r\n"));
}

// Random targets (missing, regular files of random modes, links to them,
// dangling links, links in chains), random contents, and random names of
// the same or other files: the writer either replaces what the name leads
// to, keeping link and mode, or refuses and changes nothing; sameFile agrees
// with how the names were made.
TEST_F(SafeWriter, PropertyRandomTargets)
{
    std::mt19937 random(20261209);
    const unsigned modes[] = {0600, 0640, 0644, 0444, 0400, 0755, 0000, 0220};
    for (int round = 0; round < 300; ++round) {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "t");
        const std::string target = path("t/file");
        const int kind = static_cast<int>(random() % 5);  // 0 missing, 1 file, 2 link, 3 dangling, 4 chain
        const unsigned mode = modes[random() % std::size(modes)];
        const bool exists = kind == 1 || kind == 2 || kind == 4;
        if (exists) {
            put(target, "before");
            ::chmod(target.c_str(), mode);
        }
        std::string name = target;
        if (kind >= 2) {
            fs::create_symlink(random() % 2 ? "t/file" : target, dir_ / "link");
            name = path("link");
        }
        if (kind == 4) {
            fs::create_symlink("link", dir_ / "chain");
            name = path("chain");
        }
        const std::string content(random() % 5000, static_cast<char>('a' + random() % 26));
        const bool writable = !exists || (mode & 0222) != 0;
        const bool ok = writeFileAtomically(name, content).ok();
        ASSERT_EQ(ok, writable) << "round " << round << " kind " << kind << " mode " << mode;
        if (kind >= 2) {
            EXPECT_TRUE(fs::is_symlink(name));
        }
        EXPECT_EQ(modeOf(target), exists ? mode : umaskMode());
        EXPECT_EQ(get(target), ok ? content : std::string("before"));
        const std::size_t inT = static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_ / "t"), fs::directory_iterator()));
        EXPECT_EQ(inT, 1u) << "a temporary file was left behind";

        // Output = input: names made of the same file agree, others do not.
        const std::string relative = fs::relative(target, fs::current_path()).string();
        EXPECT_TRUE(sameFile(name, target));
        EXPECT_TRUE(sameFile(relative, name));
        put(path("other"), "before");
        EXPECT_FALSE(sameFile(name, path("other")));
    }
}

// A registered input is never replaced: by name, through links, by another
// spelling, or (not existing yet) by its name alone; scopes nest.
TEST_F(SafeWriter, RegisteredInputsAreRefused)
{
    ASSERT_TRUE(writeFileAtomically(path("in"), "input"));
    std::filesystem::create_symlink(path("in"), path("soft"));
    std::filesystem::create_hard_link(path("in"), path("hard"));
    std::filesystem::create_symlink(path("in-wal"), path("dangling"));
    {
        nkp::fileio::InputScope outer({path("in"), path("in-wal")});
        {
            const nkp::fileio::InputScope inner({path("in")});
        }
        for (const char* name : {"in", "soft", "hard", "./in", "in-wal", "dangling"}) {
            std::string error;
            EXPECT_FALSE(keepError(writeFileAtomically(path(name), "output"), error)) << name;
            EXPECT_NE(error.find("one of the inputs"), std::string::npos) << error;
        }
        EXPECT_FALSE(std::filesystem::exists(path("in-wal")));
        EXPECT_TRUE(writeFileAtomically(path("other"), "output"));
    }
    EXPECT_TRUE(writeFileAtomically(path("hard"), "free again"));
}

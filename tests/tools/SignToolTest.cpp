// Keys, signatures and their verification through nkp3-tool: signed by the
// reading itself against the device emulator, signed later, and every kind
// of change found with its own text and exit status 4.
#include "TempFolder.h"
#include "ToolRunner.h"

#include "../device/SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using nkp::test::runCommand;

class SignTool : public ::testing::Test {
protected:
    nkp::test::TempFolder dir;

    // nkp3-tool run in the folder (its start folder, with "Ключи").
    nkp::test::ToolOutput tool(const std::string& args, const std::string& environment = "")
    {
        return runCommand(
            "cd '" + dir.dir.string() + "' && " + environment + " LC_ALL=C '" NKP_TOOL_PATH "' " + args);
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(dir.path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(dir.path(name), std::ios::binary) << bytes;
    }
    std::string fingerprint(const std::string& pub) const
    {
        const std::string text = read(pub);
        const std::size_t at = text.find("\nключ: ") + std::string("\nключ: ").size();
        return text.substr(at, 79);
    }
};

TEST_F(SignTool, SignedAtReadingAndLaterEveryChangeHasItsStatus)
{
    ASSERT_EQ(tool("key new --signer 'Иванов И. И.' k.key").status, 0);
    struct stat st { };
    ASSERT_EQ(::stat(dir.path("k.key").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(tool("key new --signer 'Иванов И. И.' k.key").status, 1) << "a key is never replaced";
    write("pass.txt", "секрет\n");
    ASSERT_EQ(tool("key new --signer 'Петров' --passphrase-file pass.txt r.key").status, 0);
    fs::create_directory(dir.path("Ключи"));
    fs::copy_file(dir.path("r.pub"), dir.path("Ключи/r.pub"));

    // Signed by the reading: the key from the environment, trusted through "Ключи".
    {
        EXPECT_EQ(
            tool("read --port /dev/null x.nkp", "NKP_SIGNING_KEY=r.key NKP_SIGNING_PASSPHRASE=wrong").status,
            1);
        nkp::device::test::SimProcess device(NKP_SIM_PATH, {"--seed", "3"});
        const auto run = tool("read --port " + device.path() + " read.nkp >/dev/null",
            "NKP_SIGNING_KEY=r.key NKP_SIGNING_PASSPHRASE=секрет");
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string port = device.path().substr(5);
        EXPECT_NE(read("read.nkp.sig").find("при считывании: да\nпорт: " + port + "\n"), std::string::npos);
        EXPECT_EQ(tool("verify read.nkp").out,
            "подпись верна: Петров, ключ " + fingerprint("r.pub") + ", подписано "
                + read("read.nkp.sig").substr(read("read.nkp.sig").find("подписано: ") + 20, 19)
                + " при считывании\n");
    }

    // Signed later.
    ASSERT_EQ(tool("generate --seed 5 a.nkp").status, 0);
    ASSERT_EQ(tool("sign a.nkp --key k.key").status, 0);
    const std::string data = read("a.nkp"), signature = read("a.nkp.sig");
    EXPECT_NE(signature.find("при считывании: нет\n"), std::string::npos);
    // The card's footer names the status and the file's SHA-256, so that paper matches its file.
    ASSERT_EQ(tool("print card a.nkp --pdf card.pdf").status, 0);
    const std::string sha = runCommand("sha256sum '" + dir.path("a.nkp") + "'").out.substr(0, 16);
    const std::string card = runCommand("pdftotext -layout '" + dir.path("card.pdf") + "' -").out;
    EXPECT_NE(card.find("Подпись: ключ не из доверенных; SHA-256 файла " + sha), std::string::npos) << card;
    auto flipped = [&data](std::size_t at) {
        std::string bytes = data;
        bytes.at(at) ^= 1;
        return bytes;
    };
    std::string otherSigner = signature;
    otherSigner.replace(otherSigner.find("Иванов"), 6, "Иваноф");
    const std::string changed = "подпись не совпадает: файл изменён после подписи\n";
    const struct {
        const char* what;
        std::string data;
        std::optional<std::string> signature;
        const char* trust;
        std::string out;
        int status;
    } cases[] = {
        {"as signed", data, signature, "k.pub", "", 0},
        {"a bit of the image", flipped(1000), signature, "k.pub", changed, 4},
        {"a bit of the checksum", flipped(264193), signature, "k.pub", changed, 4},
        {"a bit of the identification", flipped(270400), signature, "k.pub", changed, 4},
        {"a signed line", data, otherSigner, "k.pub", changed, 4},
        {"another key", data, signature, "r.pub", "ключ не из доверенных\n", 4},
        {"no signature", data, std::nullopt, "k.pub", "нет подписи\n", 4},
        {"a broken signature", data, signature.substr(0, 100), "k.pub", "файл подписи повреждён\n", 4},
    };
    for (const auto& c : cases) {
        write("c.nkp", c.data);
        fs::remove(dir.path("c.nkp.sig"));
        if (c.signature)
            write("c.nkp.sig", *c.signature);
        const auto run = tool("verify c.nkp --trust " + std::string(c.trust));
        EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.err;
        if (c.status == 0)
            EXPECT_EQ(run.out.rfind(
                          "подпись верна: Иванов И. И., ключ " + fingerprint("k.pub") + ", подписано ", 0),
                0u)
                << run.out;
        else
            EXPECT_EQ(run.out, c.out) << c.what;
    }
    EXPECT_EQ(tool("verify missing.nkp").status, 1);
    EXPECT_EQ(tool("verify a.nkp --trust missing.pub").status, 1);
    EXPECT_EQ(tool("sign a.nkp --key r.key").status, 1) << "a protected key without its passphrase";
}

}  // namespace

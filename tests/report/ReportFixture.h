#pragma once

#include "Cp1251.h"
#include "base/Codec.h"
#include "report/Reportfm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Runs the engine on files in a fresh temporary folder. Texts in the tests
// are UTF-8 for readability and become Windows-1251 on their way to a file.
class ReportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path()
            / (std::string("nkp_report_") + info->test_suite_name() + "_" + info->name() + "_"
                + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    static void writeBytes(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string readBytes(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::string cp1251(const std::string& utf8) { return nkp::test::cp1251(utf8); }

    // Merges raw bytes; returns the report's bytes.
    std::string mergeBytes(
        const std::string& templ, const std::string& data, const nkp::report::ProgressHook& hook = {})
    {
        writeBytes(path("t"), templ);
        writeBytes(path("d"), data);
        nkp::report::GenerateReport(path("d"), path("t"), path("r"), hook, fixedClock);
        return readBytes(path("r"));
    }

    // The message of the RepoRTF_Error a run on these files throws, as UTF-8
    // ("" if none); the Windows-1251 form is checked against the UTF-8 one.
    static std::string failureOfRun(
        const std::string& data, const std::string& templ, const std::string& report)
    {
        try {
            nkp::report::GenerateReport(data, templ, report, {}, fixedClock);
        } catch (const nkp::report::RepoRTF_Error& e) {
            EXPECT_EQ(e.Message(), cp1251(e.utf8()));
            return e.utf8();
        }
        return {};
    }

    // The same for a run on the given bytes.
    std::string failureOf(
        const std::string& templ, const std::string& data, const nkp::report::ProgressHook& hook = {})
    {
        try {
            mergeBytes(templ, data, hook);
        } catch (const nkp::report::RepoRTF_Error& e) {
            return e.utf8();
        }
        return {};
    }

    // 1 May 2007, 09:05.
    inline static const nkp::base::SettableClock fixedClock {nkp::base::DateTime {2007, 5, 1, 9, 5}};

    std::filesystem::path dir_;
};

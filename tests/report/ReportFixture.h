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

    // Merges raw bytes into the file "r".
    nkp::Done merge(const std::string& templ, const std::string& data, const nkp::report::ProgressHook& hook)
    {
        writeBytes(path("t"), templ);
        writeBytes(path("d"), data);
        return nkp::report::GenerateReport(path("d"), path("t"), path("r"), hook, fixedClock);
    }

    // Merges raw bytes; returns the report's bytes.
    std::string mergeBytes(
        const std::string& templ, const std::string& data, const nkp::report::ProgressHook& hook = {})
    {
        const nkp::Done merged = merge(templ, data, hook);
        EXPECT_TRUE(merged) << nkp::codec::cp1251ToUtf8(merged.error());
        return readBytes(path("r"));
    }

    // The message (Windows-1251) a run on these files fails with, as UTF-8
    // ("" if none).
    static std::string failureOfRun(
        const std::string& data, const std::string& templ, const std::string& report)
    {
        return nkp::codec::cp1251ToUtf8(
            nkp::report::GenerateReport(data, templ, report, {}, fixedClock).error());
    }

    // The same for a run on the given bytes.
    std::string failureOf(
        const std::string& templ, const std::string& data, const nkp::report::ProgressHook& hook = {})
    {
        return nkp::codec::cp1251ToUtf8(merge(templ, data, hook).error());
    }

    // 1 May 2007, 09:05.
    inline static const nkp::base::SettableClock fixedClock {nkp::base::DateTime {2007, 5, 1, 9, 5}};

    std::filesystem::path dir_;
};

#include "report/Reportfm.h"

#include "base/Codec.h"
#include "base/RegularFile.h"
#include "base/SafeFileWriter.h"
#include "report/DataLine.h"
#include "report/DataPass.h"
#include "report/LineReader.h"
#include "report/Markers.h"
#include "report/PrepareTemplate.h"
#include "report/ReportMessages.h"
#include "report/ReportWriter.h"

#include <climits>
#include <cstdio>
#include <memory>
#include <string_view>
#include <sys/stat.h>

namespace nkp::report {

namespace RepoRTF_interface {

RepoRTF_Error::RepoRTF_Error(std::string messageCp1251)
    : message_(std::move(messageCp1251))
    , utf8_(codec::cp1251ToUtf8(message_))
{
}

std::string RepoRTF_Error::utf8() const
{
    return utf8_;
}

}  // namespace RepoRTF_interface

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void fail(std::string_view messageUtf8)
{
    throw RepoRTF_Error(codec::utf8ToCp1251(messageUtf8));
}

enum class TemplateRead { Done, Failed, LineTooLong };

// Reads the whole template as a text file: CR LF reads as LF. A line longer
// than the bound stops the reading.
TemplateRead readTemplate(std::FILE* file, std::string& text)
{
    // Room for the whole file at once: a string grown by doubling would
    // ask for up to twice the template's size, and memory that large comes
    // fresh from the system, page by page, on every run.
    struct stat info { };
    if (::fstat(::fileno(file), &info) == 0 && info.st_size > 0)
        text.reserve(static_cast<size_t>(info.st_size));
    char piece[4096];
    size_t got = 0;
    size_t lineLength = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0) {
        const std::string_view read(piece, got);
        for (size_t at = 0; at < got;) {
            const size_t lineEnd = read.find('\n', at);
            const size_t end = lineEnd == std::string_view::npos ? got : lineEnd;
            lineLength += end - at;
            if (lineLength > kMaxLineLength)
                return TemplateRead::LineTooLong;
            if (lineEnd == std::string_view::npos)
                break;
            lineLength = 0;
            at = lineEnd + 1;
        }
        text.append(piece, got);
    }
    if (std::ferror(file))
        return TemplateRead::Failed;
    // CR LF becomes LF in place.
    size_t kept = text.find('\r');
    if (kept == std::string::npos)
        return TemplateRead::Done;
    for (size_t i = kept; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            text[kept++] = text[i];
    text.resize(kept);
    return TemplateRead::Done;
}

// The data pass over every line of the data file.
void mergeData(LineReader& reader, DataPass& dataPass, bool rtf, const ProgressHook& progressHook)
{
    int lineCounter = 0;
    std::string line;
    while (reader.next(line)) {
        if (lineCounter < INT_MAX)
            ++lineCounter;
        if (progressHook && progressHook(lineCounter) != 0)
            fail(messages::kStopped);
        // Bytes 2 and 3 are the engine's markers: data must not cut a report apart.
        dropMarkerBytes(line);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.starts_with("|DOS:") || line.starts_with("|WIN:")) {
            reader.setDosMode(line[1] == 'D');
            continue;
        }
        std::string_view rest = line;
        const DataPair pair = takePair(rest, rtf);
        if (pair.group < 0 || pair.group > 999)
            fail(messages::kStructure);
        if (pair.group == 0)
            dataPass.groupZeroLine(pair);
        else
            dataPass.groupLine(static_cast<int>(pair.group), pair, rest);
    }
}

// The run; throws RepoRTF_Error.
void generate(const std::string& dataPath, const std::string& templatePath, const std::string& reportPath,
    const ProgressHook& progressHook, const base::Clock& clock)
{
    // The report replaces its file: it must be neither input, under any name.
    if (templatePath == reportPath || fileio::sameFile(templatePath, reportPath))
        fail(messages::kSameNames);
    if (fileio::sameFile(dataPath, reportPath))
        fail(messages::kSameDataNames);

    std::string templateText;
    {
        File templateFile(fileio::openRegularStream(templatePath).value_or(nullptr));
        if (!templateFile)
            fail(messages::kNoTemplate);
        switch (readTemplate(templateFile.get(), templateText)) {
        case TemplateRead::Done:
            break;
        case TemplateRead::Failed:
            fail(messages::kNoTemplate);
        case TemplateRead::LineTooLong:
            fail(messages::kTemplateLineTooLong);
        }
    }
    // The report is written to a temporary file and put in place at the end.
    // A failed run's report takes the name only where no older file is lost.
    fileio::ReplacementFile report;
    if (!report.open(reportPath) || !report.stream())
        fail(messages::kNoReport);
    auto failRun = [&report](std::string_view message) {
        if (report.targetExisted())
            report.discard();
        else
            (void)report.commit();
        fail(message);
    };
    File data(fileio::openRegularStream(dataPath).value_or(nullptr));
    if (!data)
        failRun(messages::kNoData);

    dropMarkerBytes(templateText);
    PreparedTemplate prepared;
    try {
        prepared = prepareTemplate(std::move(templateText), clock.now());
    } catch (const TemplateStructureError&) {
        failRun(messages::kStructure);
    }

    ReportWriter writer(report.stream());
    DataPass dataPass(std::move(prepared.text), prepared.rtf, writer);
    LineReader reader(data.get());
    try {
        mergeData(reader, dataPass, prepared.rtf, progressHook);
        if (reader.tooLong())
            fail(messages::kDataLineTooLong);
        dataPass.finish();
    } catch (const ReportWriteError&) {
        failRun(messages::kWriteFailed);
    } catch (const RepoRTF_Error&) {
        if (report.targetExisted())
            report.discard();
        else
            (void)report.commit();
        throw;
    }
    // Buffered output reaches the disk here; a failure now is a failed write too.
    if (!report.commit())
        fail(messages::kWriteFailed);
}

}  // namespace

Done GenerateReport(const std::string& dataPath, const std::string& templatePath,
    const std::string& reportPath, const ProgressHook& progressHook, const base::Clock& clock)
{
    try {
        generate(dataPath, templatePath, reportPath, progressHook, clock);
    } catch (const RepoRTF_Error& e) {
        return failed(e.Message());
    }
    return {};
}

}  // namespace nkp::report

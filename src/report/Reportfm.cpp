#include "report/Reportfm.h"

#include "codec/Codec.h"
#include "report/DataLine.h"
#include "report/LineReader.h"
#include "report/Markers.h"
#include "report/MergeState.h"
#include "report/ReportMessages.h"
#include "report/ReportWriter.h"
#include "report/TemplateScanner.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>

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

// Opens a regular file; a folder of that name counts as not opened.
File openFile(const std::string& path, const char* mode)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    return File(std::fopen(path.c_str(), mode));
}

// Reads the whole template as a text file: CR LF reads as LF.
bool readTemplate(std::FILE* file, std::string& text)
{
    char piece[4096];
    size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0)
        text.append(piece, got);
    if (std::ferror(file))
        return false;
    std::string lf;
    lf.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lf += text[i];
    text.swap(lf);
    return true;
}

// The data pass over every line of the data file.
void mergeData(LineReader& reader, MergeState& merge, bool rtf, const ProgressHook& progressHook)
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
            merge.groupZeroLine(pair);
        else
            merge.groupLine(static_cast<int>(pair.group), pair, rest);
    }
}

}  // namespace

void GenerateReport(const std::string& dataPath, const std::string& templatePath,
    const std::string& reportPath, const ProgressHook& progressHook, const ReportClock& clock)
{
    if (templatePath == reportPath)
        fail(messages::kSameNames);

    std::string templateText;
    {
        File templateFile = openFile(templatePath, "rb");
        if (!templateFile || !readTemplate(templateFile.get(), templateText))
            fail(messages::kNoTemplate);
    }
    File report = openFile(reportPath, "wb");
    if (!report)
        fail(messages::kNoReport);
    File data = openFile(dataPath, "rb");
    if (!data)
        fail(messages::kNoData);

    dropMarkerBytes(templateText);
    PreparedTemplate prepared;
    try {
        prepared = prepareTemplate(std::move(templateText), clock ? clock() : systemLocalTime());
    } catch (const TemplateStructureError&) {
        fail(messages::kStructure);
    }

    ReportWriter writer(report.get());
    MergeState merge(std::move(prepared.text), prepared.rtf, writer);
    LineReader reader(data.get());
    try {
        mergeData(reader, merge, prepared.rtf, progressHook);
        merge.finish();
    } catch (const ReportWriteError&) {
        fail(messages::kWriteFailed);
    }
    // Buffered output reaches the disk here; a failure now is a failed write too.
    if (std::fflush(report.get()) != 0 || std::fclose(report.release()) != 0)
        fail(messages::kWriteFailed);
}

}  // namespace nkp::report

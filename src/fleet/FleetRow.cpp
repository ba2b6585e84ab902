#include "fleet/FleetRow.h"

#include "analysis/OverloadEpisodes.h"
#include "analysis/ReadoutLoader.h"
#include "analysis/ResourceUse.h"
#include "codec/Codec.h"
#include "fleet/OverloadStamps.h"
#include "recorder/DataFileLayout.h"

#include <cerrno>
#include <sys/stat.h>

namespace nkp::fleet {
namespace {

std::string cp1251(const char* utf8)
{
    return codec::utf8ToCp1251(utf8);
}

// The cause of a failed open or stat in the overview's language (the C
// library's own text follows the locale and its encoding).
std::string openFailure(int error)
{
    const char* cause = error == EACCES || error == EPERM ? "нет доступа"
        : error == ENOENT                                 ? "файл не найден"
        : error == ELOOP                                  ? "слишком много ссылок"
                                                          : nullptr;
    return cp1251("Файл не удалось открыть: ")
        + (cause ? cp1251(cause) : cp1251("ошибка ") + std::to_string(error));
}

// Why `path` is not opened, or nothing when it is a regular file.
std::optional<std::string> notARegularFile(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return openFailure(errno);
    if (S_ISDIR(st.st_mode))
        return cp1251("Это папка, а не файл");
    if (!S_ISREG(st.st_mode))
        return cp1251("Не обычный файл (канал или устройство)");
    return std::nullopt;
}

void appendRemark(std::string& remark, const std::string& text)
{
    if (!remark.empty())
        remark += "; ";
    remark += text;
}

void takeValues(const analysis::MainState& s, char sep, FleetRow& row)
{
    row.loaded = true;
    row.craneModel = s.Edit_MKran;
    row.craneNumber = s.Edit_NKran;
    row.owner = s.Edit_Vlad;
    row.readingDate = s.Edit_DataSch;
    row.normGroup = s.Edit_GrRegNag;
    row.totalCycles = s.totalCycles;
    row.utilisationClass = s.Label_KIspU;
    row.loadMode = s.Label_RezhQ;
    row.craneGroup = s.Label_RezhA;
    row.characteristicText = s.Edit_HarCh;
    row.characteristicNumber = s.characteristicNumber;
    row.normativeText = s.Label_NHarch;
    row.normativeNumber = s.normativeNumber;
    row.resource = analysis::resourceUse(s);
    row.resourceText = analysis::resourcePercentText(row.resource, sep);
    const OverloadSummary overloads = overloadSummary(s);
    row.overloadCount = overloads.count;
    row.latestOverload = overloads.latest;
    row.brokenFrames = s.diagnostics.brokenFrames.size();

    const analysis::LoadDiagnostics& d = s.diagnostics;
    if (d.fileSize < recorder::kImageSize)
        appendRemark(row.remark,
            cp1251("Файл усечён: ") + std::to_string(d.fileSize) + cp1251(" байт из ")
                + std::to_string(recorder::kImageSize));
    if (!d.checksumMatches)
        appendRemark(row.remark, cp1251("Контрольная сумма образа не совпадает"));
}

}  // namespace

FleetRow loadFleetRow(
    const std::string& root, const std::string& relative, char sep, analysis::MainState& scratch)
{
    FleetRow row;
    row.file = relative;
    row.path = root.empty() || root.back() == '/' ? root + relative : root + '/' + relative;
    if (std::optional<std::string> cause = notARegularFile(row.path)) {
        row.remark = std::move(*cause);
        return row;
    }
    const std::optional<recorder::DataFileReader> file = recorder::DataFileReader::open(row.path);
    if (!file) {
        row.remark = openFailure(errno);
        return row;
    }
    analysis::loadReadoutSummary(*file, sep, scratch);
    takeValues(scratch, sep, row);
    // Episodes need the frames in time order; the count reads only what it
    // needs of each frame instead of decoding them.
    row.overloadEpisodes = analysis::countOverloadEpisodes(*file);
    return row;
}

}  // namespace nkp::fleet

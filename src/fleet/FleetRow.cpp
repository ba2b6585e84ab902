#include "fleet/FleetRow.h"

#include "analysis/FileDamage.h"
#include "analysis/OverloadEpisodes.h"
#include "analysis/ReadoutTexts.h"
#include "analysis/ResourceUse.h"
#include "base/Codec.h"
#include "fleet/OverloadStamps.h"

#include <cerrno>
#include <dirent.h>
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
    if (S_ISDIR(st.st_mode)) {
        // Only a folder that cannot be read is listed: the scan names it here.
        if (DIR* dir = ::opendir(path.c_str())) {
            ::closedir(dir);
            return cp1251("Это папка, а не файл");
        }
        const int err = errno;
        const char* cause = err == EACCES || err == EPERM ? "нет доступа" : nullptr;
        return cp1251("Папку не удалось прочитать: ")
            + (cause ? cp1251(cause) : cp1251("ошибка ") + std::to_string(err));
    }
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

}  // namespace

FleetRow fleetRowOf(const analysis::Readout& r, char sep)
{
    FleetRow row;
    static_cast<analysis::ReadoutSummary&>(row) = analysis::readoutSummary(r);
    row.loaded = true;
    row.normGroup = r.text(recorder::IdField::NormGroup);
    row.utilisationNumber = r.utilisationClass;
    row.loadModeNumber = r.loadMode;
    row.craneGroupNumber = r.craneGroup;
    const analysis::ReadoutTexts texts = analysis::readoutTexts(r, sep);
    row.utilisationClass = texts.utilisationClass;
    row.loadMode = texts.loadMode;
    row.craneGroup = texts.craneGroup;
    row.characteristicText = texts.characteristicNumber;
    row.normativeText = texts.normativeNumber;
    row.resource = analysis::resourceUse(r.characteristicNumber, r.normativeNumber);
    row.resourceText = analysis::resourcePercentText(row.resource, sep);
    const OverloadSummary overloads = overloadSummary(r);
    row.overloadCount = overloads.count;
    row.latestOverload = overloads.latest;
    row.latestOverloadMoment = overloads.latestMoment;
    row.brokenFrames = r.diagnostics.brokenFrames.size();

    // The same warning as the main window's, and the file that names no crane.
    const analysis::LoadDiagnostics& d = r.diagnostics;
    const std::string damage = analysis::damageWarning(d);
    row.damaged = !damage.empty();
    if (row.damaged)
        appendRemark(row.remark, damage);
    if (analysis::identificationMissing(d))
        appendRemark(row.remark, analysis::identificationMissingText());
    return row;
}

FleetRow loadFleetRow(const std::string& root, const std::string& relative, char sep)
{
    const std::string path = root.empty() || root.back() == '/' ? root + relative : root + '/' + relative;
    std::optional<std::string> cause = notARegularFile(path);
    std::optional<recorder::DataFileReader> file;
    if (!cause) {
        auto opened = recorder::DataFileReader::open(path);
        if (opened)
            file = std::move(*opened);
        else
            cause = openFailure(errno);
    }
    FleetRow row;
    if (cause) {
        row.remark = std::move(*cause);
    } else {
        // Episodes need the frames in time order; the count reads only what
        // it needs of each frame instead of decoding them, in the same pass
        // as the frames' check.
        analysis::Readout readout = analysis::readReadout(*file, analysis::FrameCheck::LeaveToDecoding);
        const int episodes
            = analysis::overviewFrames(*file, readout.diagnostics.brokenFrames).overloadEpisodes;
        row = fleetRowOf(readout, sep);
        row.overloadEpisodes = episodes;
        // Most read-outs of a folder carry no signature: only a file beside
        // the read-out costs the hashing and the trusted keys.
        struct stat sig { };
        if (::stat(signing::signaturePath(path).c_str(), &sig) == 0) {
            const auto verification
                = signing::verifyFile(path, signing::trustedKeysOfFolder(signing::trustedKeyFolder(".")));
            if (verification)
                row.signature = verification->status;
        }
    }
    row.file = relative;
    row.path = path;
    return row;
}

}  // namespace nkp::fleet

#include "analysis/FileDamage.h"

#include "analysis/Readout.h"
#include "base/Codec.h"
#include "recorder/Frame.h"

namespace nkp::analysis {

std::uint64_t longestExpectedFileSize()
{
    return recorder::fieldLayout(recorder::IdField::ControllerNumber).offset
        + recorder::kMaxControllerNumberLength;
}

FileDamage fileDamage(const LoadDiagnostics& d)
{
    FileDamage damage;
    damage.fileSize = d.fileSize;
    if (!d.fileRead)
        return damage;
    if (!d.fullLength)
        damage.reasons.push_back(DamageReason::ShortFile);
    if (d.fileSize > longestExpectedFileSize())
        damage.reasons.push_back(DamageReason::LongFile);
    if (!d.checksumMatches)
        damage.reasons.push_back(DamageReason::ChecksumMismatch);
    if (d.brokenFrames.size() >= recorder::kFrameCount)
        damage.reasons.push_back(DamageReason::NoValidFrame);
    return damage;
}

std::string damageReasonsText(const FileDamage& damage)
{
    std::string text;
    for (const DamageReason reason : damage.reasons) {
        if (!text.empty())
            text += "; ";
        switch (reason) {
        case DamageReason::ShortFile:
            text += codec::utf8ToCp1251("файл короче полного считывания (") + std::to_string(damage.fileSize)
                + codec::utf8ToCp1251(" байт из ") + std::to_string(recorder::kIdentificationOffset) + ')';
            break;
        case DamageReason::LongFile:
            text += codec::utf8ToCp1251("файл длиннее ожидаемого (") + std::to_string(damage.fileSize)
                + codec::utf8ToCp1251(" байт, не более ") + std::to_string(longestExpectedFileSize()) + ')';
            break;
        case DamageReason::ChecksumMismatch:
            text += codec::utf8ToCp1251("контрольная сумма не совпадает");
            break;
        case DamageReason::NoValidFrame:
            text += codec::utf8ToCp1251("нет ни одного исправного кадра");
            break;
        }
    }
    return text;
}

std::string damageWarning(const LoadDiagnostics& diagnostics)
{
    const FileDamage damage = fileDamage(diagnostics);
    if (!damage.damaged())
        return {};
    return codec::utf8ToCp1251("Файл повреждён: ") + damageReasonsText(damage);
}

bool identificationMissing(const LoadDiagnostics& d)
{
    return d.fileRead && d.fullLength && d.fileSize <= recorder::kIdentificationOffset;
}

std::string identificationMissingText()
{
    return codec::utf8ToCp1251("Нет блока идентификации");
}

LoadDiagnostics diagnoseFile(const recorder::DataFileReader& file)
{
    return readReadout(file).diagnostics;
}

}  // namespace nkp::analysis

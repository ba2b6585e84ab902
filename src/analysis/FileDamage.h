#pragma once

#include "analysis/LoadDiagnostics.h"
#include "recorder/DataFileReader.h"

#include <cstdint>
#include <string>
#include <vector>

// Whether a loaded file is a whole read-out, and the warning every view of a
// damaged one carries (main window, printouts, forms, fleet overview,
// nkp3-tool). Loading goes on whatever it finds; this only says what is
// wrong. Texts are Windows-1251.
namespace nkp::analysis {

// The longest file the writer makes: the identification block with the
// longest controller number the loader takes.
std::uint64_t longestExpectedFileSize();

enum class DamageReason {
    ShortFile,         // ends before the identification block: part of the image is missing
    LongFile,          // longer than any file the writer makes
    ChecksumMismatch,  // the image checksum does not match the image
    NoValidFrame,      // not a single frame passes its check
};

struct FileDamage {
    std::vector<DamageReason> reasons;  // in the order of DamageReason; empty for a sound file
    std::uint64_t fileSize = 0;

    bool damaged() const { return !reasons.empty(); }
};

// What is wrong with the file `diagnostics` describe; nothing when no file
// has been read.
FileDamage fileDamage(const LoadDiagnostics& diagnostics);

// The reasons in Russian, joined by "; " ("файл короче полного считывания
// (1000 байт из 270337); контрольная сумма не совпадает").
std::string damageReasonsText(const FileDamage& damage);

// "Файл повреждён: " and the reasons; empty for a sound file.
std::string damageWarning(const LoadDiagnostics& diagnostics);

// A whole image that ends where the identification block would begin: the
// file names no crane.
bool identificationMissing(const LoadDiagnostics& diagnostics);
// "Нет блока идентификации"
std::string identificationMissingText();

// What loading would record about `file`: size, checksums and broken frames
// (no calendar check of the frames).
LoadDiagnostics diagnoseFile(const recorder::DataFileReader& file);

}  // namespace nkp::analysis

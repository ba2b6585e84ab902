#pragma once

#include "signing/Verification.h"

#include <QColor>
#include <QString>

#include <string>

// What the first tab and the card say about the loaded file's signature.
namespace nkp::ui {

struct SignatureLine {
    QString text;            // one line for the first tab (the key's fingerprint shortened)
    QString fullText;        // the whole status, for the line's tool tip
    QColor colour;           // green valid, grey none, red changed or damaged, amber untrusted
    std::string cardFooter;  // Windows-1251, for MainState::fileSignature
};

// The colour of a status.
QColor signatureColour(signing::SignatureStatus status);

// Checks `filePath` against the keys in "Ключи" of `startDirectory` (a
// millisecond for a read-out). A file that cannot be read gives a grey line
// that says so.
SignatureLine checkSignature(const std::string& filePath, const QString& startDirectory);

}  // namespace nkp::ui

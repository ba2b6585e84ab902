#include "ui/main/SignatureLine.h"

#include "base/Codec.h"

#include <QFile>

namespace nkp::ui {

QColor signatureColour(signing::SignatureStatus status)
{
    using signing::SignatureStatus;
    switch (status) {
    case SignatureStatus::Valid:
        return QColor(0x9c, 0xe0, 0x9c);
    case SignatureStatus::Missing:
        return QColor(0xd8, 0xd8, 0xd8);
    case SignatureStatus::Untrusted:
        return QColor(0xff, 0xc8, 0x50);
    case SignatureStatus::Changed:
    case SignatureStatus::Damaged:
        break;
    }
    return QColor(0xe0, 0x40, 0x40);
}

SignatureLine checkSignature(const std::string& filePath, const QString& startDirectory)
{
    const std::string keys = signing::trustedKeyFolder(QFile::encodeName(startDirectory).toStdString());
    const auto verification = signing::verifyFile(filePath, signing::trustedKeysOfFolder(keys));
    if (!verification) {
        const QString line = QStringLiteral("Подпись не проверена: %1")
                                 .arg(QString::fromStdString(verification.failure().text()));
        return {line, line, signatureColour(signing::SignatureStatus::Missing), {}};
    }
    const std::string text = signing::statusText(*verification);
    QString full = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    full[0] = full[0].toUpper();
    // The window's width holds the fingerprint's first two groups; the tool
    // tip and the tool show all sixteen.
    QString line = full;
    if (verification->record) {
        const QString print = QString::fromStdString(verification->record->fingerprint);
        line.replace(print, print.left(9) + QStringLiteral(" …"));
    }
    return {line, full, signatureColour(verification->status),
        codec::utf8ToCp1251(signing::footerText(*verification))};
}

}  // namespace nkp::ui

#include "ui/reading/ReadingSignature.h"

#include "base/Clock.h"
#include "base/Codec.h"
#include "signing/Verification.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include <cstdlib>
#include <optional>

namespace nkp::ui {
namespace {

const QString kSetting = QStringLiteral("signing/key");

// The key opened in this run, with the file it came from.
struct OpenedKey {
    std::string path;
    signing::Signer signer;
};
std::optional<OpenedKey>& openedKey()
{
    static std::optional<OpenedKey> key;
    return key;
}

signing::Result<signing::Signer> openKey(const std::string& keyPath, UserPrompts& prompts)
{
    if (openedKey() && openedKey()->path == keyPath)
        return openedKey()->signer;
    std::string passphrase;
    if (signing::keyNeedsPassphrase(keyPath)) {
        const std::optional<std::string> typed
            = prompts.askSecret("Подпись", "Пароль ключа подписи " + keyPath + ":");
        if (!typed)
            return Failure {keyPath, "no passphrase was given"};
        passphrase = *typed;
    }
    auto signer = signing::readSigner(keyPath, passphrase);
    if (signer)
        openedKey() = OpenedKey {keyPath, *signer};
    return signer;
}

}  // namespace

QString signingKeyPath()
{
    const QString set = QSettings().value(kSetting).toString().trimmed();
    if (!set.isEmpty())
        return set;
    return QFile::decodeName(qgetenv("NKP_SIGNING_KEY"));
}

void setSigningKeyPath(const QString& path)
{
    QSettings settings;
    if (path.trimmed().isEmpty())
        settings.remove(kSetting);
    else
        settings.setValue(kSetting, path.trimmed());
}

QAction* installSigningKeyMenu(QWidget& window, QMenu& fileMenu, QAction* before, UserPrompts& prompts)
{
    auto* action = new QAction(QStringLiteral("Подпись..."), &window);
    action->setObjectName(QStringLiteral("Menu_SigningKey"));
    action->setStatusTip(QStringLiteral("Ключ, которым подписывается каждое сохранённое считывание"));
    fileMenu.insertAction(before, action);
    QObject::connect(action, &QAction::triggered, &window, [&prompts] {
        UserPrompts::FileDialog dialog;
        dialog.title = "Ключ подписи считываний";
        dialog.filter = "Ключи подписи (*.key)|*.key|Все файлы (*.*)|*.*";
        const QString current = signingKeyPath();
        if (!current.isEmpty())
            dialog.initialDir = QFile::encodeName(QFileInfo(current).absolutePath()).toStdString();
        const std::optional<std::string> chosen = prompts.openFile(dialog);
        if (!chosen)
            return;  // the setting stays as it was
        const auto key = signing::readPublicKey(signing::publicKeyPath(*chosen));
        if (!key) {
            prompts.error("Подпись", "Рядом с ключом нет его открытого ключа: " + key.failure().text());
            return;
        }
        setSigningKeyPath(QFile::decodeName(QByteArray::fromStdString(*chosen)));
        prompts.information("Подпись",
            "Считывания подписываются ключом " + key->fingerprint() + ", подписал: " + key->signer);
    });
    return action;
}

QString signSavedReading(const std::string& path, const std::string& port, UserPrompts& prompts)
{
    const QString keyPath = signingKeyPath();
    if (keyPath.isEmpty())
        return {};
    auto signer = openKey(QFile::encodeName(keyPath).toStdString(), prompts);
    std::optional<signing::Result<signing::SignatureRecord>> signature;
    if (signer)
        signature = signing::signFile(path, *signer, {base::systemClock().now(), true, port});
    if (signature && *signature)
        return QStringLiteral("подписан");
    const std::string cause = signer ? signature->failure().text() : signer.failure().text();
    prompts.error("Подпись", "Считывание сохранено, но не подписано:\n" + cause);
    return QStringLiteral("не подписан: ") + QString::fromStdString(cause);
}

}  // namespace nkp::ui

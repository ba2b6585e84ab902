// The first tab's signature line for each status, with its colour, and the
// card's footer line; writes the screenshots signature-<status>.png.
#include "MainWindowFixture.h"

#include "signing/Verification.h"
#include "ui/main/ConstTab.h"
#include "ui/reading/ReadingSignature.h"

#include <QDir>
#include <QLabel>
#include <QStandardPaths>
#include <QTabWidget>

class TestSignature : public QObject {
    Q_OBJECT
private slots:
    void firstTabShowsEachStatusInItsColour();
    void menuChoosesTheKeyOfTheSetting();
};

void TestSignature::firstTabShowsEachStatusInItsColour()
{
    using namespace nkp::signing;
    MainWindowFixture f;
    const std::string start = QFile::encodeName(f.dir.path()).toStdString();
    QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Ключи")));
    const auto trustedKey = writeNewKey(trustedKeyFolder(start) + "/ivanov.key", "Иванов И. И.", "");
    const auto stranger = writeNewKey(start + "/stranger.key", "Чужой", "");
    QVERIFY(trustedKey && stranger);
    const auto ivanov = readSigner(trustedKeyFolder(start) + "/ivanov.key", "");
    const auto other = readSigner(start + "/stranger.key", "");
    const std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile(f.options);
    std::vector<std::uint8_t> changed = bytes;
    changed[1000] ^= 1;
    const SigningContext context {{2026, 12, 9, 15, 4, 5}, true, "ttyUSB0"};
    const std::string signature = signatureFor(bytes, *ivanov, context);
    const struct {
        const char* name;
        const std::vector<std::uint8_t>& data;
        std::string signature;  // empty: none
        QString text;
        QColor colour;
    } cases[] = {
        {"valid", bytes, signature, QStringLiteral("Подпись верна: Иванов И. И."), QColor(0x9c, 0xe0, 0x9c)},
        {"missing", bytes, {}, QStringLiteral("Нет подписи"), QColor(0xd8, 0xd8, 0xd8)},
        {"changed", changed, signature, QStringLiteral("Подпись не совпадает: файл изменён после подписи"),
            QColor(0xe0, 0x40, 0x40)},
        {"damaged", bytes, signature.substr(1), QStringLiteral("Файл подписи повреждён"),
            QColor(0xe0, 0x40, 0x40)},
        {"untrusted", bytes, signatureFor(bytes, *other, context), QStringLiteral("Ключ не из доверенных"),
            QColor(0xff, 0xc8, 0x50)},
    };
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    f.window->resize(800, 600);
    const QSize size = f.window->size();
    f.window->show();
    for (const auto& c : cases) {
        const QString path = f.dir.filePath(QStringLiteral("%1.nkp").arg(QLatin1String(c.name)));
        MainWindowFixture::writeFile(path, c.data);
        if (!c.signature.empty()) {
            QFile sig(path + QStringLiteral(".sig"));
            QVERIFY(sig.open(QIODevice::WriteOnly));
            sig.write(c.signature.data(), static_cast<qint64>(c.signature.size()));
        }
        f.open(path);
        auto* line = control<QLabel>(*f.window, "Label_Signature");
        QVERIFY2(line->text().startsWith(c.text), qPrintable(line->text()));
        QVERIFY(!line->isHidden());
        QCOMPARE(f.window->size(), size);  // the line never widens the window
        QVERIFY2(line->styleSheet().contains(c.colour.name()), c.name);
        control<QTabWidget>(*f.window, "PageControl_Main")->setCurrentIndex(0);
        QCoreApplication::processEvents();
        QVERIFY(
            f.window->grab().save(folder + QStringLiteral("/signature-%1.png").arg(QLatin1String(c.name))));
    }
}

// A key with its public file beside it becomes the setting; a file without
// one is refused and the setting stays.
void TestSignature::menuChoosesTheKeyOfTheSetting()
{
    QStandardPaths::setTestModeEnabled(true);  // settings of their own
    nkp::ui::setSigningKeyPath({});
    MainWindowFixture f;
    const QString key = f.dir.filePath(QStringLiteral("engineer.key"));
    QVERIFY(nkp::signing::writeNewKey(QFile::encodeName(key).toStdString(), "Иванов", ""));
    for (const QString& chosen : {f.readoutPath, key}) {
        f.prompts.fileAnswers.push_back(QFile::encodeName(chosen).toStdString());
        control<QAction>(*f.window, "Menu_SigningKey")->trigger();
    }
    QCOMPARE(f.prompts.callsOf("error").size(), std::size_t {1});
    QCOMPARE(nkp::ui::signingKeyPath(), key);
    nkp::ui::setSigningKeyPath({});
}

QTEST_MAIN(TestSignature)
#include "tst_signature.moc"

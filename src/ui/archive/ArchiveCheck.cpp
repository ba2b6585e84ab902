#include "ui/archive/ArchiveCheck.h"

#include "archive/ArchiveSession.h"
#include "ui/common/ControlNames.h"

#include <QProgressBar>
#include <QPushButton>

namespace nkp::ui {
namespace {

const std::string kCaption = "Проверка архива";

}  // namespace

ArchiveCheck::ArchiveCheck(archive::ArchiveSession& session, UserPrompts& prompts, const QString& startFolder,
    QProgressBar& progress, QPushButton& cancel, QWidget* window)
    : QObject(window)
    , session_(session)
    , prompts_(prompts)
    , startFolder_(startFolder)
    , progress_(progress)
    , cancel_(cancel)
    , Button_Verify(new QPushButton(QStringLiteral("Проверить архив"), window))
    , Button_Trust(new QPushButton(QStringLiteral("Доверять ключу..."), window))
{
    Button_Verify->setToolTip(QStringLiteral(
        "Проверить, что ни одна запись архива не изменена, не удалена и не вставлена задним числом"));
    Button_Trust->setToolTip(QStringLiteral("Добавить открытый ключ (*.pub) в доверенные ключи архива"));
    nameControls({{Button_Verify, "Button_Verify"}, {Button_Trust, "Button_Trust"}});
    connect(Button_Verify, &QPushButton::clicked, this, &ArchiveCheck::verify);
    connect(Button_Trust, &QPushButton::clicked, this, &ArchiveCheck::trustKey);
    connect(&cancel_, &QPushButton::clicked, this, [this] {
        if (isVerifying())
            session_.cancelVerify();
    });
    connect(&session_, &archive::ArchiveSession::verifyProgress, this, [this](int done, int total) {
        if (!isVerifying())
            return;
        progress_.setRange(0, total);
        progress_.setValue(done);
    });
    connect(&session_, &archive::ArchiveSession::verified, this,
        [this](std::uint64_t call, const archive::VerifyReport& report) {
            if (call != verifyCall_)
                return;
            if (report.cancelled) {
                finishVerify(QStringLiteral("Проверка архива прервана"));
            } else if (report.problem) {
                finishVerify(QString::fromStdString(*report.problem));
                prompts_.error(kCaption, *report.problem);
            } else {
                finishVerify(QString::fromStdString(
                    archive::verifySummaryText(report) + "; " + archive::signatureCountsText(report)));
            }
        });
    connect(&session_, &archive::ArchiveSession::keyTrusted, this,
        [this](std::uint64_t call, const signing::PublicKey& key, const archive::TrustOutcome& outcome) {
            if (call != trustCall_)
                return;
            trustCall_ = 0;
            std::string text;
            for (const std::string& line : archive::trustOutcomeLines(key, outcome))
                text += (text.empty() ? "" : "; ") + line;
            QString shown = QString::fromStdString(text);
            shown[0] = shown[0].toUpper();
            emit keyTrusted(shown);
        });
    connect(&session_, &archive::ArchiveSession::failed, this, [this](std::uint64_t call, const Failure& f) {
        if (call == verifyCall_) {
            finishVerify(QStringLiteral("Архив не удалось проверить: ") + QString::fromStdString(f.text()));
        } else if (call == trustCall_) {
            trustCall_ = 0;
            const std::string text = "Ключ не удалось добавить в доверенные: " + f.text();
            emit status(QString::fromStdString(text));
            prompts_.error(kCaption, text);
        }
    });
}

void ArchiveCheck::verify()
{
    if (isVerifying())
        return;
    progress_.setRange(0, 0);
    progress_.show();
    cancel_.show();
    Button_Verify->setEnabled(false);
    emit status(QStringLiteral("Проверка архива..."));
    verifyCall_ = session_.verifyArchive();
}

void ArchiveCheck::finishVerify(const QString& text)
{
    verifyCall_ = 0;
    progress_.hide();
    cancel_.hide();
    Button_Verify->setEnabled(true);
    emit status(text);
    emit verifyEnded();
}

void ArchiveCheck::trustKey()
{
    UserPrompts::FileDialog dialog;
    dialog.title = "Доверять ключу";
    dialog.filter = "Открытые ключи|*.pub|Все файлы (*.*)|*.*";
    dialog.initialDir = startFolder_.toStdString();
    if (const auto path = prompts_.openFile(dialog))
        trustCall_ = session_.trustKey(*path);
}

}  // namespace nkp::ui

#pragma once

#include "base/UserPrompts.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace nkp::archive {
class ArchiveSession;
}
class QProgressBar;
class QPushButton;
class QWidget;

namespace nkp::ui {

// The archive window's "Проверить архив" and "Доверять ключу...": the check
// runs in the window's archive session with the window's progress bar and
// "Отмена"; its result goes to the status line, a change found also to a
// message box. Trusting a key reads the key file and writes the archive in
// the session as well.
class ArchiveCheck : public QObject {
    Q_OBJECT
public:
    ArchiveCheck(archive::ArchiveSession& session, UserPrompts& prompts, const QString& startFolder,
        QProgressBar& progress, QPushButton& cancel, QWidget* window);

    QPushButton& verifyButton() { return *Button_Verify; }
    QPushButton& trustButton() { return *Button_Trust; }
    bool isVerifying() const { return verifyCall_ != 0; }

    void verify();
    void trustKey();

signals:
    void status(const QString& text);
    // The check has answered (also when it failed or was cancelled).
    void verifyEnded();
    // A key became trusted (or was already): the statuses of the read-outs
    // may have changed; `text` says what was done.
    void keyTrusted(const QString& text);

private:
    void finishVerify(const QString& text);

    archive::ArchiveSession& session_;
    UserPrompts& prompts_;
    QString startFolder_;
    QProgressBar& progress_;
    QPushButton& cancel_;
    QPushButton* Button_Verify = nullptr;
    QPushButton* Button_Trust = nullptr;
    std::uint64_t verifyCall_ = 0, trustCall_ = 0;
};

}  // namespace nkp::ui

// The window never saves over a file it has open as input: each save and
// export answered with the loaded read-out (directly or through a symbolic
// link) is refused with an error box, and the read-out keeps its bytes.
#include "MainWindowFixture.h"

#include "archive/Archive.h"
#include "ui/archive/Archive.h"
#include "ui/fleet/Fleet.h"
#include "ui/main/EventsTab.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <future>

class TestInputs : public QObject {
    Q_OBJECT
private slots:
    void savesRefuseTheLoadedReadout();
};

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

void TestInputs::savesRefuseTheLoadedReadout()
{
    MainWindowFixture f;
    f.openDemo();
    const QString start = f.dir.path();
    const QByteArray before = bytesOf(f.readoutPath);
    QVERIFY(!before.isEmpty());
    const QString link = f.dir.filePath(QStringLiteral("link.nkp"));
    QVERIFY(QFile::link(f.readoutPath, link));
    // The archive window's archive is its input too.
    const QString archivePath = f.dir.filePath(QStringLiteral("archive.sqlite"));
    // Made off the window's thread, as every archive call of a window is.
    QVERIFY(std::async(std::launch::async, [&archivePath] {
        return nkp::archive::Archive::open(archivePath.toStdString(), nkp::archive::OpenMode::CreateIfMissing)
            .ok();
    }).get());
    const QByteArray archiveBefore = bytesOf(archivePath);
    TForm_Archive archiveWindow(f.prompts, archivePath, start);
    TForm_Fleet fleet(f.prompts, start);
    QSignalSpy scanned(&fleet, &TForm_Fleet::scanEnded);
    fleet.show();
    QTRY_COMPARE_WITH_TIMEOUT(scanned.count(), 1, 10000);
    // The form's data file "Шаблоны форм/Форма 3.txt" leads to the read-out.
    QDir(start).mkpath(QStringLiteral("Шаблоны форм"));
    QDir(start).mkpath(QStringLiteral("Формы"));
    QVERIFY(QFile::copy(QStringLiteral(NKP_TEMPLATES_DIR "/Форма 3.rtf"),
        f.dir.filePath(QStringLiteral("Шаблоны форм/Форма 3.rtf"))));
    QVERIFY(QFile::link(f.readoutPath, f.dir.filePath(QStringLiteral("Шаблоны форм/Форма 3.txt"))));

    auto* events = control<EventsTab>(*f.window, "TabSheet_Events");
    const std::vector<std::pair<const char*, std::function<void()>>> saves = {
        {"events CSV", [&] { events->exportCsv(); }},
        {"frames CSV", [&] { control<QAction>(*f.window, "Menu_ExportFrames")->trigger(); }},
        {"fleet CSV", [&] { fleet.exportCsv(); }},
        {"archive CSV", [&] { archiveWindow.exportCsv(); }},
    };
    for (const QString& target : {f.readoutPath, link, archivePath}) {
        for (const auto& [name, save] : saves) {
            f.prompts.calls.clear();
            f.prompts.fileAnswers.push_back(QFile::encodeName(target).toStdString());
            save();
            const auto errors = f.prompts.callsOf("error");
            QVERIFY2(errors.size() == 1, name);
            QVERIFY2(errors[0].text.find("один из открытых входных файлов") != std::string::npos, name);
            QCOMPARE(bytesOf(f.readoutPath), before);
            QCOMPARE(bytesOf(archivePath), archiveBefore);
        }
    }
    // Form 3 over the loaded read-out: its data file is refused, nothing written.
    f.prompts.calls.clear();
    f.prompts.fileAnswers.push_back(QFile::encodeName(f.readoutPath).toStdString());
    control<QAction>(*f.window, "N_CreateForma3")->trigger();
    const auto errors = f.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {1});
    QVERIFY(errors[0].text.find("один из открытых входных файлов") != std::string::npos);
    QCOMPARE(bytesOf(f.readoutPath), before);
    QVERIFY(QDir(f.dir.filePath(QStringLiteral("Формы"))).isEmpty());
}

QTEST_MAIN(TestInputs)
#include "tst_inputs.moc"

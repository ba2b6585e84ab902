// The print window: its actions, the refused frame range, PDF export and the
// real modal previews (closed by a timer, so that nothing blocks).
#include "ui/printing/Printinfcart.h"

#include "ScriptedUserPrompts.h"
#include "base/Codec.h"
#include "print/PrintDocuments.h"
#include "screen/MainState.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using nkp::ui::TForm_Print;

namespace {

std::string cp1251(const QString& text)
{
    return nkp::codec::utf8ToCp1251(text.toStdString());
}

// Renders every preview into a PDF file of its own and remembers the titles.
struct RecordingPreview {
    explicit RecordingPreview(QString folder)
        : dir(std::move(folder))
    {
    }
    QString dir;
    QStringList titles;
    QStringList files;
    bool allRendered = true;

    TForm_Print::Preview hook()
    {
        return [this](const QString& title, const TForm_Print::Render& render) {
            const QString path = dir + QStringLiteral("/%1.pdf").arg(files.size());
            {
                QPdfWriter writer(path);
                allRendered = render(writer) && allRendered;
            }
            titles << title;
            files << path;
        };
    }
};

QByteArray head(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(5) : QByteArray();
}

}  // namespace

class TestPrintinfcart : public QObject {
    Q_OBJECT

private slots:
    void windowHoldsTheThreeActions()
    {
        nkp::screen::MainState state;
        nkp::test::ScriptedUserPrompts prompts;
        TForm_Print form(state, prompts);
        QCOMPARE(form.windowTitle(), QStringLiteral("Форма для печати"));
        QVERIFY(form.findChild<QAction*>(QStringLiteral("Action_PrintInfCart")) == form.Action_PrintInfCart);
        QVERIFY(form.findChild<QAction*>(QStringLiteral("Action_PrintPril1")) == form.Action_PrintPril1);
        QVERIFY(form.findChild<QAction*>(QStringLiteral("Action_PrintCikl")) == form.Action_PrintCikl);
        QVERIFY(!form.isVisible());
    }

    void cardThenBothAppendixPages()
    {
        QTemporaryDir dir;
        nkp::screen::MainState state;
        state.loadedFrames = 11000;
        nkp::test::ScriptedUserPrompts prompts;
        TForm_Print form(state, prompts);
        RecordingPreview preview(dir.path());
        form.setPreview(preview.hook());
        form.printInfoCardAndAppendix();
        QCOMPARE(preview.titles,
            (QStringList {QStringLiteral("Информационная карта"), QStringLiteral("Приложение 1"),
                QStringLiteral("Приложение 2")}));
        QVERIFY(preview.allRendered);
        for (const QString& file : preview.files)
            QCOMPARE(head(file), QByteArray("%PDF-"));
        QVERIFY(prompts.calls.empty());
    }

    void listingRangeIsCheckedBeforeDrawing()
    {
        QTemporaryDir dir;
        nkp::screen::MainState state;
        nkp::test::ScriptedUserPrompts prompts;
        TForm_Print form(state, prompts);
        RecordingPreview preview(dir.path());
        form.setPreview(preview.hook());

        form.setFrameRangeTexts(QStringLiteral("0"), QStringLiteral("4O"));  // a letter O, not a zero
        form.printOperationalInfo();
        QVERIFY(preview.titles.isEmpty());
        QCOMPARE(prompts.callsOf("error").size(), std::size_t(1));
        QVERIFY(prompts.calls[0].text.find("\"4O\"") != std::string::npos);

        form.setFrameRangeTexts(QStringLiteral(""), QStringLiteral("40"));
        form.printOperationalInfo();
        QVERIFY(preview.titles.isEmpty());
        QCOMPARE(prompts.callsOf("error").size(), std::size_t(2));

        // Numbers outside the records are limited; "по" below "с" still prints.
        for (const auto& [home, end] :
            {std::pair {"0", "40"}, std::pair {"40", "3"}, std::pair {"-7", "99999999"}}) {
            form.setFrameRangeTexts(QString::fromLatin1(home), QString::fromLatin1(end));
            form.printOperationalInfo();
        }
        QCOMPARE(preview.titles.size(), 3);
        QCOMPARE(preview.titles[0], QStringLiteral("Оперативная информация"));
        QVERIFY(preview.allRendered);
        QCOMPARE(prompts.callsOf("error").size(), std::size_t(2));
    }

    void exportToPdfAsksForTheFile()
    {
        QTemporaryDir dir;
        nkp::screen::MainState state;
        nkp::test::ScriptedUserPrompts prompts;
        TForm_Print form(state, prompts);
        const TForm_Print::Render render
            = [&state](QPagedPaintDevice& device) { return nkp::print::printInfoCard(device, state); };

        const QString path = dir.filePath(QStringLiteral("карта.pdf"));
        prompts.fileAnswers.push_back(QFile::encodeName(path).toStdString());
        QVERIFY(form.exportToPdf(QStringLiteral("Информационная карта"), render));
        QCOMPARE(head(path), QByteArray("%PDF-"));
        QCOMPARE(prompts.dialogs.back().defaultExtension, std::string("pdf"));
        QCOMPARE(prompts.dialogs.back().title, std::string("Сохранить в PDF"));

        prompts.fileAnswers.push_back(std::nullopt);  // cancelled
        QVERIFY(!form.exportToPdf(QStringLiteral("x"), render));
        QVERIFY(prompts.callsOf("error").empty());

        prompts.fileAnswers.push_back(
            QFile::encodeName(dir.filePath(QStringLiteral("no/such/x.pdf"))).toStdString());
        QVERIFY(!form.exportToPdf(QStringLiteral("x"), render));
        QCOMPARE(prompts.callsOf("error").size(), std::size_t(1));
    }

    // The open read-out is never replaced by a PDF, under any of its names,
    // and a PDF that could not be written leaves the older one.
    void exportToPdfKeepsInputsAndOlderFiles()
    {
        QTemporaryDir dir;
        nkp::screen::MainState state;
        const QString readout = dir.filePath(QStringLiteral("g.nkp"));
        {
            QFile f(readout);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("read-out bytes");
        }
        state.filePath = QFile::encodeName(readout).toStdString();
        nkp::test::ScriptedUserPrompts prompts;
        TForm_Print form(state, prompts);
        const TForm_Print::Render render
            = [&state](QPagedPaintDevice& device) { return nkp::print::printInfoCard(device, state); };
        prompts.fileAnswers.push_back(
            QFile::encodeName(dir.filePath(QStringLiteral("./g.nkp"))).toStdString());
        QVERIFY(!form.exportToPdf(QStringLiteral("x"), render));
        QCOMPARE(prompts.callsOf("error").size(), std::size_t(1));
        QCOMPARE(head(readout), QByteArray("read-"));

        const QString old = dir.filePath(QStringLiteral("old.pdf"));
        {
            QFile f(old);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("older");
        }
        const TForm_Print::Render failing = [](QPagedPaintDevice&) { return false; };
        prompts.fileAnswers.push_back(QFile::encodeName(old).toStdString());
        QVERIFY(!form.exportToPdf(QStringLiteral("x"), failing));
        QCOMPARE(prompts.callsOf("error").size(), std::size_t(2));
        QCOMPARE(head(old), QByteArray("older"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    void menuHandlersShowModalPreviewsOneAfterAnother()
    {
        nkp::screen::MainState state;
        state.texts.engineerName = cp1251(QStringLiteral("Иванов И.И."));
        state.loadedFrames = 11000;
        nkp::test::ScriptedUserPrompts prompts;
        QStringList shown;
        bool pdfButton = true;
        QTimer closer;
        closer.setInterval(50);
        connect(&closer, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown << dialog->windowTitle();
            bool found = false;
            for (QAction* a : dialog->findChildren<QAction*>())
                found = found || a->text() == QStringLiteral("PDF...");
            pdfButton = pdfButton && found;
            // What the user sees, kept beside the test binary for a look.
            dialog->grab().save(QStringLiteral("preview-%1.png").arg(shown.size()));
            dialog->reject();
        });
        closer.start();
        nkp::ui::printInfoCard(nullptr, state, prompts);
        nkp::ui::printOperationalInfo(
            nullptr, state, prompts, QStringLiteral("0"), QStringLiteral("10"), ',');
        closer.stop();
        QCOMPARE(shown,
            (QStringList {QStringLiteral("Информационная карта"), QStringLiteral("Приложение 1"),
                QStringLiteral("Приложение 2"), QStringLiteral("Оперативная информация")}));
        QVERIFY(pdfButton);
    }
};

QTEST_MAIN(TestPrintinfcart)
#include "tst_Printinfcart.moc"

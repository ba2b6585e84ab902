#pragma once

#include "Controls.h"
#include "Cp1251.h"
#include "ScriptedUserPrompts.h"
#include "base/Codec.h"
#include "generator/ReadoutGenerator.h"
#include "ui/main/Tpb140_nkp3_main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A main window over a scripted UserPrompts and a start folder holding a
// generated read-out.
struct MainWindowFixture {
    nkp::generator::GeneratorOptions options;
    QTemporaryDir dir;
    QString readoutPath;
    nkp::test::ScriptedUserPrompts prompts;
    std::unique_ptr<TForm_TPB140CMain> window;

    explicit MainWindowFixture(char decimalSeparator = ',')
    {
        // The window keeps its recent files and place in a settings file of
        // this fixture's own, never in the user's.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        options.seed = 1;
        readoutPath = dir.filePath(QStringLiteral("demo.nkp"));
        writeFile(readoutPath, nkp::generator::generateDataFile(options));
        window = std::make_unique<TForm_TPB140CMain>(prompts, dir.path(), decimalSeparator);
    }

    static void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }

    // "Открыть" with the dialog answering `path` (or cancelling).
    void open(const std::optional<QString>& path)
    {
        prompts.fileAnswers.push_back(
            path ? std::optional<std::string>(QFile::encodeName(*path).toStdString()) : std::nullopt);
        nkp::test::control<QAction>(*window, "Menu_OpenSTN3")->trigger();
    }

    void openDemo() { open(readoutPath); }
};

using nkp::test::control;
using nkp::test::cp1251;

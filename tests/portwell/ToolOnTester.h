#pragma once

// The tool as a user starts it for the window tests: its port named in the
// btd.cfg of an otherwise empty working folder, that port the slave of a
// pseudo-terminal tester, and modal boxes answered.

#include "portwell/ConfigRecord.h"
#include "portwell/TForm1.h"
#include "tests/portwell/ModalAnswerer.h"
#include "tests/portwell/PtyTester.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct ToolOnTester
{
    std::unique_ptr<PtyTester> tester;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ModalAnswerer> answerer;
    std::unique_ptr<TForm1> form;

    // Starts the tool; a failure fails the calling test.
    void start()
    {
        tester = std::make_unique<PtyTester>();
        QVERIFY(tester->isValid());
        qputenv(TComPort::ExtraPortsVariable, tester->slaveName().toLocal8Bit());
        folder = std::make_unique<QTemporaryDir>();
        ConfigRecord config;
        config.setPortName(tester->shortName());
        config.save(QDir(folder->path()).filePath(QStringLiteral("btd.cfg")));
        answerer = std::make_unique<ModalAnswerer>();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder->path());
        form = std::make_unique<TForm1>(QStringList{QStringLiteral("portwell")});
        QDir::setCurrent(previous);
        QVERIFY(form->comPort().Active());
    }

    // The window goes before the tester it talks to.
    void stop()
    {
        form.reset();
        answerer.reset();
        tester.reset();
        folder.reset();
        qunsetenv(TComPort::ExtraPortsVariable);
    }
};

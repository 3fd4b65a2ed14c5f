// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"
#include "store/dbf/platform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace velmora;

// Platform::reason, the one way a reason given by Qt reaches a message: what real Qt objects
// say when they fail, in the user's words.
class TestPlatformReasons : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const char *name) const { return m_root.filePath(QLatin1String(name)); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir().mkpath(path("folder")));
        putBytes(path("file"), "a file");
    }

    void qtFailuresInRomanian_data() {
        QTest::addColumn<std::function<QString()>>("fail");
        QTest::addColumn<QString>("words");
        const QString missing = QStringLiteral("fisierul sau directorul nu exista");
        const QString folder = QStringLiteral("este un director");
        using Failure = std::function<QString()>;
        const auto read = [](const QString &name) {
            return Failure([name] {
                QFile file(name);
                return file.open(QIODevice::ReadOnly) ? QString() : Platform::reason(file);
            });
        };
        const auto save = [](const QString &name) {
            return Failure([name] {
                QSaveFile file(name);
                return file.open(QIODevice::WriteOnly) ? QString() : Platform::reason(file);
            });
        };
        QTest::newRow("QFile, missing") << read(path("no/such")) << missing;
        QTest::newRow("QFile, a folder") << read(path("folder")) << folder;
        QTest::newRow("QFile, below a file")
            << read(path("file/x")) << QStringLiteral("o parte a caii nu este un director");
        QTest::newRow("QSaveFile, missing folder") << save(path("no/x")) << missing;
        QTest::newRow("QSaveFile, a folder") << save(path("folder")) << folder;
        QTest::newRow("QTemporaryDir, missing folder") << Failure([this] {
            const QTemporaryDir dir(path("no/x-XXXXXX"));
            return dir.isValid() ? QString() : Platform::reason(dir.errorString());
        }) << missing;
        QTest::newRow("QProcess, missing program") << Failure([this] {
            QProcess process;
            process.start(path("no/program"), {});
            return process.waitForStarted() ? QString() : Platform::reason(process.errorString());
        }) << missing;
    }

    void qtFailuresInRomanian() {
        QFETCH(std::function<QString()>, fail);
        QFETCH(QString, words);
        QCOMPARE(fail(), words);
    }

    // A text that names no system error is passed on as it is, never replaced by a guess.
    void otherTextsStayAsTheyAre_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Qt's own") << QStringLiteral("Writing canceled by application");
        QTest::newRow("already Romanian") << QStringLiteral("discul este plin");
        QTest::newRow("a reason inside a sentence")
            << QStringLiteral("No such file or directory, said the server");
    }

    void otherTextsStayAsTheyAre() {
        QFETCH(QString, text);
        QCOMPARE(Platform::reason(text), text);
    }
};

QTEST_GUILESS_MAIN(TestPlatformReasons)
#include "tst_platformreasons.moc"

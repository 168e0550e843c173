#include "app/LoadWin.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

// The installed program's start-up as a whole process: the lock, the left-over installer,
// the splash.
class ProcessTest : public QObject {
    Q_OBJECT

private:
    static QString program() { return qEnvironmentVariable("QUENMAR_BIN_DIR") + QStringLiteral("/quenmar"); }

    static void startIn(QProcess& process, const QString& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUENMAR_HOME"), home);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(program(), {});
    }

private slots:
    void aSecondInstanceEndsAtOnceAndSilently() {
        QTemporaryDir home;
        const QString installer = home.filePath(QStringLiteral("0123456789ABCDEF0123456789ABCDEF"));
        const QString keep = home.filePath(QStringLiteral("notes.txt"));
        for (const QString& path : {installer, keep}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        QFile config(home.filePath(QStringLiteral("config.ini")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[sys]\nupdate_file=0123456789ABCDEF0123456789ABCDEF\n");
        config.close();

        QProcess first;
        startIn(first, home.path());
        QVERIFY(first.waitForStarted());
        // The first instance creates its database and takes the lock before any window shows.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath(QStringLiteral("src/data/wnx.db"))), 10000);
        QVERIFY(QFile::exists(home.filePath(QStringLiteral("Quenmar/wnx.zj"))));
        QVERIFY(!QFile::exists(installer)); // the left-over installer is gone
        QVERIFY(QFile::exists(keep));

        QProcess second;
        startIn(second, home.path());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(second.waitForFinished(10000));
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QVERIFY(first.state() == QProcess::Running);

        first.kill();
        first.waitForFinished();
        // The lock died with the process: the program starts again.
        QProcess third;
        startIn(third, home.path());
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(2500));
        third.kill();
        third.waitForFinished();
    }

    void splashClosesAfterThreeSeconds() {
        quenmar::app::LoadWin waited;
        QElapsedTimer clock;
        clock.start();
        waited.show();
        QCOMPARE(waited.size(), QSize(488, 288));
        QTRY_VERIFY_WITH_TIMEOUT(!waited.isVisible(), 5000);
        QVERIFY2(clock.elapsed() >= 2900, qPrintable(QString::number(clock.elapsed())));
    }

    void splashClosesAtOnceOnAClick() {
        quenmar::app::LoadWin clicked;
        clicked.show();
        QVERIFY(clicked.closeTimer()->isActive());
        QTest::mouseClick(&clicked, Qt::LeftButton);
        QVERIFY(!clicked.isVisible());
        QVERIFY(!clicked.closeTimer()->isActive());
    }
};

std::vector<std::unique_ptr<QObject>> makeProcessTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<ProcessTest>());
    return tests;
}

#include "ProcessTest.moc"

#include "fs/FileSystem.h"
#include "fs/StagedCopy.h"

#include <QtTest>

class FileSystemTest : public QObject {
    Q_OBJECT

private slots:
    void aLeagueNameIsOneName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("single");
        QTest::newRow("plain") << "GT2003" << true;
        for (const char* path : {"", ".", "..", "../cars/car1", "..\\..\\outside", "/etc", "C:", "GT:secret"})
            QTest::addRow("\"%s\"", path) << path << false;
        QTest::newRow("NUL inside") << QString("GT") + QChar(0) + "x" << false;
#if defined(Q_OS_WIN)
        for (const char* device : {"CON", "nul", "COM1", "lpt9", "NUL.trk", "aux.txt", "CONIN$"})
            QTest::newRow(device) << device << false;
#endif
    }

    void aLeagueNameIsOneName() {
        QFETCH(QString, name);
        QFETCH(bool, single);
        const std::optional<fs::Path> path = fs::singleName(name);
        QCOMPARE(path ? fs::displayName(*path) : "(refused)", single ? name : "(refused)");
    }

#ifdef Q_OS_LINUX
    // Opened once, a file is copied for the size it had then: one that says it holds nothing but never ends is
    // refused at once, and nothing of it stays.
    void aCopyStopsAtTheSizeItRead() {
        QTemporaryDir dir;
        const fs::Path folder = fs::fromQt(dir.path());
        qint64 written = -1;
        {
            fs::StagedCopy copy(folder);
            const fs::Status endless = copy.stage("/proc/self/pagemap", "endless.tex", [&](qint64 done) {
                written = done;
                return true;
            });
            QCOMPARE(endless.reason(), "changed while it was being copied");
            QCOMPARE(copy.place(), QList<fs::Blocked>());
        }
        QCOMPARE(written, -1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
#endif
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "test_file_system.moc"

#include "fs/FileSystem.h"
#include "fs/Mark.h"
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

    // A mark is outside input: it proves a file the program's only while it names this folder, and the file as it is.
    void aMarkProvesOnlyWhatItNamesAsItIs_data() {
        // After its first line; {F}, {A} and {O} are the identities of the folder, its a.tex and an o.tex beside it.
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QStringList>("left"); // once the program has removed its own files
        const QStringList nothingGoes{".tarvok-made", "a.tex", "o.tex"};
        QTest::newRow("as written") << "{F}\n5 {A} a.tex|" << QStringList{"o.tex"};
        QTest::newRow("while it is written") << "{F}\n5 0 0 a.tex|" << QStringList{"o.tex"};
        QTest::newRow("grown past its size") << "{F}\n4 0 0 a.tex|" << nothingGoes;
        QTest::newRow("another size") << "{F}\n6 {A} a.tex|" << nothingGoes;
        QTest::newRow("another file") << "{F}\n5 {F} a.tex|" << nothingGoes;
        QTest::newRow("another folder") << "{A}\n5 {A} a.tex|" << nothingGoes;
        QTest::newRow("a name out of the folder") << "{F}\n5 {A} a.tex|5 {O} ../o.tex|" << nothingGoes;
        QTest::newRow("the mark itself") << "{F}\n5 {A} a.tex|0 0 0 .tarvok-made|" << nothingGoes;
        QTest::newRow("an entry cut short") << "{F}\n5 {A} a.tex" << nothingGoes;
        QTest::newRow("no folder") << "5 {A} a.tex|" << nothingGoes;
    }

    void aMarkProvesOnlyWhatItNamesAsItIs() {
        QFETCH(QString, mark);
        QTemporaryDir dir;
        const fs::Path folder = fs::fromQt(dir.filePath("own"));
        QVERIFY(fs::makeOwnFolder(folder).ok() && fs::writeWhole(folder / "a.tex", "12345").ok() &&
                fs::writeWhole(fs::fromQt(dir.filePath("o.tex")), "12345").ok());
        const auto id = [](const fs::Path& path) {
            const fs::host::Identity identity = fs::host::identityOf(path).value_or(fs::host::Identity{});
            return QString::number(identity.volume) + ' ' + QString::number(identity.file);
        };
        mark.replace("{F}", id(folder)).replace("{A}", id(folder / "a.tex")).replace("{O}", id(folder / "../o.tex"));
        QVERIFY(fs::writeWhole(folder / ".tarvok-made",
                               "Tarvok Car Manager mark 1\n" + mark.replace('|', QChar(0)).toUtf8())
                    .ok());
        fs::removeOwnFiles(folder);
        QTEST(QDir(dir.filePath("own")).entryList(QDir::Files | QDir::Hidden) + QDir(dir.path()).entryList({"o.tex"}),
              "left");
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

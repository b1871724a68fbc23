#include "fs/FileSystem.h"
#include "support/CarFolder.h"
#include "support/TestMain.h"

#include <QTest>

class FileSystemTest : public QObject {
    Q_OBJECT

private slots:
    void pathsWithBackslashesResolveAgainstTheProgramFolder() {
        CarFolder cars;
        cars.write(QStringLiteral("../run/Spa.trk"), "track");
        const fs::FileSystem fso(cars.path());
        QVERIFY(fso.fileExists(QStringLiteral("..\\run\\Spa.trk")));
        QVERIFY(!fso.fileExists(QStringLiteral("..\\run\\spa.trk")));
        QVERIFY(!fso.fileExists(QStringLiteral("..\\run")));
        QVERIFY(fso.folderExists(QStringLiteral("..\\run")));
        QVERIFY(!fso.folderExists(QString()));
        QVERIFY(!fso.fileExists(QString()));
    }

    void readerGivesLinesWithoutTheirEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf, last line unended") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("blank lines kept") << QByteArray("\r\n\r\nx") << QStringList{"", "", "x"};
        QTest::newRow("byte order mark dropped") << QByteArray("\xEF\xBB\xBF"
                                                               "2\r\n")
                                                 << QStringList{"2"};
        QTest::newRow("utf-8") << QByteArray("Citro\xC3\xABn\n") << QStringList{QStringLiteral("Citroën")};
        QTest::newRow("windows-1252") << QByteArray("Citro\xEBn \x80\n") << QStringList{QStringLiteral("Citroën €")};
    }

    void readerGivesLinesWithoutTheirEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        CarFolder cars;
        cars.write(QStringLiteral("list.txt"), bytes);
        auto reader = fs::FileSystem(cars.path()).openAsTextStream(QStringLiteral("list.txt"));
        QVERIFY(reader);
        QStringList read;
        while (auto line = reader->readLine())
            read.append(*line);
        QCOMPARE(read, lines);
    }

    void onlyFilesOpenAsText() {
        CarFolder cars;
        cars.makeFolder(QStringLiteral("drivers.txt"));
        const fs::FileSystem fso(cars.path());
        QVERIFY(!fso.openAsTextStream(QStringLiteral("drivers.txt")));
        QVERIFY(!fso.openAsTextStream(QStringLiteral("missing.txt")));
        QVERIFY(!fso.openAsTextStream(QString()));
    }

    void aHugeLineIsCutAndTheNextLineStillRead() {
        CarFolder cars;
        cars.write(QStringLiteral("big.txt"), QByteArray(3 * fs::TextReader::kMaxLineBytes, 'x') + "\r\nnext");
        auto reader = fs::FileSystem(cars.path()).openAsTextStream(QStringLiteral("big.txt"));
        QCOMPARE(reader->readLine()->size(), fs::TextReader::kMaxLineBytes);
        QCOMPARE(*reader->readLine(), QStringLiteral("next"));
        QVERIFY(!reader->readLine());
    }

    void subfoldersAreSortedIgnoringCase() {
        CarFolder cars;
        for (const char* name : {"beta", "Alpha", "gamma", "Delta"})
            cars.makeFolder(QString::fromLatin1(name));
        cars.write(QStringLiteral("file.tex"), "t");
        QStringList names;
        for (const fs::Subfolder& folder : fs::FileSystem(cars.path()).subfolders(cars.path()))
            names.append(folder.name);
        QCOMPARE(names, (QStringList{"Alpha", "beta", "Delta", "gamma"}));
    }

    void wildcardCopyTakesRegularFilesOnly() {
        CarFolder cars;
        cars.write(QStringLiteral("pack/a.tex"), "A");
        cars.write(QStringLiteral("pack/b.tex"), "B");
        cars.write(QStringLiteral("pack/notes.txt"), "N");
        cars.makeFolder(QStringLiteral("pack/folder.tex"));
        const fs::CopyOutcome outcome =
            fs::FileSystem(cars.path()).copyFile(QStringLiteral("pack\\*.tex"), QStringLiteral("dest\\"));
        QCOMPARE(outcome.status, fs::FsStatus::Failed); // dest does not exist yet
        cars.makeFolder(QStringLiteral("dest"));
        const fs::CopyOutcome second =
            fs::FileSystem(cars.path()).copyFile(QStringLiteral("pack\\*.tex"), QStringLiteral("dest\\"));
        QVERIFY(second.ok());
        QCOMPARE(second.copiedFiles, 2);
        QCOMPARE(cars.read(QStringLiteral("dest/b.tex")), QByteArray("B"));
        QVERIFY(!cars.exists(QStringLiteral("dest/notes.txt")));
        QVERIFY(!cars.exists(QStringLiteral("dest/folder.tex")));
    }

    void copyReportsNothingToCopyAndMissingSources() {
        CarFolder cars;
        cars.makeFolder(QStringLiteral("empty"));
        const fs::FileSystem fso(cars.path());
        QCOMPARE(fso.copyFile(QStringLiteral("empty\\*.tex"), QStringLiteral("\\")).status,
                 fs::FsStatus::NothingToCopy);
        QCOMPARE(fso.copyFile(QStringLiteral("empty\\drivers.txt"), QStringLiteral("drivers.txt")).status,
                 fs::FsStatus::NotFound);
    }

    void aCopyOntoAFolderFailsAndLeavesNoTemporaryFile() {
        CarFolder cars;
        cars.write(QStringLiteral("pack/drivers.txt"), "new");
        cars.makeFolder(QStringLiteral("drivers.txt"));
        const QStringList before = cars.snapshot();
        const fs::CopyOutcome outcome =
            fs::FileSystem(cars.path()).copyFile(QStringLiteral("pack\\drivers.txt"), QStringLiteral("drivers.txt"));
        QCOMPARE(outcome.status, fs::FsStatus::Failed);
        QCOMPARE(outcome.failedFiles, QStringList{"drivers.txt"});
        QCOMPARE(cars.snapshot(), before);
    }

    void createAndDeleteReportTheirOutcome() {
        CarFolder cars;
        const fs::FileSystem fso(cars.path());
        QCOMPARE(fso.createFolder(QStringLiteral("original")), fs::FsStatus::Ok);
        QCOMPARE(fso.createFolder(QStringLiteral("original")), fs::FsStatus::AlreadyExists);
        cars.write(QStringLiteral("blocker"), "x");
        QCOMPARE(fso.createFolder(QStringLiteral("blocker")), fs::FsStatus::Failed);
        QCOMPARE(fso.deleteFile(QStringLiteral("blocker")), fs::FsStatus::Ok);
        QCOMPARE(fso.deleteFile(QStringLiteral("blocker")), fs::FsStatus::NotFound);
    }
};

TARVOK_TEST(FileSystemTest)
#include "test_fs.moc"

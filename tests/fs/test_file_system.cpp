#include "fs/FileSystem.h"

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
        QTest::newRow("COM0 is a name") << "COM0" << true;
        QTest::newRow("CONSOLE is a name") << "CONSOLE" << true;
#endif
    }

    void aLeagueNameIsOneName() {
        QFETCH(QString, name);
        QFETCH(bool, single);
        const std::optional<fs::Path> path = fs::singleName(name);
        QCOMPARE(path.has_value(), single);
        if (single)
            QCOMPARE(fs::displayName(*path), name);
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "test_file_system.moc"

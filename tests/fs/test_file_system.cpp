#include "fs/FileSystem.h"
#include "support/CarFolder.h"

#include <QTest>

namespace {

fs::Path in(const CarFolder& cars, const QString& relative) {
    return fs::fromQt(cars.file(relative));
}

} // namespace

class FileSystemTest : public QObject {
    Q_OBJECT

private slots:
    void aFailedCopyLeavesEverythingAsItWas() {
        CarFolder cars;
        cars.write("pack/drivers.txt", "new");
        cars.makeFolder("drivers.txt");
        const TreeSnapshot before = cars.snapshot();
        QVERIFY(!fs::writeWhole(in(cars, "drivers.txt"), "new").ok());
        QVERIFY(!fs::writeWhole(in(cars, "gone/drivers.txt"), "new").ok());
        QVERIFY(!fs::createFolder(in(cars, "pack/drivers.txt")).ok() && fs::createFolder(in(cars, "pack")).ok());
        QCOMPARE(cars.snapshot().changesSince(before), QStringList());
    }

    void readsAreBounded() {
        CarFolder cars;
        cars.write("big.txt", QByteArray(1024 * 1024, 'x'));
        QCOMPARE(fs::readHead(in(cars, "big.txt"), 1000)->size(), 1000);
        QVERIFY(!fs::readHead(in(cars, "missing.txt"), 1000));
    }

    void aLeagueNameIsOneName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("single");
        QTest::newRow("plain") << "GT2003" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("slash") << "../cars/car1" << false;
        QTest::newRow("backslash") << "..\\..\\outside" << false;
        QTest::newRow("absolute") << "/etc" << false;
        QTest::newRow("NUL inside") << QString("GT") + QChar(0) + "x" << false;
#if defined(Q_OS_WIN)
        QTest::newRow("drive") << "C:" << false;
        QTest::newRow("stream") << "GT:secret" << false;
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

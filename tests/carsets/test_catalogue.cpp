#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

// drivers.txt made of the given lines, each ended by CR LF.
QByteArray linesFile(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QStringList catalogueOf(const CarFolder& cars, FormState& st) {
    RecordingPorts ui;
    st.appPath = fs::fromQt(cars.path());
    subInitialiseSkinPacks(st, ui.lstPacks);
    return ui.lstPacks.entries;
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void descriptionsAlignBehindFillFullStops() {
        CarFolder cars;
        cars.addPack(QStringLiteral("Short"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"));
        cars.addPack(QStringLiteral("LongName"), QStringLiteral("Touring"), QStringLiteral("01/05/2003"));
        FormState st;
        const QStringList entries = catalogueOf(cars, st);
        QCOMPARE(entries, (QStringList{"LongName .Touring - 01/05/2003", "Short ....GT Cars - 12/04/2003"}));
        QCOMPARE(entries[0].indexOf(QLatin1Char('T')), entries[1].indexOf(QLatin1Char('G')));
        QCOMPARE(entries[1].indexOf(QLatin1Char('G')), 10); // column 11
        QCOMPARE(st.intPackCount, 2);
        QCOMPARE(st.arrPacks[1].folderName, QStringLiteral("Short"));
        QCOMPARE(st.arrPacks[1].description, QStringLiteral("...GT Cars - 12/04/2003"));
    }

    void entriesFromOneDriversTxt_data() {
        QTest::addColumn<QByteArray>("driversTxt");
        QTest::addColumn<QString>("entry");
        QTest::newRow("blank lines take the defaults")
            << linesFile({"1", "2", "3", "   ", ""}) << "Pack .Unknown Skinpack - 01/01/1900";
        QTest::newRow("missing lines count as blank")
            << linesFile({"1", "2", "3"}) << "Pack .Unknown Skinpack - 01/01/1900";
        QTest::newRow("empty file") << QByteArray() << "Pack .Unknown Skinpack - 01/01/1900";
        QTest::newRow("prefix-only name gives an empty name, leading blank trimmed")
            << linesFile({"1", "2", "3", "## ", "## 12/04/2003"}) << "Pack .- 12/04/2003";
        QTest::newRow("short non-blank lines give empty fields") << linesFile({"1", "2", "3", "#", "xy"}) << "Pack .-";
        QTest::newRow("blanks after the prefix trimmed without fill")
            << linesFile({"1", "2", "3", "##   Spaced", "## 12/04/2003   "}) << "Pack .Spaced - 12/04/2003";
        QTest::newRow("tab is not a blank") << linesFile({"1", "2", "3", "\t", "## d"}) << "Pack .- d";
    }

    void entriesFromOneDriversTxt() {
        QFETCH(QByteArray, driversTxt);
        QFETCH(QString, entry);
        CarFolder cars;
        cars.write(QStringLiteral("Pack/drivers.txt"), driversTxt);
        FormState st;
        QCOMPARE(catalogueOf(cars, st), QStringList{entry});
    }

    void blanksBehindFillStay() {
        CarFolder cars;
        cars.write(QStringLiteral("A/drivers.txt"), linesFile({"1", "2", "3", "##  Lead", "## d"}));
        cars.addPack(QStringLiteral("Bbb"), QStringLiteral("B"), QStringLiteral("d"));
        FormState st;
        QCOMPARE(catalogueOf(cars, st), (QStringList{"A ... Lead - d", "Bbb .B - d"}));
    }

    void foldersWithoutDriversTxtAreNotPacks() {
        CarFolder cars;
        cars.makeFolder(QStringLiteral("Aaa"));
        cars.addPack(QStringLiteral("Bbb"), QStringLiteral("B"), QStringLiteral("1"));
        cars.makeFolder(QStringLiteral("Ccc/drivers.txt")); // a folder is not the file
        cars.addPack(QStringLiteral("ddd"), QStringLiteral("D"), QStringLiteral("2"));
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Active"), QStringLiteral("x")));
        FormState st;
        QCOMPARE(catalogueOf(cars, st), (QStringList{"Bbb .B - 1", "ddd .D - 2"}));
        QCOMPARE(st.arrPacks[1].folderName, QStringLiteral("ddd"));
    }

    void noPacksLeavesAnEmptyList() {
        CarFolder cars;
        cars.makeFolder(QStringLiteral("empty"));
        FormState st;
        QVERIFY(catalogueOf(cars, st).isEmpty());
        QCOMPARE(st.intPackCount, 0);
        QVERIFY(st.arrPacks.isEmpty());
    }

    void accentedNamesDecodeFromEitherEncoding() {
        CarFolder cars;
        cars.write(QStringLiteral("Utf/drivers.txt"), "1\n2\n3\n## Citro\xC3\xABn\n## d\n");
        cars.write(QStringLiteral("Win/drivers.txt"), "1\n2\n3\n## Citro\xEBn\n## d\n");
        FormState st;
        QCOMPARE(catalogueOf(cars, st),
                 (QStringList{QStringLiteral("Utf .Citroën - d"), QStringLiteral("Win .Citroën - d")}));
    }
};

class CurrentSetTest : public QObject {
    Q_OBJECT

private slots:
    void bothReadingsOfTheActiveSet_data() {
        QTest::addColumn<QByteArray>("driversTxt"); // empty: no file at all
        QTest::addColumn<QString>("atStartUp");
        QTest::addColumn<QString>("afterSwap"); // empty: text box unchanged
        QTest::newRow("missing") << QByteArray() << "Error" << QString();
        QTest::newRow("fewer than four lines") << linesFile({"1", "2", "3"}) << "Error" << QString();
        QTest::newRow("line 4 shorter than the prefix")
            << linesFile({"1", "2", "3", "ab", "## 12/04/2003"}) << "Error" << QString();
        QTest::newRow("exactly four lines") << linesFile({"1", "2", "3", "## GT"}) << "GT" << QString();
        QTest::newRow("line 5 of three characters") << linesFile({"1", "2", "3", "## GT", "## "}) << "GT"
                                                    << "GT";
        QTest::newRow("name and date") << linesFile({"1", "2", "3", "## GT", "## 12/04/2003"}) << "GT 12/04/2003"
                                       << "GT 12/04/2003";
        QTest::newRow("empty name, one-character date") << linesFile({"1", "2", "3", "## ", "## 7"}) << " 7"
                                                        << " 7";
        QTest::newRow("blanks reach the text") << linesFile({"1", "2", "3", "##  GT ", "##  d "}) << " GT   d "
                                               << " GT   d ";
    }

    void bothReadingsOfTheActiveSet() {
        QFETCH(QByteArray, driversTxt);
        QFETCH(QString, atStartUp);
        QFETCH(QString, afterSwap);
        CarFolder cars;
        if (!driversTxt.isEmpty())
            cars.write(QStringLiteral("drivers.txt"), driversTxt);
        FormState st;
        st.appPath = fs::fromQt(cars.path());

        RecordingCurrentSetBox startUp;
        showStartupCurrentSet(st, startUp);
        QCOMPARE(startUp.text, atStartUp);

        RecordingCurrentSetBox box;
        box.text = QStringLiteral("previous");
        QCOMPARE(subCurrent(st, box), !afterSwap.isNull());
        QCOMPARE(box.text, afterSwap.isNull() ? QStringLiteral("previous") : afterSwap);
    }
};

TARVOK_TEST(CatalogueTest)
TARVOK_TEST(CurrentSetTest)
#include "test_catalogue.moc"

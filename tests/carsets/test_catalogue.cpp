#include "carsets/Catalogue.h"
#include "support/CarFolder.h"

#include <QTest>

#include <fstream>

namespace {

// Host paths below the car folder, as bytes, each made a folder (ending in "/") or a file holding its bytes.
using Layout = QMap<QByteArray, QByteArray>;

void place(const fs::Path& carFolder, const Layout& layout) {
    for (auto entry = layout.cbegin(); entry != layout.cend(); ++entry) {
        const fs::Path path = carFolder / entry.key().toStdString();
        std::filesystem::create_directories(entry.key().endsWith('/') ? path : path.parent_path());
        if (!entry.key().endsWith('/'))
            std::ofstream(path, std::ios::binary).write(entry.value().constData(), entry.value().size());
    }
}

QByteArray pack(const char* name, const char* date) {
    return CarFolder::driversTxt(QString::fromUtf8(name), QString::fromUtf8(date));
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void entriesOfACarFolder_data() {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("descriptions start in one column")
            << Layout{{"Short/drivers.txt", pack("GT Cars", "12/04/2003")},
                      {"LongName/drivers.txt", pack("Touring", "01/05/2003")}}
            << QStringList{"LongName .Touring - 01/05/2003", "Short ....GT Cars - 12/04/2003"};
        // Only the longest name's description meets the trimming with its leading spaces.
        QTest::newRow("outer spaces trimmed from the filled description")
            << Layout{{"A/drivers.txt", pack(" Lead", "d  ")}, {"Bbb/drivers.txt", pack("  Wide", "d")}}
            << QStringList{"A ... Lead - d", "Bbb .Wide - d"};
        QTest::newRow("sorted without regard to case, only folders holding a drivers.txt")
            << Layout{{"DDD/drivers.txt", pack("D", "2")},
                      {"bbb/drivers.txt", pack("B", "1")},
                      {"Aaa/", {}},
                      {"Ccc/drivers.txt/", {}},
                      {"drivers.txt", pack("Active", "3")}}
            << QStringList{"bbb .B - 1", "DDD .D - 2"};
        QTest::newRow("blank and missing lines take the defaults")
            << Layout{{"Blank/drivers.txt", "1\r\n2\r\n3\r\n   \r\n\r\n"}, {"Empty/drivers.txt", ""}}
            << QStringList{"Blank .Unknown Skinpack - 01/01/1900", "Empty .Unknown Skinpack - 01/01/1900"};
#ifdef Q_OS_UNIX
        QTest::newRow("folder name that is not UTF-8")
            << Layout{{"Citro\xEBn/drivers.txt", pack("C", "d")}, {"Zed/drivers.txt", pack("Z", "d")}}
            << QStringList{QString::fromUtf8("Citro\xEBn .C - d"), "Zed .....Z - d"};
#endif
    }

    void entriesOfACarFolder() {
        QFETCH(Layout, layout);
        QFETCH(QStringList, entries);
        const CarFolder cars;
        place(cars.host(), layout);
        const QStringList listed = catalogueEntries(readCatalogue(cars.host()));
        std::filesystem::remove_all(cars.host()); // QTemporaryDir cannot remove a name that is not UTF-8
        QCOMPARE(listed, entries);
    }
};

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"

#include "carsets/Catalogue.h"
#include "support/CarFolder.h"

#include <QTest>

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void entriesOfACarFolder() {
        const CarFolder cars;
        cars.write("drivers.txt", CarFolder::driversTxt("Active", "3"));
        cars.addPack("bb", " Lead", "d");
        cars.write("Blank/drivers.txt", "1\r\n2\r\n3\r\n   \r\n\r\n");
        cars.write("Empty/drivers.txt", "");
        cars.makeFolder("Ccc/drivers.txt");
        cars.addPack("back\\slash", "  Slash", "d  ");
        cars.addPack("my\\cars/GT", "GT", "d"); // a car folder whose own path holds a backslash
        // The fill puts every description in one column; only ends that meet no fill lose their spaces.
        QCOMPARE(
            catalogueEntries(readCatalogue(cars.host())),
            (QStringList{"back\\slash .Slash - d", "bb ......... Lead - d", "Blank ......Unknown Skinpack - 01/01/1900",
                         "Empty ......Unknown Skinpack - 01/01/1900"}));
        QCOMPARE(catalogueEntries(readCatalogue(cars.host() / "my\\cars")), QStringList{"GT .GT - d"});
    }
};

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"

#include "carsets/Catalogue.h"
#include "support/CarFolder.h"

#include <QTest>

using namespace carsets;

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
        cars.addPack("Longest", "  Slash", "d  ");
        // The fill puts every description in one column; only ends that meet no fill lose their spaces.
        QCOMPARE(catalogueEntries(readCatalogue(cars.host())),
                 (QStringList{"bb ...... Lead - d", "Blank ...Unknown Skinpack - 01/01/1900",
                              "Empty ...Unknown Skinpack - 01/01/1900", "Longest .Slash - d"}));
    }
};

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"

#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QTest>

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void placeholder() { QVERIFY(true); }
};

TARVOK_TEST(CatalogueTest)
#include "test_catalogue.moc"

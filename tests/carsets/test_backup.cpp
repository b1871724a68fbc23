#include "carsets/Backup.h"
#include "carsets/Catalogue.h"
#include "carsets/Swap.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const QString kWarning = QStringLiteral("Warning! This will copy your current cars to the original folder!\r\n"
                                        "Are you sure you want to do this?");

FormState stateOf(const CarFolder& cars) {
    FormState st;
    st.appPath = fs::fromQt(cars.path());
    return st;
}

QStringList filesIn(const CarFolder& cars, const QString& folder) {
    return QDir(cars.file(folder))
        .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void checkOnlyTheQuestionWasAsked(const RecordingPorts& ui) {
    QCOMPARE(ui.msgBox.shown.size(), 1);
    QCOMPARE(ui.msgBox.shown[0].title, QStringLiteral("Wait a Minute!"));
    QCOMPARE(ui.msgBox.shown[0].prompt, kWarning);
    QVERIFY(ui.msgBox.shown[0].yesNo);
}

} // namespace

class BackupTest : public QObject {
    Q_OBJECT

private slots:
    void answeringNoTouchesNothing() {
        CarFolder cars;
        cars.write(QStringLiteral("drivers.txt"),
                   CarFolder::driversTxt(QStringLiteral("Classic"), QStringLiteral("1998")));
        cars.write(QStringLiteral("a.tex"), "a");
        RecordingPorts ui;
        ui.msgBox.answers = {false};
        FormState st = stateOf(cars);
        const QStringList before = cars.snapshot();

        subBack(st, ui.ports);

        checkOnlyTheQuestionWasAsked(ui);
        QCOMPARE(cars.snapshot(), before);
    }

    void backupCopiesTheActiveSet_data() {
        QTest::addColumn<QStringList>("textures");
        QTest::addColumn<bool>("withDriversTxt");
        QTest::addColumn<QStringList>("backedUp");
        QTest::newRow("textures and drivers.txt")
            << QStringList{"a.tex", "b.tex"} << true << QStringList{"a.tex", "b.tex", "drivers.txt"};
        QTest::newRow("no textures") << QStringList{} << true << QStringList{"drivers.txt"};
        QTest::newRow("no drivers.txt") << QStringList{"a.tex"} << false << QStringList{"a.tex"};
    }

    void backupCopiesTheActiveSet() {
        QFETCH(QStringList, textures);
        QFETCH(bool, withDriversTxt);
        QFETCH(QStringList, backedUp);
        CarFolder cars;
        if (withDriversTxt)
            cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Classic"), "1998"));
        for (const QString& texture : textures)
            cars.write(texture, texture.toUtf8());
        cars.write(QStringLiteral("notes.txt"), "not a car file");
        cars.makeFolder(QStringLiteral("folder.tex"));
        RecordingPorts ui;
        ui.msgBox.answers = {true};
        FormState st = stateOf(cars);

        subBack(st, ui.ports);

        checkOnlyTheQuestionWasAsked(ui);
        QCOMPARE(filesIn(cars, QStringLiteral("original")), backedUp);
        for (const QString& name : backedUp)
            QCOMPARE(cars.read(QStringLiteral("original/") + name), cars.read(name));
    }

    void laterBackupAddsToTheFirst() {
        CarFolder cars;
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Classic"), "1998"));
        cars.write(QStringLiteral("a.tex"), "classic a");
        cars.write(QStringLiteral("b.tex"), "classic b");
        cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"), {"a.tex", "c.tex"});
        RecordingPorts ui;
        ui.msgBox.answers = {true, true};
        FormState st = stateOf(cars);
        subInitialiseSkinPacks(st, ui.lstPacks);

        subBack(st, ui.ports);
        ui.lstPacks.selected = 0;
        subDoIt(st, ui.ports);
        QVERIFY(QFile::remove(cars.file(QStringLiteral("b.tex"))));
        subBack(st, ui.ports);

        QCOMPARE(ui.msgBox.shown.size(), 2);
        QCOMPARE(filesIn(cars, QStringLiteral("original")), (QStringList{"a.tex", "b.tex", "c.tex", "drivers.txt"}));
        QCOMPARE(cars.read(QStringLiteral("original/a.tex")), cars.read(QStringLiteral("Modern/a.tex")));
        QCOMPARE(cars.read(QStringLiteral("original/b.tex")), QByteArray("classic b"));
        QCOMPARE(cars.read(QStringLiteral("original/c.tex")), cars.read(QStringLiteral("Modern/c.tex")));
        QCOMPARE(cars.read(QStringLiteral("original/drivers.txt")), cars.read(QStringLiteral("Modern/drivers.txt")));
    }

    void fileNamedOriginalInTheWayIsReported() {
        CarFolder cars;
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Classic"), "1998"));
        cars.write(QStringLiteral("a.tex"), "a");
        cars.write(QStringLiteral("b.tex"), "b");
        cars.write(QStringLiteral("original"), "a member's notes");
        RecordingPorts ui;
        ui.msgBox.answers = {true};
        FormState st = stateOf(cars);
        const QStringList before = cars.snapshot();

        subBack(st, ui.ports);

        QCOMPARE(ui.msgBox.shown.size(), 2);
        QCOMPARE(ui.msgBox.shown[1].title, QStringLiteral("Oops..."));
        QCOMPARE(ui.msgBox.shown[1].prompt,
                 QStringLiteral("Some files could not be copied:\r\na.tex\r\nb.tex\r\ndrivers.txt"));
        QCOMPARE(cars.snapshot(), before);
    }
};

TARVOK_TEST(BackupTest)
#include "test_backup.moc"

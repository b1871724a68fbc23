#include "carsets/Backup.h"
#include "carsets/CurrentSet.h"
#include "carsets/Swap.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDataStream>
#include <QTest>

#include <functional>
#include <optional>

namespace {

constexpr qsizetype kBigTexture = 256 * 1024;
constexpr qsizetype kDiskRoom = 64 * 1024;

FormState stateOf(const CarFolder& cars) {
    FormState st;
    st.appPath = fs::fromQt(cars.path());
    return st;
}

// Each box as "title | prompt", so a whole run compares at once.
QStringList boxes(const QList<ShownBox>& shown) {
    QStringList described;
    for (const ShownBox& box : shown)
        described.append(box.title + QStringLiteral(" | ") + box.prompt);
    return described;
}

QByteArray bigTexture() {
    QByteArray bytes(kBigTexture, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

void activeClassicSet(const CarFolder& cars) {
    cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Classic"), QStringLiteral("1998")));
    cars.write(QStringLiteral("a.tex"), "old a");
}

#ifdef Q_OS_UNIX
// Runs command in a child process whose files cannot grow past kDiskRoom bytes, as on a disk that
// fills up, and returns the boxes it showed; nothing when the child did not finish.
std::optional<QList<ShownBox>> runOnAFullDisk(const std::function<void(RecordingPorts&)>& command) {
    const std::optional<QByteArray> bytes = runWithDiskRoom(kDiskRoom, [&command] {
        RecordingPorts ui;
        command(ui);
        QByteArray sent;
        QDataStream out(&sent, QIODevice::WriteOnly);
        for (const ShownBox& box : std::as_const(ui.msgBox.shown))
            out << box.title << box.prompt << box.yesNo;
        return sent;
    });
    if (!bytes)
        return std::nullopt;
    QList<ShownBox> shown;
    QDataStream in(*bytes);
    while (!in.atEnd()) {
        ShownBox box;
        in >> box.title >> box.prompt >> box.yesNo;
        shown.append(box);
    }
    return shown;
}
#endif

} // namespace

// Faults that stop a copy even for root, who ignores permission bits: each file arrives whole or
// not at all, nothing temporary stays behind, and the member is told which files are missing.
class CopyFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void swapWithAFolderWhereATextureMustGo() {
        const auto stage = [](const CarFolder& cars) {
            activeClassicSet(cars);
            cars.write(QStringLiteral("b.tex/keep.txt"), "kept");
            cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"),
                         {"a.tex", "b.tex", "c.tex"});
        };
        CarFolder cars;
        stage(cars);
        CarFolder expected;
        stage(expected);
        expected.write(QStringLiteral("a.tex"), expected.read(QStringLiteral("Modern/a.tex")));
        expected.write(QStringLiteral("c.tex"), expected.read(QStringLiteral("Modern/c.tex")));
        RecordingPorts ui;
        FormState st = stateOf(cars);
        showStartupCurrentSet(st, ui.lblCurrent);

        subMove(st, ui.ports, PackRow{fs::Path("Modern"), QStringLiteral("Modern"), {}});

        QCOMPARE(boxes(ui.msgBox.shown),
                 QStringList{QStringLiteral("Oops... | Some files could not be copied:\r\nb.tex\r\n\r\n"
                                            "drivers.txt was not replaced, so the swap is not complete.")});
        QCOMPARE(ui.lblCurrent.text, QStringLiteral("Classic 1998"));
        QCOMPARE(cars.snapshot(), expected.snapshot());
    }

    void swapWithAFolderWhereDriversTxtMustGo() {
        const auto stage = [](const CarFolder& cars) {
            cars.write(QStringLiteral("a.tex"), "old a");
            cars.makeFolder(QStringLiteral("drivers.txt"));
            cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"), {"a.tex"});
        };
        CarFolder cars;
        stage(cars);
        CarFolder expected;
        stage(expected);
        expected.write(QStringLiteral("a.tex"), expected.read(QStringLiteral("Modern/a.tex")));
        RecordingPorts ui;
        FormState st = stateOf(cars);

        subMove(st, ui.ports, PackRow{fs::Path("Modern"), QStringLiteral("Modern"), {}});

        QCOMPARE(boxes(ui.msgBox.shown),
                 QStringList{QStringLiteral("Oops... | Some files could not be copied:\r\ndrivers.txt")});
        QCOMPARE(ui.lblCurrent.writes, 0);
        QCOMPARE(cars.snapshot(), expected.snapshot());
    }

    void backupWithAFolderWhereATextureMustGo() {
        const auto stage = [](const CarFolder& cars) {
            activeClassicSet(cars);
            cars.write(QStringLiteral("b.tex"), "b");
            cars.write(QStringLiteral("original/b.tex/keep.txt"), "kept");
        };
        CarFolder cars;
        stage(cars);
        CarFolder expected;
        stage(expected);
        expected.write(QStringLiteral("original/a.tex"), "old a");
        expected.write(QStringLiteral("original/drivers.txt"), expected.read(QStringLiteral("drivers.txt")));
        RecordingPorts ui;
        ui.msgBox.answers = {true};
        FormState st = stateOf(cars);

        subBack(st, ui.ports);

        QCOMPARE(ui.msgBox.shown.size(), 2);
        QCOMPARE(boxes(ui.msgBox.shown).last(), QStringLiteral("Oops... | Some files could not be copied:\r\nb.tex"));
        QCOMPARE(cars.snapshot(), expected.snapshot());
    }

    void swapOnAFullDisk() {
#ifdef Q_OS_UNIX
        const auto stage = [](const CarFolder& cars) {
            activeClassicSet(cars);
            cars.write(QStringLiteral("big.tex"), "old big");
            cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"), {"a.tex"});
            cars.write(QStringLiteral("Modern/big.tex"), bigTexture());
        };
        CarFolder cars;
        stage(cars);
        CarFolder expected;
        stage(expected);
        expected.write(QStringLiteral("a.tex"), expected.read(QStringLiteral("Modern/a.tex")));
        FormState st = stateOf(cars);

        const auto shown = runOnAFullDisk([&](RecordingPorts& ui) {
            subMove(st, ui.ports, PackRow{fs::Path("Modern"), QStringLiteral("Modern"), {}});
        });

        QVERIFY(shown);
        QCOMPARE(boxes(*shown),
                 QStringList{QStringLiteral("Oops... | Some files could not be copied:\r\nbig.tex\r\n\r\n"
                                            "drivers.txt was not replaced, so the swap is not complete.")});
        QCOMPARE(cars.snapshot(), expected.snapshot());
#else
        QSKIP("needs fork and setrlimit");
#endif
    }

    void backupOnAFullDisk() {
#ifdef Q_OS_UNIX
        const auto stage = [](const CarFolder& cars) {
            activeClassicSet(cars);
            cars.write(QStringLiteral("big.tex"), bigTexture());
            cars.write(QStringLiteral("original/big.tex"), "old big");
        };
        CarFolder cars;
        stage(cars);
        CarFolder expected;
        stage(expected);
        expected.write(QStringLiteral("original/a.tex"), "old a");
        expected.write(QStringLiteral("original/drivers.txt"), expected.read(QStringLiteral("drivers.txt")));
        FormState st = stateOf(cars);

        const auto shown = runOnAFullDisk([&](RecordingPorts& ui) {
            ui.msgBox.answers = {true};
            subBack(st, ui.ports);
        });

        QVERIFY(shown);
        QCOMPARE(shown->size(), 2);
        QCOMPARE(boxes(*shown).last(), QStringLiteral("Oops... | Some files could not be copied:\r\nbig.tex"));
        QCOMPARE(cars.snapshot(), expected.snapshot());
#else
        QSKIP("needs fork and setrlimit");
#endif
    }
};

TARVOK_TEST(CopyFaultsTest)
#include "test_copy_faults.moc"

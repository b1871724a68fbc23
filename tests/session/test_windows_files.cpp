#include "support/CarFolder.h"
#include "support/Recorder.h"

#include <QDir>
#include <QTest>

#include <windows.h>

namespace {

const QString kOops = QStringLiteral("Oops... | Some files could not be copied:\r\n");
const QString kNotComplete = QStringLiteral("\r\n\r\ndrivers.txt was not replaced, so the swap is not complete.");

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// A member's car folder, below `depth` nested folders, with the GT pack; swaps GT in and backs up.
struct Member {
    explicit Member(const QString& depth = {}) : folder(depth.isEmpty() ? game.path() : game.file(depth)) {
        game.write(depth + QStringLiteral("/drivers.txt"), CarFolder::driversTxt("Classic", "1998"));
        game.write(depth + QStringLiteral("/a.tex"), "old a");
        game.addPack(depth + QStringLiteral("/GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"),
                     {"a.tex", "b.tex"});
    }
    QStringList swapAndBackUp(const QString& carFolder) {
        Recorder window;
        Session session(fs::fromQt(carFolder), window.ports(site));
        session.start();
        window.selectedRow = 0;
        session.swapInSelectedPack();
        window.answers = {true};
        session.backUpActiveCars();
        return window.boxes.mid(1) << window.currentSet;
    }

    CarFolder game;
    QString folder;
    CannedSite site;
};

const QString kAsk = QStringLiteral("Wait a Minute! | Warning! This will copy your current cars to the original "
                                    "folder!\r\nAre you sure you want to do this?");

} // namespace

// What is particular to the members' own platform.
class WindowsFilesTest : public QObject {
    Q_OBJECT

private slots:
    void aTextureTheGameHoldsOpenIsNamed() {
        Member member;
        const TreeSnapshot before = member.game.snapshot();
        const HANDLE held = ::CreateFileW(native(member.game.file("a.tex")).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        QCOMPARE(member.swapAndBackUp(member.folder),
                 (QStringList{kOops + "a.tex" + kNotComplete, kAsk, kOops + "a.tex", "Classic 1998"}));
        ::CloseHandle(held);
        QCOMPARE(
            member.game.snapshot().changesSince(before),
            (QStringList{"+ cars/b.tex", "+ cars/original/", "+ cars/original/b.tex", "+ cars/original/drivers.txt"}));
    }

    void aReadOnlyTextureIsNamed() {
        Member member;
        QVERIFY(::SetFileAttributesW(native(member.game.file("a.tex")).c_str(), FILE_ATTRIBUTE_READONLY));
        QCOMPARE(member.swapAndBackUp(member.folder).first(), kOops + "a.tex" + kNotComplete);
        QCOMPARE(member.game.read(QStringLiteral("a.tex")), QByteArray("old a"));
        ::SetFileAttributesW(native(member.game.file("a.tex")).c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    void namesDifferingInCaseAreOneFile() {
        Member member;
        QVERIFY(QFile::rename(member.game.file("drivers.txt"), member.game.file("DRIVERS.TXT")));
        QVERIFY(QFile::rename(member.game.file("GT/drivers.txt"), member.game.file("GT/Drivers.Txt")));
        QCOMPARE(member.swapAndBackUp(member.folder), (QStringList{kAsk, "GT Cars 12/04/2003"}));
        QCOMPARE(QDir(member.folder).entryList({"*.txt"}, QDir::Files).size(), 1);
    }

    void pathsLongerThan260CharactersAndEitherSeparator() {
        const QString deep = QString(60, QLatin1Char('d')) + '/' + QString(60, QLatin1Char('e')) + '/' +
                             QString(60, QLatin1Char('e')) + '/' + QString(60, QLatin1Char('p'));
        Member member(deep);
        QVERIFY(member.folder.size() > 260);
        QCOMPARE(member.swapAndBackUp(QDir::toNativeSeparators(member.folder)),
                 (QStringList{kAsk, "GT Cars 12/04/2003"}));
        QCOMPARE(member.swapAndBackUp(member.folder), (QStringList{kAsk, "GT Cars 12/04/2003"}));
        QCOMPARE(member.game.read(deep + QStringLiteral("/original/b.tex")), member.game.read(deep + "/GT/b.tex"));
    }

    void leagueNamesOfDevicesOrStreamsNameNothing() {
        Member member;
        member.site.files.insert(
            QStringLiteral("tarvver.txt"),
            "5\r\nCON|12/04/2003\r\nnul|12/04/2003\r\nCOM1|12/04/2003\r\nGT:x|12/04/2003\r\nC:|12/04/2003\r\n");
        member.site.files.insert(QStringLiteral("tarvmeet.txt"), "1\r\n2026-12-13|Final|NUL|CON\r\n");
        const TreeSnapshot before = member.game.snapshot();
        Recorder window;
        Session session(fs::fromQt(member.folder), window.ports(member.site));
        session.start();
        session.checkPacks();
        session.checkMeeting();
        QCOMPARE(window.boxes[2],
                 QStringLiteral("Pack Status | CON is not installed\r\nnul is not installed\r\nCOM1 is "
                                "not installed\r\nGT:x is not installed\r\nC: is not installed\r\n"));
        QVERIFY(window.boxes[3].contains(QStringLiteral("NUL is not installed\r\nThe CON track is not installed")));
        QCOMPARE(member.game.snapshot().changesSince(before),
                 (QStringList{"+ cars/tarvmeet.txt", "+ cars/tarvver.txt"}));
    }
};

QTEST_GUILESS_MAIN(WindowsFilesTest)
#include "test_windows_files.moc"

#include "text/DriversTxt.h"

#include <QTest>

namespace {

// A drivers.txt whose first three lines are filler, then the given lines, each ended by CR LF.
QByteArray setFile(const QStringList& from4th) {
    return (QStringList{"1", "2", "3"} + from4th).join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QDateTime day(int year, int month, int date) {
    return QDateTime(QDate(year, month, date), QTime(0, 0), Qt::UTC);
}

} // namespace

class DriversTxtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void everyReadingOfOneFile_data() {
        QTest::addColumn<QByteArray>("bytes");  // null: the file cannot be read
        QTest::addColumn<QStringList>("texts"); // description, start-up text, text after a swap
        QTest::addColumn<QDateTime>("release");
        const QString defaults = QStringLiteral("Unknown Skinpack - 01/01/1900");
        const QString kept = QStringLiteral("(kept)"); // after a swap, the box keeps its text
        const QDateTime zero = text::zeroDate();
        QTest::newRow("unreadable") << QByteArray() << QStringList{defaults, "Error", kept} << zero;
        QTest::newRow("three lines") << setFile({}) << QStringList{defaults, "Error", kept} << zero;
        QTest::newRow("four lines") << setFile({"## GT"}) << QStringList{"GT - 01/01/1900", "GT", kept} << zero;
        QTest::newRow("day first") << setFile({"## GT Cars", "## 01/05/2003"})
                                   << QStringList{"GT Cars - 01/05/2003", "GT Cars 01/05/2003", "GT Cars 01/05/2003"}
                                   << day(2003, 5, 1);
        QTest::newRow("blank lines") << setFile({"   ", ""}) << QStringList{defaults, "", ""} << zero;
        QTest::newRow("tab not blank") << setFile({"\t", "## x"}) << QStringList{" - x", "Error", kept} << zero;
        QTest::newRow("short lines") << setFile({"#", "xy"}) << QStringList{" - ", "Error", kept} << zero;
        QTest::newRow("short line 4") << setFile({"ab", "## 12/04/2003"}) << QStringList{" - 12/04/2003", "Error", kept}
                                      << day(2003, 4, 12);
        QTest::newRow("line 4 only prefix") << setFile({"## ", "## 7"}) << QStringList{" - 7", " 7", " 7"} << zero;
        QTest::newRow("line 5 prefix") << setFile({"## GT", "## "}) << QStringList{"GT - ", "GT", "GT"} << zero;
        QTest::newRow("untrimmed") << setFile({"##  GT ", "## 12/04/2003 "})
                                   << QStringList{" GT  - 12/04/2003 ", " GT  12/04/2003 ", " GT  12/04/2003 "}
                                   << day(2003, 4, 12);
        QTest::newRow("prefix unread") << setFile({"GT Cars", "1.012/04/03"})
                                       << QStringList{"Cars - 12/04/03", "Cars 12/04/03", "Cars 12/04/03"}
                                       << day(2003, 4, 12);
    }

    void everyReadingOfOneFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, texts);
        QFETCH(QDateTime, release);
        const std::optional<text::SetLines> lines =
            bytes.isNull() ? std::nullopt : std::optional(text::setLinesOf(bytes));
        QCOMPARE((QStringList{text::packDescription(lines), text::startupCurrentSetText(lines),
                              text::currentSetText(lines).value_or(QStringLiteral("(kept)"))}),
                 texts);
        QCOMPARE(text::releaseDate(lines), release);
    }
};

QTEST_GUILESS_MAIN(DriversTxtTest)
#include "test_drivers_txt.moc"

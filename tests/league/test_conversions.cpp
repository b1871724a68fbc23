#include "league/Conversions.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void textToDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: not a date

        const QDateTime none;
        // The same text means different days where day and month swap places.
        QTest::newRow("us month first") << "en_US"
                                        << "01/05/2003" << at(2003, 1, 5);
        QTest::newRow("gb day first") << "en_GB"
                                      << "01/05/2003" << at(2003, 5, 1);
        QTest::newRow("de day first") << "de_DE"
                                      << "01.05.2003" << at(2003, 5, 1);
        QTest::newRow("us dashes") << "en_US"
                                   << "4-12-2003" << at(2003, 4, 12);
        QTest::newRow("gb dots") << "en_GB"
                                 << "12.04.2003" << at(2003, 4, 12);
        QTest::newRow("de slashes") << "de_DE"
                                    << "12/04/2003" << at(2003, 4, 12);
        QTest::newRow("iso in us") << "en_US"
                                   << "2003-04-12" << at(2003, 4, 12);
        QTest::newRow("iso in de") << "de_DE"
                                   << "2003-04-12" << at(2003, 4, 12);
        QTest::newRow("year first locale, short year") << "ja_JP"
                                                       << "03/04/12" << at(2003, 4, 12);
        QTest::newRow("hungarian short date") << "hu_HU"
                                              << "2003. 04. 12." << at(2003, 4, 12);

        // Two-digit years pivot at 30, where Qt's own short-format reading would give 19xx.
        QTest::newRow("yy 00") << "en_GB"
                               << "01/01/00" << at(2000, 1, 1);
        QTest::newRow("yy 29") << "de_DE"
                               << "31.12.29" << at(2029, 12, 31);
        QTest::newRow("yy 30") << "en_US"
                               << "1/1/30" << at(1930, 1, 1);
        QTest::newRow("yy 99") << "en_GB"
                               << "12/04/99" << at(1999, 4, 12);
        QTest::newRow("yy 26 de") << "de_DE"
                                  << "06.12.26" << at(2026, 12, 6);

        QTest::newRow("english month name in de") << "de_DE"
                                                  << "12 April 2003" << at(2003, 4, 12);
        QTest::newRow("us written") << "en_US"
                                    << "April 12, 2003" << at(2003, 4, 12);
        QTest::newRow("short name, dashes") << "en_GB"
                                            << "12-Apr-03" << at(2003, 4, 12);
        QTest::newRow("name in lower case") << "en_US"
                                            << "12 december 2003" << at(2003, 12, 12);
        QTest::newRow("german full name") << "de_DE"
                                          << "12. März 2003" << at(2003, 3, 12);
        QTest::newRow("german short name") << "de_DE"
                                           << "1. Mär. 2003" << at(2003, 3, 1);
        QTest::newRow("german name not known in us") << "en_US"
                                                     << "12. März 2003" << none;

        QTest::newRow("blanks around") << "en_GB"
                                       << "  12/04/2003 \t" << at(2003, 4, 12);
        QTest::newRow("time of day") << "en_GB"
                                     << "12/04/2003 19:30" << at(2003, 4, 12, 19, 30);
        QTest::newRow("time with seconds") << "de_DE"
                                           << "12.04.2003 07:05:09" << at(2003, 4, 12, 7, 5, 9);
        QTest::newRow("pm") << "en_US"
                            << "4/12/2003 7:30 PM" << at(2003, 4, 12, 19, 30);
        QTest::newRow("12 am is midnight") << "en_US"
                                           << "4/12/2003 12:00 am" << at(2003, 4, 12);
        QTest::newRow("12 pm is noon") << "en_GB"
                                       << "12/04/2003 12:15pm" << at(2003, 4, 12, 12, 15);
        QTest::newRow("time after a name") << "en_GB"
                                           << "12 April 2003 08:00" << at(2003, 4, 12, 8);

        QTest::newRow("31 february") << "en_GB"
                                     << "31/02/2003" << none;
        QTest::newRow("29 february 2003") << "en_US"
                                          << "2/29/2003" << none;
        QTest::newRow("29 february 2004") << "en_US"
                                          << "2/29/2004" << at(2004, 2, 29);
        QTest::newRow("month 13") << "en_GB"
                                  << "01/13/2003" << none;
        QTest::newRow("mixed separators") << "en_GB"
                                          << "12/04-2003" << none;
        QTest::newRow("three-digit year") << "en_GB"
                                          << "12/04/203" << none;
        QTest::newRow("no year") << "en_GB"
                                 << "12/04" << none;
        QTest::newRow("empty") << "en_GB"
                               << "" << none;
        QTest::newRow("blanks only") << "en_GB"
                                     << "   " << none;
        QTest::newRow("extra separator and text") << "en_GB"
                                                  << "01/05/2003|extra" << none;
        QTest::newRow("html") << "en_US"
                              << "<html><body>500</body></html>" << none;
        QTest::newRow("time only") << "en_GB"
                                   << "19:30" << none;
        QTest::newRow("hour 24") << "en_GB"
                                 << "12/04/2003 24:00" << none;
        QTest::newRow("13 pm") << "en_US"
                               << "4/12/2003 13:00 PM" << none;
        QTest::newRow("unknown marker") << "en_US"
                                        << "4/12/2003 1:00 XM" << none;
        QTest::newRow("two month names") << "en_GB"
                                         << "April May 2003" << none;
        QTest::newRow("trailing dot with slashes") << "en_GB"
                                                   << "12/04/2003." << none;
    }

    void textToDate() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const DateValue date = toDate(text, QLocale(locale));
        if (!expected.isValid()) {
            QVERIFY2(!date, qPrintable(date ? date->toString(Qt::ISODate) : QString()));
            return;
        }
        QVERIFY(date);
        QCOMPARE(*date, expected);
        QCOMPARE(date->timeSpec(), Qt::UTC);
    }

    void timeOfDayTakesPartInComparisons() {
        const QLocale gb(QStringLiteral("en_GB"));
        QVERIFY(*toDate(QStringLiteral("12/04/2003"), gb) < *toDate(QStringLiteral("12/04/2003 00:01"), gb));
        QVERIFY(*toDate(QStringLiteral("12/04/2003"), gb) == *toDate(QStringLiteral("12 Apr 2003"), gb));
        QVERIFY(zeroDate() < *toDate(QStringLiteral("01/01/30"), gb));
    }

    void textToWholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("plain") << "3" << true << qint64(3);
        QTest::newRow("fraction dropped") << "3.9" << true << qint64(3);
        QTest::newRow("negative fraction toward zero") << "-2.5" << true << qint64(-2);
        QTest::newRow("plus sign") << "+7" << true << qint64(7);
        QTest::newRow("blanks") << "  25 \t" << true << qint64(25);
        QTest::newRow("zero") << "0" << true << qint64(0);
        QTest::newRow("fraction only") << ".5" << true << qint64(0);
        QTest::newRow("trailing dot") << "4." << true << qint64(4);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("word") << "three" << false << qint64(0);
        QTest::newRow("number then text") << "3 packs" << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("dot only") << "." << false << qint64(0);
        QTest::newRow("pack line") << "PackA|12/04/2003" << false << qint64(0);
        QTest::newRow("too large") << "99999999999999999999999" << false << qint64(0);
    }

    void textToWholeNumber() {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(qint64, expected);
        const std::optional<qint64> number = toWholeNumber(text);
        QCOMPARE(number.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*number, expected);
    }
};

TARVOK_TEST(ConversionsTest)
#include "test_conversions.moc"

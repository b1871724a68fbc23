#include "text/Conversions.h"

#include <QTest>

namespace {

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

// A row named by its locale and text; an invalid expected date means "not a date".
void dateRow(const QLocale& locale, const char* text, const QDateTime& expected = {}) {
    QTest::addRow("%s %s", qPrintable(locale.name()), text) << locale << QString::fromUtf8(text) << expected;
}

} // namespace

class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void textToDate_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        dateRow(gb, "01/05/2003", at(2003, 5, 1));
        dateRow(us, "01/05/2003", at(2003, 1, 5));
        dateRow(us, "13/04/2003");
        dateRow(gb, "12.04.2003", at(2003, 4, 12));
        dateRow(us, "4-12-2003", at(2003, 4, 12));
        dateRow(gb, "2003-04-12", at(2003, 4, 12));
        dateRow(us, "2003-04-12", at(2003, 4, 12));
        // Two-digit years pivot at 30, where Qt's own short-format reading gives 19xx.
        dateRow(gb, "12/04/03", at(2003, 4, 12));
        dateRow(gb, "01/01/00", at(2000, 1, 1));
        dateRow(us, "12/31/29", at(2029, 12, 31));
        dateRow(us, "1/1/30", at(1930, 1, 1));
        dateRow(gb, "12 April 2003", at(2003, 4, 12));
        dateRow(us, "April 12, 2003", at(2003, 4, 12));
        dateRow(gb, "12-Apr-29", at(2029, 4, 12));
        dateRow(us, "12 december 2003", at(2003, 12, 12));
        dateRow(de, "12 March 2003", at(2003, 3, 12));
        dateRow(de, "12. März 2003", at(2003, 3, 12));
        dateRow(us, "12. März 2003");
        dateRow(gb, "  12/04/2003 \t", at(2003, 4, 12));
        dateRow(gb, "12/04/2003 19:30", at(2003, 4, 12, 19, 30));
        dateRow(gb, "12/04/2003 07:05:09", at(2003, 4, 12, 7, 5, 9));
        dateRow(us, "4/12/2003 7:30 PM", at(2003, 4, 12, 19, 30));
        dateRow(us, "4/12/2003 12:00 am", at(2003, 4, 12));
        dateRow(gb, "12/04/2003 12:15pm", at(2003, 4, 12, 12, 15));
        dateRow(us, "4/12/2003 13:00 PM");
        dateRow(gb, "12/04/2003 24:00");
        dateRow(gb, "31/02/2003");
        dateRow(us, "2/29/2003");
        dateRow(gb, "13/13/2003");
        dateRow(gb, "12/04-2003");
        dateRow(gb, "01/05/2003|extra");
        dateRow(gb, "TBA");
        dateRow(us, "");
        dateRow(gb, "<html><body>404</body></html>");
    }

    void textToDate() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(text::toDate(text, locale).value_or(QDateTime()), expected);
    }

    void textToWholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected"); // -999: not a number
        for (const auto& [text, number] :
             std::initializer_list<std::pair<const char*, qint64>>{{"3", 3},
                                                                   {"3.9", 3},
                                                                   {" 3 ", 3},
                                                                   {"-2", -2},
                                                                   {"-2.5", -2},
                                                                   {".5", 0},
                                                                   {"x", -999},
                                                                   {"", -999},
                                                                   {"1e5", -999},
                                                                   {"3 packs", -999},
                                                                   {"99999999999999999999999", -999}})
            QTest::addRow("\"%s\"", text) << QString::fromUtf8(text) << number;
    }

    void textToWholeNumber() {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        QCOMPARE(text::toWholeNumber(text).value_or(-999), expected);
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "test_conversions.moc"

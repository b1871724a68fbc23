#include "text/Conversions.h"
#include "text/DriversTxt.h"
#include "text/Website.h"

#include <QtTest>

namespace {
QDateTime at(int year, int month, int day, int hour = 0, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

Q_LOGGING_CATEGORY(kLog, "tarvok.text")

// A row named by its locale and text; an invalid expected date means "not a date".
void dateRow(const QLocale& locale, const char* text, const QDateTime& expected = {}) {
    QTest::addRow("%s %s", qPrintable(locale.name()), text) << locale << QString::fromUtf8(text) << expected;
}

// A drivers.txt whose first three lines are filler, then the given lines, each ended by CR LF.
QByteArray setFile(const QStringList& from4th) {
    return (QStringList{"1", "2", "3"} + from4th).join("\r\n").toUtf8() + "\r\n";
}

} // namespace

class TextReadersTest : public QObject {
    Q_OBJECT

private slots:

    void textToDate_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        // Each text's date where the settings put the day first, in the US, and where they put the year first.
        const QDateTime apr12 = at(2003, 4, 12), dec4 = at(2003, 12, 4), dec15 = at(2026, 12, 15), none;
        // clang-format off
        for (const auto& [text, dayFirst, us, yearFirst] :
             std::initializer_list<std::tuple<const char*, QDateTime, QDateTime, QDateTime>>{
                 {"12/04/2003", apr12, dec4, dec4}, {"15/12/2026", dec15, dec15, dec15},
                 {"04/15/2026", at(2026, 4, 15), at(2026, 4, 15), at(2026, 4, 15)}, {"2026-12-15", dec15, dec15, dec15},
                 {"15.12.2026", dec15, dec15, dec15}, {"12-04-03", apr12, dec4, at(2012, 4, 3)},
                 {"31/02/2026", none, none, none}, {"not a date", none, none, none}}) {
            // clang-format on
            for (const char* name : {"en_GB", "de_DE", "fr_FR"})
                dateRow(QLocale(name), text, dayFirst);
            dateRow(QLocale("en_US"), text, us);
            for (const char* name : {"sv_SE", "hu_HU", "ja_JP", "zh_CN", "ko_KR"})
                dateRow(QLocale(name), text, yearFirst);
        }
        const QLocale gb("en_GB"), us("en_US"), de("de_DE"), nl("nl_NL"), ja("ja_JP");
        dateRow(gb, "2003. 04. 12.", at(2003, 4, 12));
        dateRow(gb, "12/04/2003.");
        dateRow(gb, "012/04/2003"); // only the year may have more than two digits
        dateRow(gb, "2003/04/2003");
        dateRow(us, "13/12/03", at(2003, 12, 13));
        dateRow(ja, "03/13/12", at(2003, 12, 13));
        // Two-digit years pivot at 30, where Qt's own short-format reading gives 19xx.
        dateRow(us, "12/31/29", at(2029, 12, 31));
        dateRow(us, "1/1/30", at(1930, 1, 1));
        dateRow(us, "December 12, 2003", at(2003, 12, 12));
        dateRow(de, "12. März 2003", at(2003, 3, 12));
        dateRow(gb, "12/04/2003 19:30", at(2003, 4, 12, 19, 30));
        dateRow(us, "4/12/2003 7:30 PM", at(2003, 4, 12, 19, 30));
        dateRow(us, "4/12/2003 13:00 PM");
        dateRow(us, "4/12/2003 7:30 XY");
        dateRow(us, "4/12/2003 1:05 AM", at(2003, 4, 12, 1, 5));
        dateRow(nl, "12-4-2003 7:30 p.m.", at(2003, 4, 12, 19, 30));
        dateRow(nl, "12-4-2003 7:30 PM", at(2003, 4, 12, 19, 30)); // the league writes English
        dateRow(gb, "12/04/2003 12:15pm", at(2003, 4, 12, 12, 15));
        dateRow(gb, "12 Aprm 2003");
    }

    void textToDate() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        // The log names each text that is not a date, and no other.
        QTest::failOnWarning(QRegularExpression("."));
        if (!expected.isValid())
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable("tarvver.txt line 7: \"" + text +
                                            "\" is not a date in the regional settings " + locale.name()));
        QCOMPARE(text::readDate(text, {kLog(), "tarvver.txt"}, 7, locale).value_or(QDateTime()), expected);
    }

    void textToWholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected"); // -999: not a number
        // clang-format off
        for (const auto& [text, number] : std::initializer_list<std::pair<const char*, qint64>>{
                 {"3", 3}, {"3.9", 3}, {" 3 ", 3}, {"-2.5", -2}, {".5", 0}, {"x", -999}, {"", -999}, {"1e5", -999},
                 {"3 packs", -999}, {"99999999999999999999999", -999}})
            // clang-format on
            QTest::addRow("\"%s\"", text) << QString::fromUtf8(text) << number;
    }

    void textToWholeNumber() {
        QFETCH(QString, text);
        QTEST(text::toWholeNumber(text).value_or(-999), "expected");
    }

    void everyReadingOfOneFile_data() {
        QTest::addColumn<QByteArray>("bytes");  // null: the file cannot be read
        QTest::addColumn<QStringList>("texts"); // description, start-up text, text after a swap or "(kept)"
        QTest::addColumn<QDateTime>("release");
        const QString defaults = "Unknown Skinpack - 01/01/1900";
        const QDateTime zero = at(1899, 12, 30); // where an unreadable date stands: before every real one
        QTest::newRow("unreadable") << QByteArray() << QStringList{defaults, "Error", "(kept)"} << zero;
        QTest::newRow("three lines") << setFile({}) << QStringList{defaults, "Error", "(kept)"} << zero;
        QTest::newRow("four lines") << setFile({"## GT"}) << QStringList{"GT - 01/01/1900", "GT", "(kept)"} << zero;
        QTest::newRow("blank lines") << setFile({"   ", ""}) << QStringList{defaults, "", ""} << zero;
        QTest::newRow("tab not blank") << setFile({"\t", "## x"}) << QStringList{" - x", "Error", "(kept)"} << zero;
        QTest::newRow("short lines") << setFile({"#", "xy"}) << QStringList{" - ", "Error", "(kept)"} << zero;
        QTest::newRow("line 4 only prefix") << setFile({"## ", "## 7"}) << QStringList{" - 7", " 7", " 7"} << zero;
        QTest::newRow("line 5 prefix") << setFile({"## GT", "## "}) << QStringList{"GT - ", "GT", "GT"} << zero;
        QTest::newRow("untrimmed") << setFile({"##  GT ", "## 12/04/2003 "})
                                   << QStringList{" GT  - 12/04/2003 ", " GT  12/04/2003 ", " GT  12/04/2003 "}
                                   << at(2003, 4, 12);
        QTest::newRow("line feeds, a lone return, a byte order mark")
            << QByteArray("\xEF\xBB\xBFx\n2\r3\r\n## GT\n## 12/04/2003")
            << QStringList{"GT - 12/04/2003", "GT 12/04/2003", "GT 12/04/2003"} << at(2003, 4, 12);
        QTest::newRow("Windows-1252 and a long first line")
            << QByteArray(100000, 'x') + "\r\n2\r\n3\r\n## Citro\xEBn\xA0\x80\r\n## 1"
            << QStringList{"Citroën\u00A0€ - 1", "Citroën\u00A0€ 1", "Citroën\u00A0€ 1"} << zero;
        QTest::newRow("a blank line between line feeds")
            << QByteArray("1\n\n3\n## GT\n## 1") << QStringList{"GT - 1", "GT 1", "GT 1"} << zero;
        QTest::newRow("prefix unread") << setFile({"GT Cars", "1.012/04/03"})
                                       << QStringList{"Cars - 12/04/03", "Cars 12/04/03", "Cars 12/04/03"}
                                       << at(2003, 4, 12);
    }

    void everyReadingOfOneFile() {
        QFETCH(QByteArray, bytes);
        const auto lines = bytes.isNull() ? std::nullopt : std::optional(text::setLinesOf(bytes));
        QTEST(QStringList({text::packDescription(lines), text::startupCurrentSetText(lines),
                           text::currentSetText(lines).value_or("(kept)")}),
              "texts");
        QTEST(text::releaseDate(lines, {kLog(), "drivers.txt"}), "release");
    }

    void websiteOfTheConfiguration_data() {
        QTest::addColumn<QByteArray>("config"); // null: no ZERN.cfg
        QTest::addColumn<QString>("website");   // the address, "|", what the box tells
        const QString fallback = "http://www.tarvok.example/";
        QTest::newRow("no file") << QByteArray()
                                 << fallback +
                                        "|Could not load CFG file, using default \r\nwebsite location : " + fallback;
        QTest::newRow("only the first line, blanks kept")
            << QByteArray("\xEF\xBB\xBF http://league.example/ \r\nhttp://other.example/\r\n")
            << " http://league.example/ |Website is -  http://league.example/ ";
        QTest::newRow("an empty first line") << QByteArray("\nhttp://league.example/") << "|Website is - ";
        QTest::newRow("an empty file") << QByteArray("") << fallback + "|Website is - " + fallback;
        QTest::newRow("Windows-1252") << QByteArray("\xE9.example/") << "é.example/|Website is - é.example/";
    }

    void websiteOfTheConfiguration() {
        QFETCH(QByteArray, config);
        const text::Website website = text::websiteOf(config.isNull() ? std::nullopt : std::optional(config));
        QTEST(website.address + '|' + website.message, "website");
    }
};

QTEST_GUILESS_MAIN(TextReadersTest)
#include "test_readers.moc"

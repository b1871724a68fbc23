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
void dateRow(const QLocale& locale, const char* text, const QDateTime& expected) {
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
        const QDateTime apr12 = at(2003, 4, 12), dec4 = at(2003, 12, 4), dec15 = at(2026, 12, 15), none;
        const QDateTime apr15 = at(2026, 4, 15), evening = at(2003, 4, 12, 19, 30);
        // Each text's date where the settings put the day first (the first three), in the US, and where they put
        // the year first (the last five).
        const std::array locales{"en_GB", "de_DE", "fr_FR", "en_US", "sv_SE", "hu_HU", "ja_JP", "zh_CN", "ko_KR"};
        // clang-format off
        for (const auto& [text, dates] : std::initializer_list<std::pair<const char*, std::array<QDateTime, 3>>>{
                 {"12/04/2003", {apr12, dec4, dec4}}, {"15/12/2026", {dec15, dec15, dec15}}, {"31/02/2026", {}},
                 {"04/15/2026", {apr15, apr15, apr15}}, {"2026-12-15", {dec15, dec15, dec15}}, {"not a date", {}},
                 {"15.12.2026", {dec15, dec15, dec15}}, {"12-04-03", {apr12, dec4, at(2012, 4, 3)}}})
            // clang-format on
            for (std::size_t i = 0; i < locales.size(); ++i)
                dateRow(QLocale(locales[i]), text, dates[i < 3 ? 0 : i == 3 ? 1 : 2]);
        const QLocale gb("en_GB"), us("en_US"), de("de_DE"), nl("nl_NL"), ja("ja_JP");
        // clang-format off
        for (const auto& [locale, text, expected] : std::initializer_list<std::tuple<QLocale, const char*, QDateTime>>{
                 {gb, "2003. 04. 12.", apr12}, {gb, "12/04/2003.", none}, {gb, "2003/04/2003", none},
                 {us, "December 12, 2003", at(2003, 12, 12)}, {de, "12. März 2003", at(2003, 3, 12)},
                 {gb, "12 Aprm 2003", none}, {gb, "Mid April 2003", none},
                 // Only the year may have more than two digits; either order of day and month, for any year.
                 {gb, "012/04/2003", none}, {us, "13/12/03", at(2003, 12, 13)}, {ja, "03/13/12", at(2003, 12, 13)},
                 // Two-digit years pivot at 30, where Qt's own short-format reading gives 19xx.
                 {us, "12/31/29", at(2029, 12, 31)}, {us, "1/1/30", at(1930, 1, 1)},
                 // Times of day; the league writes English.
                 {gb, "12/04/2003 19:30", evening}, {us, "4/12/2003 7:30 PM", evening},
                 {us, "4/12/2003 13:00 PM", none}, {us, "4/12/2003 7:30 XY", none},
                 {us, "4/12/2003 1:05 AM", at(2003, 4, 12, 1, 5)}, {gb, "12/04/2003 12:15pm", at(2003, 4, 12, 12, 15)},
                 {nl, "12-4-2003 7:30 p.m.", evening}, {nl, "12-4-2003 7:30 PM", evening}})
            // clang-format on
            dateRow(locale, text, expected);
    }

    void textToDate() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        // The log names each text that is not a date, and no other.
        QTest::failOnWarning(QRegularExpression("."));
        const QString logged = "tarvver.txt line 7: \"" + text + "\" is not a date in the regional settings ";
        if (!expected.isValid())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(logged + locale.name()));
        QCOMPARE(text::readDate(text, {kLog(), "tarvver.txt"}, 7, locale).value_or(QDateTime()), expected);
    }

    // A member's own short date format may quote words, whose letters are no fields.
    void quotedWordsInTheDateFormatAreNoFields() {
        using enum text::DateField;
        QCOMPARE(text::dateFieldOrder("'day' M/d/y"), (text::DateFieldOrder{Month, Day, Year}));
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
        const QDateTime zero = at(1899, 12, 30), apr12 = at(2003, 4, 12); // zero: before every real date
        QTest::newRow("unreadable") << QByteArray() << QStringList{defaults, "Error", "(kept)"} << zero;
        QTest::newRow("three lines") << setFile({}) << QStringList{defaults, "Error", "(kept)"} << zero;
        QTest::newRow("four lines") << setFile({"## GT"}) << QStringList{"GT - 01/01/1900", "GT", "(kept)"} << zero;
        QTest::newRow("blank lines") << setFile({"   ", ""}) << QStringList{defaults, "", ""} << zero;
        QTest::newRow("tab not blank") << setFile({"\t", "## x"}) << QStringList{" - x", "Error", "(kept)"} << zero;
        QTest::newRow("line 4 only prefix") << setFile({"## ", "## 7"}) << QStringList{" - 7", " 7", " 7"} << zero;
        QTest::newRow("line 5 prefix") << setFile({"## GT", "## "}) << QStringList{"GT - ", "GT", "GT"} << zero;
        QTest::newRow("untrimmed") << setFile({"##  GT ", "## 12/04/2003 "})
                                   << QStringList{" GT  - 12/04/2003 ", " GT  12/04/2003 ", " GT  12/04/2003 "}
                                   << apr12;
        QTest::newRow("line feeds, a lone return, a byte order mark")
            << QByteArray("\xEF\xBB\xBFx\n2\r3\r\n## GT\n## 12/04/2003")
            << QStringList{"GT - 12/04/2003", "GT 12/04/2003", "GT 12/04/2003"} << apr12;
        QTest::newRow("Windows-1252 and a long first line")
            << QByteArray(100000, 'x') + "\r\n2\r\n3\r\n## Citro\xEBn\xA0\x80\r\n## 1"
            << QStringList{"Citroën\u00A0€ - 1", "Citroën\u00A0€ 1", "Citroën\u00A0€ 1"} << zero;
        QTest::newRow("prefix unread") << setFile({"GT Cars", "1.012/04/03"})
                                       << QStringList{"Cars - 12/04/03", "Cars 12/04/03", "Cars 12/04/03"} << apr12;
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
        const QString unloaded = "|Could not load CFG file, using default \r\nwebsite location : ";
        QTest::newRow("no file") << QByteArray() << fallback + unloaded + fallback;
        QTest::newRow("only the first line, blanks kept")
            << QByteArray("\xEF\xBB\xBF http://league.example/ \r\nhttp://other.example/\r\n")
            << " http://league.example/ |Website is -  http://league.example/ ";
        QTest::newRow("an empty first line") << QByteArray("\nhttp://league.example/") << "|Website is - ";
        QTest::newRow("an empty file") << QByteArray("") << fallback + "|Website is - " + fallback;
    }

    void websiteOfTheConfiguration() {
        QFETCH(QByteArray, config);
        const text::Website website = text::websiteOf(config.isNull() ? std::nullopt : std::optional(config));
        QTEST(website.address + '|' + website.message, "website");
    }
};

QTEST_GUILESS_MAIN(TextReadersTest)
#include "test_readers.moc"

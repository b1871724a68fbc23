#include "league/Conversions.h"
#include "league/PackVersionList.h"
#include "support/CarFolder.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

const QByteArray kTwoPacks = "2\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n";
const QString kKeptText = QStringLiteral("kept");
const QDateTime kKeptDate(QDate(1999, 1, 1), QTime(0, 0), Qt::UTC);

// A list of entries Pack01 to PackNN, each dated 01/01/20NN.
QByteArray numberedList(int count) {
    QByteArray list = QByteArray::number(count) + "\r\n";
    for (int n = 1; n <= count; ++n)
        list += QStringLiteral("Pack%1|01/01/20%1\r\n").arg(n, 2, 10, QLatin1Char('0')).toUtf8();
    return list;
}

} // namespace

class PackVersionListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!toDate(QStringLiteral("12/04/2003")))
            QSKIP("The league's examples are written for locales with the year last");
    }

    void entriesAreCutAtTheFirstSeparator_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dateText");
        QTest::newRow("plain") << "PackA|12/04/2003"
                               << "PackA"
                               << "12/04/2003";
        QTest::newRow("blanks stay") << " PackA | 12/04/2003 "
                                     << " PackA "
                                     << " 12/04/2003 ";
        QTest::newRow("second separator stays in the date") << "PackB|01/05/2003|x"
                                                            << "PackB"
                                                            << "01/05/2003|x";
        QTest::newRow("no separator") << "PackA 12/04/2003"
                                      << ""
                                      << "PackA 12/04/2003";
        QTest::newRow("empty name") << "|12/04/2003"
                                    << ""
                                    << "12/04/2003";
        QTest::newRow("empty line") << ""
                                    << ""
                                    << "";
    }

    void entriesAreCutAtTheFirstSeparator() {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(QString, dateText);
        const PackEntry entry = packEntryOf(line);
        QCOMPARE(entry.name, name);
        QCOMPARE(entry.dateText, dateText);
    }

    void lookUpTheMeetingPack_data() {
        QTest::addColumn<QByteArray>("list"); // a null array: no tarvver.txt at all
        QTest::addColumn<QString>("meetPack");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("packDate");        // strPackDate afterwards
        QTest::addColumn<QDateTime>("packDateValue"); // datPackDate afterwards; invalid: no date

        const auto date = [](const char* text) { return toDate(QString::fromLatin1(text)).value_or(QDateTime()); };
        const QDateTime noDate;
        QTest::newRow("other letter case") << kTwoPacks << "packb" << 0 << "01/05/2003" << date("01/05/2003");
        QTest::newRow("first entry") << kTwoPacks << "PackA" << 0 << "12/04/2003" << date("12/04/2003");
        QTest::newRow("not listed: last entry kept") << kTwoPacks << "PackC" << 1 << "01/05/2003" << date("01/05/2003");
        QTest::newRow("after the count") << QByteArray("1\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n") << "PackB" << 1
                                         << "12/04/2003" << date("12/04/2003");
        QTest::newRow("count 0 still finds") << QByteArray("0\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n") << "PackB"
                                             << 0 << "01/05/2003" << date("01/05/2003");
        QTest::newRow("count not a number still finds") << QByteArray("two\r\nPackA|12/04/2003\r\nPackB|01/05/2003")
                                                        << "PackB" << 0 << "01/05/2003" << date("01/05/2003");
        QTest::newRow("count 0, not listed: end of file") << QByteArray("0\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n")
                                                          << "PackC" << 1 << "01/05/2003" << date("01/05/2003");
        QTest::newRow("count with fraction and blanks") << QByteArray(" 1.9 \r\nPackA|12/04/2003\r\nPackB|01/05/2003")
                                                        << "PackB" << 1 << "12/04/2003" << date("12/04/2003");
        QTest::newRow("count beyond the list") << QByteArray("5\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n") << "PackC"
                                               << 1 << "01/05/2003" << date("01/05/2003");
        QTest::newRow("blank before the separator") << QByteArray("2\r\nPackA |12/04/2003\r\nPackB|01/05/2003\r\n")
                                                    << "PackA" << 1 << "01/05/2003" << date("01/05/2003");
        // The match's own date is no date: nothing is carried over from another entry.
        QTest::newRow("extra separator") << QByteArray("2\r\nPackA|12/04/2003\r\nPackB|01/05/2003|extra\r\n") << "PackB"
                                         << 1 << "01/05/2003|extra" << noDate;
        QTest::newRow("empty published date")
            << QByteArray("2\r\nPackA|12/04/2003\r\nPackB|\r\n") << "PackB" << 1 << "" << noDate;
        QTest::newRow("no separator never matches")
            << QByteArray("1\r\nPackA\r\n") << "PackA" << 1 << "PackA" << noDate;
        QTest::newRow("duplicate: first entry wins") << QByteArray("2\r\nPackA|12/04/2003\r\nPACKA|12/04/2004\r\n")
                                                     << "PackA" << 0 << "12/04/2003" << date("12/04/2003");
        QTest::newRow("25 entries, the last found")
            << numberedList(25) << "Pack25" << 0 << "01/01/2025" << date("01/01/2025");
        QTest::newRow("empty list: fields kept") << QByteArray("") << "PackA" << 1 << kKeptText << kKeptDate;
        QTest::newRow("count only") << QByteArray("3\r\n") << "PackA" << 1 << kKeptText << kKeptDate;
        QTest::newRow("missing list: fields kept") << QByteArray() << "PackA" << 1 << kKeptText << kKeptDate;
        QTest::newRow("html error page") << QByteArray("<html>\r\n<body>Not Found</body>\r\n</html>\r\n") << "PackA"
                                         << 1 << "</html>" << noDate;
    }

    void lookUpTheMeetingPack() {
        QFETCH(QByteArray, list);
        QFETCH(QString, meetPack);
        QFETCH(int, problem);
        QFETCH(QString, packDate);
        QFETCH(QDateTime, packDateValue);
        CarFolder cars;
        if (!list.isNull())
            cars.write(kPackVersionList, list);
        FormState st;
        st.appPath = fs::fromQt(cars.path());
        st.strMeetPack = meetPack;
        st.strPackDate = kKeptText;
        st.datPackDate = kKeptDate;

        const DateValue published = subGetPackDate(st, list.isNull() ? std::nullopt : std::optional(list));

        QCOMPARE(st.intProblem, problem);
        QCOMPARE(st.strPackDate, packDate);
        QCOMPARE(published.has_value(), packDateValue.isValid());
        if (packDateValue.isValid())
            QCOMPARE(*published, packDateValue);
    }

    void theProblemFlagIsNeverCleared() {
        CarFolder cars;
        cars.write(kPackVersionList, kTwoPacks);
        FormState st;
        st.appPath = fs::fromQt(cars.path());
        st.strMeetPack = QStringLiteral("PackA");
        st.intProblem = 1;
        subGetPackDate(st, kTwoPacks);
        QCOMPARE(st.intProblem, 1);
        QCOMPARE(st.strPackDate, QStringLiteral("12/04/2003"));
    }
};

TARVOK_TEST(PackVersionListTest)
#include "test_pack_version_list.moc"

#include "text/Lines.h"

#include <QTest>

class LinesTest : public QObject {
    Q_OBJECT

private slots:
    void linesWithoutTheirEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QByteArray() << -1 << QStringList{};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << -1 << QStringList{"a", "b"};
        QTest::newRow("lf, last line unended") << QByteArray("a\nb") << -1 << QStringList{"a", "b"};
        QTest::newRow("lone cr") << QByteArray("a\rb\r") << -1 << QStringList{"a", "b"};
        QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << -1 << QStringList{"a", "", "b"};
        QTest::newRow("blank lines kept") << QByteArray("\r\n\r\nx") << -1 << QStringList{"", "", "x"};
        QTest::newRow("only the lines asked for") << QByteArray("1\n2\n3\n4") << 2 << QStringList{"1", "2"};
        QTest::newRow("byte order mark dropped") << QByteArray("\xEF\xBB\xBF"
                                                               "2\r\n\xEF\xBB\xBF")
                                                 << -1 << QStringList{"2", ""};
        QTest::newRow("utf-8") << QByteArray("Citro\xC3\xABn\n") << -1 << QStringList{QStringLiteral("Citroën")};
        QTest::newRow("windows-1252, line by line")
            << QByteArray("Citro\xEBn \x80\n\xC3\xAB") << -1 << QStringList{QStringLiteral("Citroën €"), "ë"};
    }

    void linesWithoutTheirEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maxLines);
        QFETCH(QStringList, lines);
        QCOMPARE(text::linesOf(bytes, maxLines), lines);
    }

    void aHugeLineIsCutAndTheNextLineStillRead() {
        const QStringList lines = text::linesOf(QByteArray(3 * text::kMaxLineBytes, 'x') + "\r\nnext");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].size(), text::kMaxLineBytes);
        QCOMPARE(lines[1], QStringLiteral("next"));
    }
};

QTEST_GUILESS_MAIN(LinesTest)
#include "test_lines.moc"

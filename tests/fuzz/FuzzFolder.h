#pragma once

#include "app/Ports.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// One car folder reused by every run of a fuzz target: the input is written into it as a file.
class FuzzFolder {
public:
    FuzzFolder();
    QString path() const { return root_.path() + QStringLiteral("/cars"); }
    void write(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir root_;
};

// A league web site that answers every request with the same bytes.
class CannedSite : public HttpFetch {
public:
    void cancel() override {}
    std::optional<QByteArray> fetch(const QString&) override { return body; }
    QByteArray body;
};

// Boxes and list the procedures write to, answered without a window.
class SilentWindow : public MessageBox, public PackList, public CurrentSetBox, public Clock {
public:
    void msgBox(const QString& prompt, const QString&) override { shownChars += prompt.size(); }
    bool askYesNo(const QString&, const QString&) override { return true; }
    int listIndex() const override { return 0; }
    void addItem(const QString& entry) override { shownChars += entry.size(); }
    void setText(const QString& text) override { shownChars += text.size(); }
    QDate today() const override { return QDate(2026, 12, 6); }

    qsizetype shownChars = 0;
};

// The core needs an application object for its event loops and locale.
void ensureApplication();

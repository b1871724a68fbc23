#pragma once

#include "app/Ports.h"

#include <QDate>
#include <QList>
#include <QStringList>

// A message box as the procedures showed it.
struct ShownBox {
    QString title;
    QString prompt;
    bool yesNo = false;
};

// Records every box instead of showing it; Yes/No boxes take their answers from a queue.
class RecordingMessageBox : public MessageBox {
public:
    void msgBox(const QString& prompt, const QString& title) override;
    bool askYesNo(const QString& prompt, const QString& title) override;

    QList<ShownBox> shown;
    QList<bool> answers; // consumed front first; No when empty
};

class RecordingPackList : public PackList {
public:
    int listIndex() const override { return selected; }
    void addItem(const QString& entry) override { entries.append(entry); }

    QStringList entries;
    int selected = -1;
};

class RecordingCurrentSetBox : public CurrentSetBox {
public:
    void setText(const QString& value) override;

    QString text;
    int writes = 0;
};

// A network that is never there.
class NoNetwork : public HttpFetch {
public:
    void cancel() override {}
    std::optional<QByteArray> fetch(const QString& url) override;

    QStringList requested;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDate day) : day_(day) {}
    QDate today() const override { return day_; }

private:
    QDate day_;
};

// All recording ports in one place, bundled for the procedures.
struct RecordingPorts {
    explicit RecordingPorts(HttpFetch* network = nullptr, QDate today = QDate(2026, 12, 6));

    RecordingMessageBox msgBox;
    RecordingPackList lstPacks;
    RecordingCurrentSetBox lblCurrent;
    NoNetwork noNetwork;
    FixedClock clock;
    Ports ports;
};

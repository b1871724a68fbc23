#pragma once

#include "league/HttpFetch.h"
#include "session/Session.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <utility>

// A league web site held in memory: the body served for each file name, nothing for the others.
class CannedSite : public league::HttpFetch {
public:
    std::optional<QByteArray> fetch(const QString& url) override;
    void cancel() override {}

    QHash<QString, QByteArray> files; // by the address's last part, "tarvver.txt"
};

// Stands in for the window: records every box as "title | prompt", with its line ends as written, an offer as
// "(offer) title | prompt", answers Yes/No boxes from a queue (No when it is empty), holds the list with its
// selection and the current-set box, keeps today at 6 December 2026, and keeps the way to cancel the copies under way.
// Progress reported past its total shows as a box.
class Recorder : public session::MessageBoxes,
                 public session::PackList,
                 public session::CurrentSetBox,
                 public session::Clock,
                 public session::Progress {
public:
    void tell(const QString& title, const QString& prompt) override { boxes.append(title + " | " + prompt); }
    bool ask(const QString& title, const QString& prompt) override;
    bool offer(const QString& title, const QString& prompt) override { return ask("(offer) " + title, prompt); }
    void show(const QStringList& entries) override;
    void mark(const QList<session::PackMark>&) override {}
    void select(int position) override { selectedRow = position; }
    std::optional<int> selected() const override { return selectedRow; }
    void show(const QString& text) override { currentSet = text; }
    QDate today() const override { return {2026, 12, 6}; }
    void start(const QString&, int, qint64, std::function<void()> cancel) override;
    void advance(qint64 bytes, int files) override;
    void finish() override { cancelCopies = {}; }

    // The boxes shown since the last call.
    QStringList takeBoxes() { return std::exchange(boxes, {}); }

    QStringList boxes;
    QList<bool> answers;
    QStringList listed;
    std::optional<int> selectedRow;
    QString currentSet;
    std::function<void()> cancelCopies; // while copies run
    std::function<void()> whileCopying; // called as copies start
    std::pair<int, qint64> left;        // files and bytes of the progress's total not yet reported
};

// A session on a car folder, started as the window starts it, with the site the member's ZERN.cfg names.
struct StartedSession {
    StartedSession(const fs::Path& carFolder, league::HttpFetch& fetch);
    void swap(std::optional<int> row);
    void backUp(bool yes = true);

    fs::Path carFolder;
    Recorder window;
    session::Session session;
    QStringList startBoxes; // the boxes the start-up showed
};

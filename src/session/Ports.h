#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace session {

// What the session reaches only through the window or the world outside the program. The window
// passes real implementations; tests pass recording ones.

// Modal boxes with a title and a prompt, and no icon but an offer's.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box with a single OK button.
    virtual void tell(const QString& title, const QString& prompt) = 0;
    // A box with the buttons Yes and No, Yes the default; true when the answer is Yes.
    virtual bool ask(const QString& title, const QString& prompt) = 0;
    // A box offering to do something more, with the question icon and the buttons Yes and No, No the default and
    // Escape's answer, so a member who only means to close it changes nothing; true when the answer is Yes.
    virtual bool offer(const QString& title, const QString& prompt) = 0;
};

// What the last Check Packs found of a listed pack's installed copy; nothing for a pack the league does not list.
enum class PackMark { None, UpToDate, OutOfDate, DateInvalid };

// The list of installed skinpacks.
class PackList {
public:
    virtual ~PackList() = default;
    // Replaces the entries, unmarked, with nothing selected.
    virtual void show(const QStringList& entries) = 0;
    // One mark for each entry, in the list's order.
    virtual void mark(const QList<PackMark>& marks) = 0;
    virtual void select(int position) = 0;
    // The selected position, or nothing while nothing is selected.
    virtual std::optional<int> selected() const = 0;
};

// The box that shows the active car set; a new text shows at once.
class CurrentSetBox {
public:
    virtual ~CurrentSetBox() = default;
    virtual void show(const QString& text) = 0;
};

// Today's local calendar date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

// Shows long work going on, files and bytes done against a total; work that ends quickly shows nothing. The
// member may give the work up, which `cancel` passes on.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void start(const QString& what, int totalFiles, qint64 totalBytes, std::function<void()> cancel) = 0;
    virtual void advance(qint64 newBytes, int newFiles) = 0;
    virtual void finish() = 0;
};

} // namespace session

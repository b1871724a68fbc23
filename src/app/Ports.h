#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// What the procedures can only do through the window, or through the world outside the program.
// The window passes real implementations; tests pass recording ones.

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // A modal box with a prompt, a title, no icon and a single OK button.
    virtual void msgBox(const QString& prompt, const QString& title) = 0;
    // A modal box with the buttons Yes and No, Yes the default; true when the answer is Yes.
    virtual bool askYesNo(const QString& prompt, const QString& title) = 0;
};

// The skinpack list box, lstPacks.
class PackList {
public:
    virtual ~PackList() = default;
    // The selected position, or -1 while nothing is selected.
    virtual int listIndex() const = 0;
    virtual void addItem(const QString& entry) = 0;
};

// The current set text box, lblCurrent. Setting the text shows it at once.
class CurrentSetBox {
public:
    virtual ~CurrentSetBox() = default;
    virtual void setText(const QString& text) = 0;
};

// Fetches a URL and returns the whole body, or nothing when no usable body could be fetched.
class HttpFetch {
public:
    virtual ~HttpFetch() = default;
    virtual std::optional<QByteArray> fetch(const QString& url) = 0;
    // Abandons the fetch under way, which then fails; called from within it, as the member gives up.
    virtual void cancel() = 0;
};

// Today's local calendar date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

// Shows long work going on, files and bytes done against a total; work that ends quickly shows nothing.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void start(const QString& what, int totalFiles, qint64 totalBytes) = 0;
    virtual void advance(qint64 newBytes, int newFiles) = 0;
    virtual void finish() = 0;
};

// Everything the procedures reach outside the window's state.
struct Ports {
    MessageBox& msgBox;
    PackList& lstPacks;
    CurrentSetBox& lblCurrent;
    HttpFetch& inet1;
    Clock& clock;
    Progress* progress = nullptr; // none where nobody watches, as in tests
};

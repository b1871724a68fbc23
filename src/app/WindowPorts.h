#pragma once

#include "app/PackListModel.h"
#include "league/HttpFetch.h"
#include "session/Ports.h"

#include <QTimer>

#include <chrono>
#include <memory>

class QLineEdit;
class QListView;
class QProgressDialog;
class QWidget;

namespace app {

// Long work shows a progress box only once it has run this long; quicker work shows nothing.
constexpr std::chrono::milliseconds kShowProgressAfter(500);

// Message boxes modal to the window, showing their prompts as plain text; a prompt too long for the
// screen is shown in a box of its own that scrolls.
class WindowMessageBoxes : public session::MessageBoxes {
public:
    explicit WindowMessageBoxes(QWidget& window) : window_(window) {}

    void tell(const QString& title, const QString& prompt) override;
    bool ask(const QString& title, const QString& prompt) override;
    bool offer(const QString& title, const QString& prompt) override;

private:
    enum class Kind { Tell, Ask, Offer };
    bool show(const QString& title, const QString& prompt, Kind kind);

    QWidget& window_;
};

class WindowPackList : public session::PackList {
public:
    WindowPackList(QListView& list, PackListModel& entries) : list_(list), entries_(entries) {}

    void show(const QStringList& entries) override;
    void mark(const QList<session::PackMark>& marks) override;
    void select(int position) override;
    std::optional<int> selected() const override;

private:
    void fitWidestEntry();

    QListView& list_;
    PackListModel& entries_;
    std::array<QPixmap, 4> markPictures_; // drawn when first needed
};

class WindowCurrentSetBox : public session::CurrentSetBox {
public:
    explicit WindowCurrentSetBox(QLineEdit& box) : box_(box) {}

    void show(const QString& text) override;

private:
    QLineEdit& box_;
};

// A modal box over the window with the files and bytes a command has copied so far, and a Cancel button.
// The copies run on a thread of their own; their reports arrive here on the window's thread.
class WindowProgress : public session::Progress {
public:
    explicit WindowProgress(QWidget& window, std::chrono::milliseconds showAfter = kShowProgressAfter);
    ~WindowProgress() override;

    void start(const QString& what, int totalFiles, qint64 totalBytes, std::function<void()> cancel) override;
    void advance(qint64 newBytes, int newFiles) override;
    void finish() override;

private:
    void show();
    void giveUp();
    void update();

    QWidget& window_;
    QTimer showTimer_;
    QTimer updateTimer_;
    std::unique_ptr<QProgressDialog> dialog_;
    std::function<void()> cancel_;
    bool givenUp_ = false;
    QString what_;
    int totalFiles_ = 0;
    int filesDone_ = 0;
    qint64 totalBytes_ = 0;
    qint64 bytesDone_ = 0;
};

// Runs a fetch while the window keeps painting: the cursor shows the wait, and one that takes a while
// says so in a box of its own, whose Cancel button gives it up.
class WindowFetch : public league::HttpFetch {
public:
    WindowFetch(league::HttpFetch& wrapped, QWidget& window, std::chrono::milliseconds showAfter = kShowProgressAfter)
        : wrapped_(wrapped), window_(window), showAfter_(showAfter) {}

    std::optional<QByteArray> fetch(const QString& url) override;
    void cancel() override;

private:
    league::HttpFetch& wrapped_;
    QWidget& window_;
    std::chrono::milliseconds showAfter_;
};

} // namespace app

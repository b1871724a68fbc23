#pragma once

#include "app/Ports.h"

class QLineEdit;
class QListWidget;
class QWidget;

// Message boxes modal to the window, showing their prompts as plain text; a prompt too long for the
// screen is shown in a box of its own that scrolls.
class WindowMessageBox : public MessageBox {
public:
    explicit WindowMessageBox(QWidget& window) : window_(window) {}

    void msgBox(const QString& prompt, const QString& title) override;
    bool askYesNo(const QString& prompt, const QString& title) override;

private:
    bool show(const QString& prompt, const QString& title, bool yesNo);

    QWidget& window_;
};

class WindowPackList : public PackList {
public:
    explicit WindowPackList(QListWidget& list) : list_(list) {}

    int listIndex() const override;
    void addItem(const QString& entry) override;

private:
    QListWidget& list_;
};

class WindowCurrentSetBox : public CurrentSetBox {
public:
    explicit WindowCurrentSetBox(QLineEdit& box) : box_(box) {}

    void setText(const QString& text) override;

private:
    QLineEdit& box_;
};

// Runs a fetch while the window keeps painting but takes no input: clicks and keys made meanwhile
// are dropped, the cursor shows the wait, and a fetch never starts inside another.
class WindowFetch : public HttpFetch {
public:
    WindowFetch(HttpFetch& wrapped, QWidget& window) : wrapped_(wrapped), window_(window) {}

    std::optional<QByteArray> fetch(const QString& url) override;

private:
    HttpFetch& wrapped_;
    QWidget& window_;
    bool busy_ = false;
};

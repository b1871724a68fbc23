#include "app/WindowPorts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace {

// Room a message box needs around its prompt for title bar, margins and buttons.
constexpr int kBoxChrome = 160;

// Prompts end their lines the Windows way; the boxes break lines at "\n".
QString shownText(QString prompt) {
    prompt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return prompt;
}

bool fitsScreen(const QWidget& window, const QString& text) {
    const QRect screen = window.screen()->availableGeometry();
    const QFontMetrics metrics(QApplication::font("QMessageBoxLabel"));
    const int wrapWidth = std::min(screen.width() / 2, 500);
    const QRect needed = metrics.boundingRect(QRect(0, 0, wrapWidth, INT_MAX), Qt::TextWordWrap, text);
    return needed.height() + kBoxChrome <= screen.height();
}

bool execScrollingBox(QWidget* owner, const QString& text, const QString& title, bool yesNo) {
    QDialog box(owner);
    box.setWindowTitle(title);
    box.setSizeGripEnabled(true);
    auto* prompt = new QPlainTextEdit(text, &box);
    prompt->setReadOnly(true);
    auto* buttons =
        new QDialogButtonBox(yesNo ? QDialogButtonBox::Yes | QDialogButtonBox::No : QDialogButtonBox::Ok, &box);
    QPushButton* defaultButton = buttons->button(yesNo ? QDialogButtonBox::Yes : QDialogButtonBox::Ok);
    defaultButton->setDefault(true);
    defaultButton->setFocus();
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(prompt);
    layout->addWidget(buttons);
    const QRect screen = box.screen()->availableGeometry();
    box.resize(std::min(640, screen.width() * 4 / 5), screen.height() * 2 / 3);
    return box.exec() == QDialog::Accepted;
}

constexpr int kProgressSteps = 1000;
constexpr qint64 kProgressRepaintMs = 50;

// A progress box over the window, without a cancel button: what it reports runs to its end.
std::unique_ptr<QProgressDialog> progressBox(QWidget& window, const QString& what) {
    auto box = std::make_unique<QProgressDialog>(what, QString(), 0, kProgressSteps, &window);
    box->setWindowTitle(QStringLiteral("Tarvok Car Manager"));
    box->setWindowModality(Qt::ApplicationModal);
    box->setMinimumDuration(0);
    box->setAutoClose(false);
    box->setAutoReset(false);
    box->setMinimumWidth(360);
    return box;
}

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

// Swallows the user's input to one window for as long as it lives, and shows the wait cursor.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget& window) : window_(window) {
        qApp->installEventFilter(this);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~InputBlocker() override {
        QGuiApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool atWindow = window_.windowHandle() && watched == window_.windowHandle();
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (!atWindow && !(widget && widget->window() == &window_))
            return false;
        // Closing mid-fetch would end the fetch's own event loop along with the program's.
        if (atWindow && event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return isInput(event->type());
    }

private:
    QWidget& window_;
};

} // namespace

void WindowMessageBox::msgBox(const QString& prompt, const QString& title) {
    show(prompt, title, false);
}

bool WindowMessageBox::askYesNo(const QString& prompt, const QString& title) {
    return show(prompt, title, true);
}

bool WindowMessageBox::show(const QString& prompt, const QString& title, bool yesNo) {
    const QString text = shownText(prompt);
    // Before the window is first shown a box stands on its own, in the middle of the screen.
    QWidget* owner = window_.isVisible() ? &window_ : nullptr;
    if (!fitsScreen(window_, text))
        return execScrollingBox(owner, text, title, yesNo);
    QMessageBox box(QMessageBox::NoIcon, title, text, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    owner);
    // Pack names may hold "<", which must never be taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    return box.exec() == QMessageBox::Yes;
}

int WindowPackList::listIndex() const {
    const QList<QListWidgetItem*> selected = list_.selectedItems();
    return selected.isEmpty() ? -1 : list_.row(selected.first());
}

void WindowPackList::addItem(const QString& entry) {
    list_.addItem(entry);
}

void WindowCurrentSetBox::setText(const QString& text) {
    box_.setText(text);
    // A long set name shows from its start, not from where typing would go on.
    box_.setCursorPosition(0);
    box_.repaint();
}

WindowProgress::WindowProgress(QWidget& window, std::chrono::milliseconds showAfter)
    : window_(window), showAfter_(showAfter) {}

WindowProgress::~WindowProgress() = default;

void WindowProgress::start(const QString& what, int totalFiles, qint64 totalBytes) {
    what_ = what;
    totalFiles_ = totalFiles;
    totalBytes_ = totalBytes;
    filesDone_ = 0;
    bytesDone_ = 0;
    running_.start();
}

void WindowProgress::advance(qint64 newBytes, int newFiles) {
    bytesDone_ += newBytes;
    filesDone_ += newFiles;
    if (!dialog_ && running_.isValid() && running_.elapsed() >= showAfter_.count()) {
        dialog_ = progressBox(window_, what_);
        dialog_->show();
    }
    // Painting after every block would slow the copy it reports on.
    if (dialog_ && (!sinceShown_.isValid() || sinceShown_.elapsed() >= kProgressRepaintMs))
        show();
}

void WindowProgress::show() {
    sinceShown_.start();
    const QLocale locale;
    dialog_->setLabelText(QStringLiteral("%1\n\n%2 of %3 files, %4 of %5")
                              .arg(what_)
                              .arg(filesDone_)
                              .arg(totalFiles_)
                              .arg(locale.formattedDataSize(bytesDone_), locale.formattedDataSize(totalBytes_)));
    dialog_->setValue(totalBytes_ > 0 ? static_cast<int>(kProgressSteps * bytesDone_ / totalBytes_) : 0);
}

void WindowProgress::finish() {
    dialog_.reset();
    running_.invalidate();
    sinceShown_.invalidate();
}

std::optional<QByteArray> WindowFetch::fetch(const QString& url) {
    if (busy_)
        return std::nullopt;
    const QScopedValueRollback<bool> busy(busy_, true);
    const InputBlocker blocker(window_);
    std::unique_ptr<QProgressDialog> dialog;
    QTimer slow;
    slow.setSingleShot(true);
    QObject::connect(&slow, &QTimer::timeout, [&] {
        dialog = progressBox(
            window_, QStringLiteral("Fetching %1 from the league web site...").arg(url.section(QLatin1Char('/'), -1)));
        dialog->setRange(0, 0); // how long a league file takes is not known beforehand
        dialog->show();
    });
    slow.start(showAfter_);
    return wrapped_.fetch(url);
}

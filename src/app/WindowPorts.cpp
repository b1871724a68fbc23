#include "app/WindowPorts.h"

#include "app/Pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace app {

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

bool execScrollingBox(QWidget* owner, const QString& text, const QString& title, bool yesNo,
                      QDialogButtonBox::StandardButton defaultChoice) {
    QDialog box(owner);
    box.setWindowTitle(title);
    box.setSizeGripEnabled(true);
    auto* prompt = new QPlainTextEdit(text, &box);
    prompt->setReadOnly(true);
    auto* buttons =
        new QDialogButtonBox(yesNo ? QDialogButtonBox::Yes | QDialogButtonBox::No : QDialogButtonBox::Ok, &box);
    QPushButton* defaultButton = buttons->button(defaultChoice);
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
constexpr int kProgressRepaintMs = 50;

} // namespace

namespace {

// A copy's progress box. Its Cancel button, Escape and the close button all ask to give the copy up; the box
// stays until the copy has stopped and removed what it had written.
class CopyProgressBox : public QProgressDialog {
public:
    CopyProgressBox(const QString& what, QWidget& window)
        : QProgressDialog(what, QStringLiteral("Cancel"), 0, kProgressSteps, &window) {
        // A progress dialog hides itself on Cancel; this one goes only when the copy is over. Qt makes that connection
        // by name, which only a disconnection by name undoes.
        disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        emit canceled();
    }
};

void setUpProgressBox(QProgressDialog& box) {
    box.setWindowTitle(QStringLiteral("Tarvok Car Manager"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setAutoReset(false);
    box.setMinimumWidth(360);
}

} // namespace

void WindowMessageBoxes::tell(const QString& title, const QString& prompt) {
    show(title, prompt, Kind::Tell);
}

bool WindowMessageBoxes::ask(const QString& title, const QString& prompt) {
    return show(title, prompt, Kind::Ask);
}

bool WindowMessageBoxes::offer(const QString& title, const QString& prompt) {
    return show(title, prompt, Kind::Offer);
}

bool WindowMessageBoxes::show(const QString& title, const QString& prompt, Kind kind) {
    const QString text = shownText(prompt);
    const bool yesNo = kind != Kind::Tell;
    const QMessageBox::StandardButton defaultChoice = kind == Kind::Tell  ? QMessageBox::Ok
                                                      : kind == Kind::Ask ? QMessageBox::Yes
                                                                          : QMessageBox::No;
    // Before the window is first shown a box stands on its own, in the middle of the screen.
    QWidget* owner = window_.isVisible() ? &window_ : nullptr;
    if (!fitsScreen(window_, text))
        return execScrollingBox(owner, text, title, yesNo,
                                static_cast<QDialogButtonBox::StandardButton>(defaultChoice));
    QMessageBox box(kind == Kind::Offer ? QMessageBox::Question : QMessageBox::NoIcon, title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    // Pack names may hold "<", which must never be taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultChoice);
    if (yesNo)
        box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void WindowPackList::show(const QStringList& entries) {
    // Read again after a swap or a backup, the list stays where the member had scrolled it.
    const int down = list_.verticalScrollBar()->value();
    const int across = list_.horizontalScrollBar()->value();
    entries_.setEntries(entries);
    fitWidestEntry();
    list_.verticalScrollBar()->setValue(down);
    list_.horizontalScrollBar()->setValue(across);
}

void WindowPackList::mark(const QList<session::PackMark>& marks) {
    if (markPictures_[0].isNull()) {
        // No taller than the text of the list's font, so an entry with a mark is as tall as one without.
        const int side = list_.fontMetrics().ascent();
        list_.setIconSize(QSize(side, side));
        for (const session::PackMark mark : {session::PackMark::None, session::PackMark::UpToDate,
                                             session::PackMark::OutOfDate, session::PackMark::DateInvalid})
            markPictures_.at(static_cast<std::size_t>(mark)) =
                pictures::packMark(mark, side, list_.devicePixelRatioF());
    }
    entries_.setMarks(marks, markPictures_);
    fitWidestEntry();
}

void WindowPackList::select(int position) {
    list_.setCurrentIndex(entries_.index(position));
}

std::optional<int> WindowPackList::selected() const {
    const QModelIndexList selected = list_.selectionModel()->selectedRows();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first().row();
}

// The list measures only its last entry, taken for the size of all: that of the widest keeps every end in reach.
void WindowPackList::fitWidestEntry() {
    entries_.setEntrySize({});
    const QModelIndex longest = entries_.longest();
    entries_.setEntrySize(longest.isValid() ? list_.sizeHintForIndex(longest) : QSize());
    list_.doItemsLayout();
}

void WindowCurrentSetBox::show(const QString& text) {
    box_.setText(text);
    // A long set name shows from its start, not from where typing would go on.
    box_.setCursorPosition(0);
    box_.setToolTip(toolTipOf(text));
    box_.setAccessibleDescription(text);
    box_.repaint();
}

WindowProgress::WindowProgress(QWidget& window, std::chrono::milliseconds showAfter) : window_(window) {
    // The box shows after a while even when no block has been written, so a file call that blocks can be
    // given up.
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(showAfter);
    QObject::connect(&showTimer_, &QTimer::timeout, [this] { show(); });
    // Painting after every block would slow the copy it reports on; the box catches up a moment later.
    updateTimer_.setSingleShot(true);
    updateTimer_.setInterval(kProgressRepaintMs);
    QObject::connect(&updateTimer_, &QTimer::timeout, [this] { update(); });
}

WindowProgress::~WindowProgress() = default;

void WindowProgress::start(const QString& what, int totalFiles, qint64 totalBytes, std::function<void()> cancel) {
    what_ = what;
    cancel_ = std::move(cancel);
    givenUp_ = false;
    totalFiles_ = totalFiles;
    totalBytes_ = totalBytes;
    filesDone_ = 0;
    bytesDone_ = 0;
    showTimer_.start();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void WindowProgress::advance(qint64 newBytes, int newFiles) {
    bytesDone_ += newBytes;
    filesDone_ += newFiles;
    if (!updateTimer_.isActive())
        updateTimer_.start();
}

void WindowProgress::show() {
    dialog_ = std::make_unique<CopyProgressBox>(what_, window_);
    setUpProgressBox(*dialog_);
    QObject::connect(dialog_.get(), &QProgressDialog::canceled, [this] { giveUp(); });
    update();
    dialog_->show();
}

void WindowProgress::giveUp() {
    givenUp_ = true;
    if (auto* button = dialog_->findChild<QPushButton*>())
        button->setEnabled(false);
    update();
    cancel_();
}

void WindowProgress::update() {
    if (!dialog_)
        return;
    const QLocale locale;
    const QString cancelling =
        givenUp_ ? QStringLiteral("\n\nCancelling...") : QString(); // a comparison is cancelled too, not only copies
    dialog_->setLabelText(
        QStringLiteral("%1\n\n%2 of %3 files, %4 of %5%6")
            .arg(what_)
            .arg(filesDone_)
            .arg(totalFiles_)
            .arg(locale.formattedDataSize(bytesDone_), locale.formattedDataSize(totalBytes_), cancelling));
    dialog_->setValue(totalBytes_ > 0 ? static_cast<int>(kProgressSteps * bytesDone_ / totalBytes_) : 0);
}

void WindowProgress::finish() {
    QGuiApplication::restoreOverrideCursor();
    showTimer_.stop();
    dialog_.reset();
}

std::optional<QByteArray> WindowFetch::fetch(const QString& url) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<QProgressDialog> dialog;
    QTimer slow;
    slow.setSingleShot(true);
    QObject::connect(&slow, &QTimer::timeout, [&] {
        // Cancel, Escape and the close button all give up the fetch, which then fails as any other.
        dialog = std::make_unique<QProgressDialog>(
            QStringLiteral("Fetching %1 from the league web site...").arg(url.section(QLatin1Char('/'), -1)),
            QStringLiteral("Cancel"), 0, 0, &window_);
        setUpProgressBox(*dialog);
        QObject::connect(dialog.get(), &QProgressDialog::canceled, [this] { cancel(); });
        dialog->show();
    });
    slow.start(showAfter_);
    std::optional<QByteArray> body = wrapped_.fetch(url);
    QGuiApplication::restoreOverrideCursor();
    return body;
}

void WindowFetch::cancel() {
    wrapped_.cancel();
}

} // namespace app

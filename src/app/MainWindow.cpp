#include "app/MainWindow.h"

#include "app/ArchiveDialog.h"
#include "app/Centring.h"
#include "app/Colours.h"
#include "app/InputBlocker.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace app {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr QSize kClientSize(6375 / kTwipsPerPixel, 6015 / kTwipsPerPixel);
constexpr int kLargestFontPixels = 11;
constexpr int kSmallestFontPixels = 8;

using namespace colours;

void place(QWidget& control, const char* name, int left, int top, int width, int height) {
    control.setObjectName(QLatin1String(name));
    control.setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

void paint(QWidget& control, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = control.palette();
    palette.setColor(role, colour);
    control.setPalette(palette);
}

// Labels paint only their text, so what lies beneath shows through; long texts wrap in their box.
void caption(QLabel& label, const QString& text, const QColor& ink) {
    label.setText(text);
    label.setTextFormat(Qt::PlainText);
    label.setWordWrap(true);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paint(label, QPalette::WindowText, ink);
}

void fill(QWidget& control, const QColor& background) {
    control.setAutoFillBackground(true);
    paint(control, QPalette::Window, background);
}

void panel(QLabel& label) {
    fill(label, kNavy);
    label.setFrameStyle(QFrame::Box | QFrame::Plain);
    label.setLineWidth(1);
    paint(label, QPalette::WindowText, Qt::black);
}

void describe(QWidget& button, const QString& name, const QString& tip) {
    button.setAccessibleName(name);
    button.setToolTip(tip);
}

// Some monospaced faces do not declare themselves so; equal advances are what keeps the columns aligned.
bool isFixedPitch(const QFont& font) {
    if (QFontInfo(font).fixedPitch())
        return true;
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('W'));
    return metrics.horizontalAdvance(QLatin1Char('i')) == advance &&
           metrics.horizontalAdvance(QLatin1Char('.')) == advance &&
           metrics.horizontalAdvance(QLatin1Char(' ')) == advance;
}

// The named face where the system has it, otherwise the first fixed-pitch face it has, so the list's
// columns line up: the system's own fixed font is not always there (Wine names one it lacks).
QFont fixedPitchFont(const QString& family, qreal pointSize) {
    QStringList candidates{family, QFontDatabase::systemFont(QFontDatabase::FixedFont).family()};
    for (const char* known :
         {"Courier New", "Consolas", "Lucida Console", "DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Courier"})
        candidates.append(QLatin1String(known));
    candidates += QFontDatabase::families();
    for (const QString& candidate : std::as_const(candidates)) {
        QFont font(candidate);
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSizeF(pointSize);
        if (QFontDatabase::hasFamily(candidate) && isFixedPitch(font))
            return font;
    }
    QFont font(family);
    font.setPointSizeF(pointSize);
    return font;
}

// Faces for the captions, the most wanted first; the system's own face is the last resort.
QStringList captionFamilies() {
    QStringList families;
    for (const char* family : {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans",
                               "DejaVu Sans", "DejaVu Sans Condensed", "Nimbus Sans Narrow", "Nimbus Sans"})
        if (QFontDatabase::hasFamily(QLatin1String(family)))
            families.append(QLatin1String(family));
    families.append(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    return families;
}

// The files a drag carries from the member's disks; none when it carries anything else.
QStringList localFiles(const QMimeData& dragged) {
    QStringList files;
    for (const QUrl& url : dragged.urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

// The selected entry looks the same whether or not the list has the focus, so the member still sees which pack the
// swap button will take while pressing it: some styles draw an unfocused selection barely apart from the black.
class SelectionAlwaysShown : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state |= QStyle::State_Active;
    }
};

bool showsWhole(const QLabel& label, const QFont& font) {
    const QRect box = label.contentsRect();
    const int flags = static_cast<int>(label.alignment()) | Qt::TextWordWrap;
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), INT_MAX), flags, label.text());
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace

MainWindow::MainWindow(const QString& carFolder, league::HttpFetch& fetch, session::Clock& clock,
                       std::chrono::milliseconds showProgressAfter)
    : banner_(new QLabel(this)), version_(new QLabel(this)), currentSetTitle_(new QLabel(this)),
      currentSet_(new QLineEdit(this)), packListTitle_(new QLabel(this)), packList_(new QListView(this)),
      packEntries_(new PackListModel(this)), swapButton_(pictureButton(pictures::Face::Swap)),
      backupButton_(pictureButton(pictures::Face::Backup)), swapText_(new QLabel(this)), backupText_(new QLabel(this)),
      checkPacksPanel_(new QLabel(this)), checkPacksButton_(pictureButton(pictures::Face::CheckPacks)),
      checkPacksText_(new QLabel(this)), checkMeetingPanel_(new QLabel(this)),
      checkMeetingButton_(pictureButton(pictures::Face::CheckMeeting)), checkMeetingText_(new QLabel(this)),
      exitButton_(pictureButton(pictures::Face::Exit)), installAction_(new QAction(this)), packMenu_(new QMenu(this)),
      boxes_(*this), packListPort_(*packList_, *packEntries_), currentSetPort_(*currentSet_),
      fetch_(fetch, *this, showProgressAfter), progress_(*this, showProgressAfter), carFolder_(carFolder),
      session_(fs::fromQt(carFolder), {boxes_, packListPort_, currentSetPort_, fetch_, clock, &progress_}) {
    // The skinpacks are read while the window is built.
    session_.prepare();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarvok Car Manager"));
    setWindowIcon(QIcon(pictures::windowIcon(devicePixelRatioF())));
    // The layout never changes, so the window can be neither resized nor maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientSize);
    setAutoFillBackground(true);
    setBackground(kLaidOutBackground);
    layOutControls();
    useDefaultFont();
    setUpInstalling();

    connect(swapButton_, &QAbstractButton::clicked, this, [this] { run([this] { session_.swapInSelectedPack(); }); });
    connect(backupButton_, &QAbstractButton::clicked, this, [this] { run([this] { session_.backUpActiveCars(); }); });
    connect(checkPacksButton_, &QAbstractButton::clicked, this, [this] { run([this] { session_.checkPacks(); }); });
    connect(checkMeetingButton_, &QAbstractButton::clicked, this, [this] { run([this] { session_.checkMeeting(); }); });
    connect(exitButton_, &QAbstractButton::clicked, this, &QWidget::close);
}

void MainWindow::load() {
    session_.start();
    centreOnScreen();
    setBackground(kRunningBackground);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!commandRunning_ && !localFiles(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(*event->mimeData());
    if (commandRunning_ || files.isEmpty())
        return;
    event->acceptProposedAction();
    installLater(files);
}

void MainWindow::run(const std::function<void()>& command) {
    if (commandRunning_)
        return;
    const QScopedValueRollback<bool> running(commandRunning_, true);
    const InputBlocker blocker(*this);
    command();
}

// The drag's source (on Windows, Explorer) waits for the drop to end, so the install's boxes wait for it.
void MainWindow::installLater(const QStringList& archives) {
    if (archives.isEmpty())
        return;
    QTimer::singleShot(0, this, [this, archives] { run([this, archives] { session_.installArchives(archives); }); });
}

void MainWindow::setUpInstalling() {
    setAcceptDrops(true);
    const QString description = QStringLiteral("Install the skinpacks of one or more archives from the league");
    installAction_->setText(QStringLiteral("Install a skinpack from an archive..."));
    installAction_->setToolTip(description);
    installAction_->setStatusTip(description);
    installAction_->setShortcut(QKeySequence::Open);
    addAction(installAction_);
    connect(installAction_, &QAction::triggered, this, [this] {
        run([this] {
            const QStringList archives = askForArchives(*this, carFolder_);
            if (!archives.isEmpty())
                session_.installArchives(archives);
        });
    });

    packMenu_->setAccessibleName(QStringLiteral("Skinpack menu"));
    packMenu_->setAccessibleDescription(description);
    packMenu_->addAction(installAction_);
    packList_->setAccessibleName(QStringLiteral("Skinpacks found"));
    packList_->setAccessibleDescription(
        QStringLiteral("The installed skinpacks; its menu (Shift+F10) or Ctrl+O installs one from an archive"));
    packList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(packList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { packMenu_->popup(packList_->viewport()->mapToGlobal(at)); });
    // The keys that open a context menu, where the system does not make them one itself; the menu opens at the
    // current entry.
    auto* menuKeys = new QAction(packList_);
    menuKeys->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    menuKeys->setShortcutContext(Qt::WidgetShortcut);
    packList_->addAction(menuKeys);
    connect(menuKeys, &QAction::triggered, this, [this] {
        const QRect entry = packList_->visualRect(packList_->currentIndex());
        packMenu_->popup(packList_->viewport()->mapToGlobal(entry.isValid() ? entry.bottomLeft() : QPoint()));
    });
}

PictureButton* MainWindow::pictureButton(pictures::Face face) {
    return new PictureButton(pictures::buttonFace(face, devicePixelRatioF()), this);
}

void MainWindow::layOutControls() {
    place(*banner_, "Image1", 0, 0, 6375, 900);
    banner_->setPixmap(pictures::banner(devicePixelRatioF()));

    place(*version_, "lblVersion", 3600, 720, 2535, 255);
    caption(*version_, QStringLiteral("Version 2.1 14th April 2003"), kYellow);
    version_->setAlignment(Qt::AlignRight | Qt::AlignTop);

    place(*currentSetTitle_, "lblCurrentTit", 240, 960, 2295, 255);
    caption(*currentSetTitle_, QStringLiteral("The currently selected car set is:"), kYellow);

    place(*currentSet_, "lblCurrent", 120, 1200, 2535, 330);
    paint(*currentSet_, QPalette::Text, kGreen);
    paint(*currentSet_, QPalette::Base, Qt::black);
    currentSet_->setFont(fixedPitchFont(QStringLiteral("Fixedsys"), 9));
    // What is typed there would be taken for the active set; the keys still move along a name longer than the box.
    currentSet_->setReadOnly(true);

    place(*packListTitle_, "Label5", 120, 1680, 4335, 255);
    caption(*packListTitle_, QStringLiteral("Skinpacks found:"), kOrange);
    fill(*packListTitle_, Qt::black);
    packListTitle_->setFont(fixedPitchFont(QStringLiteral("Courier New"), 8.25));

    place(*packList_, "lstPacks", 120, 1920, 4335, 2550);
    packList_->setModel(packEntries_);
    packList_->setItemDelegate(new SelectionAlwaysShown(packList_));
    packList_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every entry is one line of the same font, so the list need not measure thousands of them.
    packList_->setUniformItemSizes(true);
    // A description cut off with "..." would hide the date a member looks for; the list scrolls instead.
    packList_->setTextElideMode(Qt::ElideNone);
    packList_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    paint(*packList_, QPalette::Text, kYellow);
    paint(*packList_, QPalette::Base, Qt::black);
    packList_->setFont(fixedPitchFont(QStringLiteral("Courier New"), 8.25));

    place(*swapButton_, "cmdDoIt", 120, 4560, 1815, 615);
    paint(*swapButton_, QPalette::Button, kOrange);
    describe(*swapButton_, QStringLiteral("Swap car set"),
             QStringLiteral("Make the skinpack selected in the list your active car set"));

    place(*backupButton_, "cmdBackup", 2160, 4560, 1815, 615);
    describe(*backupButton_, QStringLiteral("Back up cars"),
             QStringLiteral("Copy your active car set into the folder \"original\""));

    place(*swapText_, "lblSwap", 120, 5160, 1815, 855);
    caption(*swapText_, QStringLiteral("This button will change your tarvers to the set chosen above"), Qt::white);

    place(*backupText_, "lblBackup", 2160, 5160, 1815, 855);
    caption(*backupText_,
            QStringLiteral(
                "This button will backup whatever is currently in your tarvers folder to a folder called \"original\""),
            Qt::white);

    place(*checkPacksPanel_, "lblSpare1", 4560, 960, 1815, 2055);
    panel(*checkPacksPanel_);

    place(*checkPacksButton_, "cmdCheckPack", 4680, 1080, 1575, 615);
    describe(*checkPacksButton_, QStringLiteral("Check skinpacks"),
             QStringLiteral("Check on the league web site whether each of your skinpacks is up to date"));

    place(*checkPacksText_, "Label1", 4680, 1800, 1575, 1095);
    caption(
        *checkPacksText_,
        QStringLiteral("Use this button to check if all your skinpacks are up to date (requires internet connection"),
        Qt::white);

    place(*checkMeetingPanel_, "Label3", 4560, 3000, 1815, 2055);
    panel(*checkMeetingPanel_);

    place(*checkMeetingButton_, "cmdCheckMeeting", 4680, 3120, 1575, 615);
    describe(*checkMeetingButton_, QStringLiteral("Check next meeting"),
             QStringLiteral("Check that you have the skinpack and the track the league's next meeting needs"));

    place(*checkMeetingText_, "Label4", 4680, 3720, 1575, 1215);
    caption(*checkMeetingText_,
            QStringLiteral("Use this button to checkthat you have everything you need for the next meeting (internet "
                           "connection required)"),
            Qt::white);

    place(*exitButton_, "cmdExit", 4680, 5280, 1575, 615);
    describe(*exitButton_, QStringLiteral("Exit"), QStringLiteral("Close Tarvok Car Manager"));

    // Bottom to top: the banner and the labels beneath the controls, each panel beneath what it carries.
    for (QWidget* control : std::initializer_list<QWidget*>{
             banner_, checkPacksPanel_, checkMeetingPanel_, version_, currentSetTitle_, packListTitle_, swapText_,
             backupText_, checkPacksText_, checkMeetingText_, currentSet_, packList_, swapButton_, backupButton_,
             checkPacksButton_, checkMeetingButton_, exitButton_})
        control->raise();

    setTabOrder(swapButton_, backupButton_);
    setTabOrder(backupButton_, currentSet_);
    setTabOrder(currentSet_, exitButton_);
    setTabOrder(exitButton_, checkPacksButton_);
    setTabOrder(checkPacksButton_, checkMeetingButton_);
    setTabOrder(checkMeetingButton_, packList_);
    swapButton_->setFocus();
}

void MainWindow::setBackground(const QColor& colour) {
    paint(*this, QPalette::Window, colour);
}

// The label boxes are fixed, so the window's font is the largest in which every caption shows whole.
void MainWindow::useDefaultFont() {
    const QList<QLabel*> captions{version_,    currentSetTitle_, swapText_,
                                  backupText_, checkPacksText_,  checkMeetingText_};
    const QStringList families = captionFamilies();
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    for (int size = kLargestFontPixels; size >= kSmallestFontPixels; --size) {
        font.setPixelSize(size);
        for (const QString& family : families) {
            font.setFamily(family);
            if (std::all_of(captions.begin(), captions.end(),
                            [&](const QLabel* label) { return showsWhole(*label, font); })) {
                setFont(font);
                return;
            }
        }
    }
    setFont(font);
}

void MainWindow::centreOnScreen() {
    // Most systems know the frame of a created window before it is first shown.
    create();
    const QSize outer = size().grownBy(windowHandle()->frameMargins());
    const QRect whole = screen()->geometry();
    move(whole.topLeft() + centredPosition(QSizeF(whole.size()), QSizeF(outer)));
}

} // namespace app

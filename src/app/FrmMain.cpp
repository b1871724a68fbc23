#include "app/FrmMain.h"

#include "app/Centring.h"
#include "app/Colours.h"
#include "app/Config.h"
#include "app/InputBlocker.h"
#include "carsets/Backup.h"
#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "carsets/Swap.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <initializer_list>

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
    label.setText(QStringLiteral(" "));
    label.setTextFormat(Qt::PlainText);
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

// The named face where the system has it, otherwise its fixed-pitch font, so the list's columns line up.
QFont fixedPitchFont(const QString& family, qreal pointSize) {
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize);
    if (isFixedPitch(font))
        return font;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPointSizeF(pointSize);
    return fallback;
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

bool showsWhole(const QLabel& label, const QFont& font) {
    const QRect box = label.contentsRect();
    const int flags = static_cast<int>(label.alignment()) | Qt::TextWordWrap;
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), INT_MAX), flags, label.text());
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace

FrmMain::FrmMain(const QString& programFolder, HttpFetch& inet1, Clock& clock,
                 std::chrono::milliseconds showProgressAfter)
    : Image1(new QLabel(this)), lblVersion(new QLabel(this)), lblCurrentTit(new QLabel(this)),
      lblCurrent(new QLineEdit(this)), Label5(new QLabel(this)), lstPacks(new QListWidget(this)),
      cmdDoIt(pictureButton(pictures::Face::Swap)), cmdBackup(pictureButton(pictures::Face::Backup)),
      lblSwap(new QLabel(this)), lblBackup(new QLabel(this)), lblSpare1(new QLabel(this)),
      cmdCheckPack(pictureButton(pictures::Face::CheckPacks)), Label1(new QLabel(this)), Label3(new QLabel(this)),
      cmdCheckMeeting(pictureButton(pictures::Face::CheckMeeting)), Label4(new QLabel(this)),
      cmdExit(pictureButton(pictures::Face::Exit)), msgBox_(*this), packList_(*lstPacks), currentSetBox_(*lblCurrent),
      inet1_(inet1, *this, showProgressAfter),
      progress_(*this, showProgressAfter), ports{msgBox_, packList_, currentSetBox_, inet1_, clock, &progress_} {
    st.appPath = fs::fromQt(programFolder);
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

    connect(cmdDoIt, &QAbstractButton::clicked, this, &FrmMain::cmdDoIt_Click);
    connect(cmdBackup, &QAbstractButton::clicked, this, &FrmMain::cmdBackup_Click);
    connect(cmdCheckPack, &QAbstractButton::clicked, this, &FrmMain::cmdCheckPack_Click);
    connect(cmdCheckMeeting, &QAbstractButton::clicked, this, &FrmMain::cmdCheckMeeting_Click);
    connect(cmdExit, &QAbstractButton::clicked, this, &FrmMain::cmdExit_Click);
}

void FrmMain::Form_Load() {
    subLoadConfig(st, ports.msgBox);
    subInitialiseSkinPacks(st, ports.lstPacks);
    centreOnScreen();
    showStartupCurrentSet(st, ports.lblCurrent);
    setBackground(kRunningBackground);
}

void FrmMain::runCommand(void (*command)(FormState&, Ports&)) {
    if (commandRunning_)
        return;
    const QScopedValueRollback<bool> running(commandRunning_, true);
    const InputBlocker blocker(*this);
    command(st, ports);
}

void FrmMain::cmdDoIt_Click() {
    runCommand(subDoIt);
}

void FrmMain::cmdBackup_Click() {
    runCommand(subBack);
}

void FrmMain::cmdCheckPack_Click() {
    runCommand(subCheckAllPacks);
}

void FrmMain::cmdCheckMeeting_Click() {
    runCommand(subCheckMeetings);
}

void FrmMain::cmdExit_Click() {
    close();
}

PictureButton* FrmMain::pictureButton(pictures::Face face) {
    return new PictureButton(pictures::buttonFace(face, devicePixelRatioF()), this);
}

void FrmMain::layOutControls() {
    place(*Image1, "Image1", 0, 0, 6375, 900);
    Image1->setPixmap(pictures::banner(devicePixelRatioF()));

    place(*lblVersion, "lblVersion", 3600, 720, 2535, 255);
    caption(*lblVersion, QStringLiteral("Version 2.1 14th April 2003"), kYellow);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);

    place(*lblCurrentTit, "lblCurrentTit", 240, 960, 2295, 255);
    caption(*lblCurrentTit, QStringLiteral("The currently selected car set is:"), kYellow);

    place(*lblCurrent, "lblCurrent", 120, 1200, 2535, 330);
    paint(*lblCurrent, QPalette::Text, kGreen);
    paint(*lblCurrent, QPalette::Base, Qt::black);
    lblCurrent->setFont(fixedPitchFont(QStringLiteral("Fixedsys"), 9));

    place(*Label5, "Label5", 120, 1680, 4335, 255);
    caption(*Label5, QStringLiteral("Skinpacks found:"), kOrange);
    fill(*Label5, Qt::black);
    Label5->setFont(fixedPitchFont(QStringLiteral("Courier New"), 8.25));

    place(*lstPacks, "lstPacks", 120, 1920, 4335, 2550);
    lstPacks->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every entry is one line of the same font, so the list need not measure thousands of them.
    lstPacks->setUniformItemSizes(true);
    // A description cut off with "..." would hide the date a member looks for; the list scrolls instead.
    lstPacks->setTextElideMode(Qt::ElideNone);
    paint(*lstPacks, QPalette::Text, kYellow);
    paint(*lstPacks, QPalette::Base, Qt::black);
    lstPacks->setFont(fixedPitchFont(QStringLiteral("Courier New"), 8.25));

    place(*cmdDoIt, "cmdDoIt", 120, 4560, 1815, 615);
    paint(*cmdDoIt, QPalette::Button, kOrange);
    describe(*cmdDoIt, QStringLiteral("Swap car set"),
             QStringLiteral("Make the skinpack selected in the list your active car set"));

    place(*cmdBackup, "cmdBackup", 2160, 4560, 1815, 615);
    describe(*cmdBackup, QStringLiteral("Back up cars"),
             QStringLiteral("Copy your active car set into the folder \"original\""));

    place(*lblSwap, "lblSwap", 120, 5160, 1815, 855);
    caption(*lblSwap, QStringLiteral("This button will change your tarvers to the set chosen above"), Qt::white);

    place(*lblBackup, "lblBackup", 2160, 5160, 1815, 855);
    caption(*lblBackup,
            QStringLiteral(
                "This button will backup whatever is currently in your tarvers folder to a folder called \"original\""),
            Qt::white);

    place(*lblSpare1, "lblSpare1", 4560, 960, 1815, 2055);
    panel(*lblSpare1);

    place(*cmdCheckPack, "cmdCheckPack", 4680, 1080, 1575, 615);
    describe(*cmdCheckPack, QStringLiteral("Check skinpacks"),
             QStringLiteral("Check on the league web site whether each of your skinpacks is up to date"));

    place(*Label1, "Label1", 4680, 1800, 1575, 1095);
    caption(
        *Label1,
        QStringLiteral("Use this button to check if all your skinpacks are up to date (requires internet connection"),
        Qt::white);

    place(*Label3, "Label3", 4560, 3000, 1815, 2055);
    panel(*Label3);

    place(*cmdCheckMeeting, "cmdCheckMeeting", 4680, 3120, 1575, 615);
    describe(*cmdCheckMeeting, QStringLiteral("Check next meeting"),
             QStringLiteral("Check that you have the skinpack and the track the league's next meeting needs"));

    place(*Label4, "Label4", 4680, 3720, 1575, 1215);
    caption(*Label4,
            QStringLiteral("Use this button to checkthat you have everything you need for the next meeting (internet "
                           "connection required)"),
            Qt::white);

    place(*cmdExit, "cmdExit", 4680, 5280, 1575, 615);
    describe(*cmdExit, QStringLiteral("Exit"), QStringLiteral("Close Tarvok Car Manager"));

    // Bottom to top: the banner and the labels beneath the controls, each panel beneath what it carries.
    for (QWidget* control : std::initializer_list<QWidget*>{
             Image1, lblSpare1, Label3, lblVersion, lblCurrentTit, Label5, lblSwap, lblBackup, Label1, Label4,
             lblCurrent, lstPacks, cmdDoIt, cmdBackup, cmdCheckPack, cmdCheckMeeting, cmdExit})
        control->raise();

    setTabOrder(cmdDoIt, cmdBackup);
    setTabOrder(cmdBackup, lblCurrent);
    setTabOrder(lblCurrent, cmdExit);
    setTabOrder(cmdExit, cmdCheckPack);
    setTabOrder(cmdCheckPack, cmdCheckMeeting);
    setTabOrder(cmdCheckMeeting, lstPacks);
    cmdDoIt->setFocus();
}

void FrmMain::setBackground(const QColor& colour) {
    paint(*this, QPalette::Window, colour);
}

// The label boxes are fixed, so the window's font is the largest in which every caption shows whole.
void FrmMain::useDefaultFont() {
    const QList<QLabel*> captions{lblVersion, lblCurrentTit, lblSwap, lblBackup, Label1, Label4};
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

void FrmMain::centreOnScreen() {
    // Most systems know the frame of a created window before it is first shown.
    create();
    const QSize outer = size().grownBy(windowHandle()->frameMargins());
    const QRect whole = screen()->geometry();
    move(whole.topLeft() + centredPosition(QSizeF(whole.size()), QSizeF(outer)));
}

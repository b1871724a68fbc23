#include "WindowTesting.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kPollMs = 5;
constexpr int kMaxPolls = 2000;

void pollForModal(const std::function<void(QWidget&)>& action, int pollsLeft) {
    QTimer::singleShot(kPollMs, qApp, [action, pollsLeft] {
        const QPointer<QWidget> box = QApplication::activeModalWidget();
        if (box && box->isVisible()) {
            action(*box);
            // A check that failed inside the action must not leave the box waiting for ever.
            if (box && box->isVisible())
                box->close();
        } else if (pollsLeft > 0) {
            pollForModal(action, pollsLeft - 1);
        }
    });
}

} // namespace

void whenModalShows(const std::function<void(QWidget& box)>& action) {
    pollForModal(action, kMaxPolls);
}

LoadedWindow::LoadedWindow(const QString& programFolder) : window(programFolder, network, clock) {
    whenModalShows([this](QWidget& box) {
        boxShownBeforeWindow = !window.isVisible();
        listEntriesWhileBoxShown = control<QListWidget>(window, QStringLiteral("lstPacks"))->count();
        auto* messageBox = qobject_cast<QMessageBox*>(&box);
        if (!messageBox)
            return;
        websiteBox = {box.windowTitle(), messageBox->text(), false};
        websiteBoxIcon = messageBox->icon();
        websiteBoxButtons = messageBox->standardButtons();
        websiteBoxFormat = messageBox->textFormat();
        boxCentre = messageBox->frameGeometry().center();
        QTest::mouseClick(messageBox->button(QMessageBox::Ok), Qt::LeftButton);
    });
    window.Form_Load();
}

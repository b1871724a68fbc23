#pragma once

#include "app/FrmMain.h"
#include "support/RecordingPorts.h"

#include <QMessageBox>

#include <functional>

// Runs the action on the next modal box as soon as it is up, from inside the box's own event loop.
void whenModalShows(const std::function<void(QWidget& box)>& action);

// The control of the window with that object name, or nullptr.
template <typename Control = QWidget> Control* control(const QWidget& window, const QString& name) {
    return window.findChild<Control*>(name, Qt::FindDirectChildrenOnly);
}

// The real window on a car folder, loaded as the program loads it, its "Website Location" box answered.
struct LoadedWindow {
    explicit LoadedWindow(const QString& programFolder);

    NoNetwork network;
    FixedClock clock{QDate(2026, 12, 6)};
    FrmMain window;

    ShownBox websiteBox;
    QMessageBox::Icon websiteBoxIcon = QMessageBox::Warning;
    QMessageBox::StandardButtons websiteBoxButtons;
    Qt::TextFormat websiteBoxFormat = Qt::AutoText;
    bool boxShownBeforeWindow = false;
    QPoint boxCentre;
    int listEntriesWhileBoxShown = -1;
};

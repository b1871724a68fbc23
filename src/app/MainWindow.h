#pragma once

#include "app/PictureButton.h"
#include "app/Pictures.h"
#include "app/WindowPorts.h"
#include "session/Session.h"

#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;

namespace app {

// The program's one window: the active car set, the installed skinpacks and the five commands.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(const QString& carFolder, league::HttpFetch& fetch, session::Clock& clock,
               std::chrono::milliseconds showProgressAfter = kShowProgressAfter);

    // The start-up, run once before the window is first shown.
    void load();
    // Installs archives once the events under way are handled: those the program was started with ("Open with",
    // files dropped on the program) once the window is up, those dropped on the window once the drag has ended.
    void installLater(const QStringList& archives);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Runs one command to its end while the window takes no input; a command never starts inside another.
    void run(const std::function<void()>& command);
    void setUpInstalling();
    PictureButton* pictureButton(pictures::Face face);
    void layOutControls();
    void setBackground(const QColor& colour);
    void useDefaultFont();
    void centreOnScreen();

    QLabel* banner_;
    QLabel* version_;
    QLabel* currentSetTitle_;
    QLineEdit* currentSet_;
    QLabel* packListTitle_;
    QListView* packList_;
    PackListModel* packEntries_;
    PictureButton* swapButton_;
    PictureButton* backupButton_;
    QLabel* swapText_;
    QLabel* backupText_;
    QLabel* checkPacksPanel_;
    PictureButton* checkPacksButton_;
    QLabel* checkPacksText_;
    QLabel* checkMeetingPanel_;
    PictureButton* checkMeetingButton_;
    QLabel* checkMeetingText_;
    PictureButton* exitButton_;
    QAction* installAction_;
    QMenu* packMenu_;

    WindowMessageBoxes boxes_;
    WindowPackList packListPort_;
    WindowCurrentSetBox currentSetPort_;
    WindowFetch fetch_;
    WindowProgress progress_;
    QString carFolder_;
    session::Session session_;
    bool commandRunning_ = false;
};

} // namespace app

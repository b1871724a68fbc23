#pragma once

#include "app/FormState.h"
#include "app/PictureButton.h"
#include "app/Pictures.h"
#include "app/Ports.h"
#include "app/WindowPorts.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

// The program's one window: the active car set, the installed skinpacks and the five commands.
class FrmMain : public QWidget {
    Q_OBJECT

public:
    FrmMain(const QString& programFolder, HttpFetch& inet1, Clock& clock,
            std::chrono::milliseconds showProgressAfter = kShowProgressAfter);

    // The start-up, run once before the window is first shown.
    void Form_Load();

private slots:
    void cmdDoIt_Click();
    void cmdBackup_Click();
    void cmdCheckPack_Click();
    void cmdCheckMeeting_Click();
    void cmdExit_Click();

private:
    // Runs one command to its end while the window takes no input; a command never starts inside another.
    void runCommand(void (*command)(FormState&, Ports&));
    PictureButton* pictureButton(pictures::Face face);
    void layOutControls();
    void setBackground(const QColor& colour);
    void useDefaultFont();
    void centreOnScreen();

    FormState st;

    QLabel* Image1;
    QLabel* lblVersion;
    QLabel* lblCurrentTit;
    QLineEdit* lblCurrent;
    QLabel* Label5;
    QListWidget* lstPacks;
    PictureButton* cmdDoIt;
    PictureButton* cmdBackup;
    QLabel* lblSwap;
    QLabel* lblBackup;
    QLabel* lblSpare1;
    PictureButton* cmdCheckPack;
    QLabel* Label1;
    QLabel* Label3;
    PictureButton* cmdCheckMeeting;
    QLabel* Label4;
    PictureButton* cmdExit;

    WindowMessageBox msgBox_;
    WindowPackList packList_;
    WindowCurrentSetBox currentSetBox_;
    WindowFetch inet1_;
    WindowProgress progress_;
    Ports ports;
    bool commandRunning_ = false;
};

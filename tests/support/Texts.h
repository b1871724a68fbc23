#pragma once

#include <QString>

// The program's own box texts that several tests expect.
inline const QString kAsk = "Wait a Minute! | Warning! This will copy your current cars to the original folder!\r\n"
                            "Are you sure you want to do this?";
inline const QString kFailed = "Oops... | Some files could not be copied:\r\n";
inline const QString kOk = "Everything appears to be OK for the next meeting.";
inline const QString kProblems = "There seem to be problems which may stop you racing the next meeting.\r\n"
                                 "Please visit the Tarvok website to fix the problems.";
inline const QString kBusy = "Tarvok Car Manager | Another copy of Tarvok Car Manager is changing the cars in this "
                             "folder right now.\r\nWait until it has finished, then try again.";

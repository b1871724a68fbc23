#include "meeting/MeetingCheck.h"

#include "fs/FileSystem.h"
#include "league/Download.h"
#include "league/PackStatus.h"
#include "league/PackVersionList.h"
#include "meeting/MeetingList.h"

void subCheckMeetings(FormState& st, Ports& ui) {
    st.strMessage.clear();
    st.intProblem = 0;
    // Every step runs whatever the earlier ones found, so the report always reaches the member.
    const std::optional<QByteArray> meetings = subDownloadFile(st, ui.inet1, QStringLiteral("tarvmeet.txt"));
    subReadMeetings(st, ui.clock, meetings);
    const std::optional<QByteArray> packs = subDownloadFile(st, ui.inet1, kPackVersionList);
    const DateValue published = subGetPackDate(st, packs);
    subCheckPack(st, st.strMeetPack, published);
    subCheckTrack(st);
    subMessageEnd(st);
    ui.msgBox.msgBox(st.strMessage, QStringLiteral("Meeting Info"));
}

void subCheckTrack(FormState& st) {
    // The track name is used as the list spells it, blanks and letter case included; one that
    // holds a path names no track.
    const std::optional<fs::Path> track = fs::singleName(st.strMeetTrack);
    const std::optional<fs::Path> trackFile = fs::singleName(st.strMeetTrack + QStringLiteral(".trk"));
    if (track && trackFile && fs::isFile(st.appPath / ".." / "run" / *trackFile)) {
        st.strMessage += QStringLiteral("The ") + st.strMeetTrack + QStringLiteral(" track is installed\r\n");
        return;
    }
    st.strMessage += QStringLiteral("The ") + st.strMeetTrack + QStringLiteral(" track is not installed\r\n");
    st.intProblem = 1;
}

void subMessageEnd(FormState& st) {
    if (st.intProblem != 0)
        st.strMessage += QStringLiteral("There seem to be problems which may stop you racing the next meeting.\r\n"
                                        "Please visit the Tarvok website to fix the problems.");
    else
        st.strMessage += QStringLiteral("Everything appears to be OK for the next meeting.");
}

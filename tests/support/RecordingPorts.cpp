#include "support/RecordingPorts.h"

void RecordingMessageBox::msgBox(const QString& prompt, const QString& title) {
    shown.append({title, prompt, false});
}

bool RecordingMessageBox::askYesNo(const QString& prompt, const QString& title) {
    shown.append({title, prompt, true});
    return answers.isEmpty() ? false : answers.takeFirst();
}

void RecordingCurrentSetBox::setText(const QString& value) {
    text = value;
    ++writes;
}

std::optional<QByteArray> NoNetwork::fetch(const QString& url) {
    requested.append(url);
    return std::nullopt;
}

RecordingPorts::RecordingPorts(HttpFetch* network, QDate today)
    : clock(today), ports{msgBox, lstPacks, lblCurrent, network ? *network : noNetwork, clock} {}

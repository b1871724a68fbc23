#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// How a child ended: the bytes its work returned when it ran to its end, or killed as by kill -9.
struct ChildEnd {
    std::optional<QByteArray> output;
    bool killed = false;
};

// What a child runs: a plain function of its arguments, for where there is no fork (Windows) the child is this test
// executable started afresh, which knows nothing else of the test. It needs no window.
using ChildWork = QByteArray (*)(const QStringList& arguments);

// Runs work(arguments) in a child process, ending it after a minute at the latest; an unprivileged child (POSIX only)
// may not write where only root may, for a root child becomes the user nobody.
ChildEnd runInChild(ChildWork work, const QStringList& arguments, bool unprivileged = false);

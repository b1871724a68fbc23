#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "league/LeagueFile.h"
#include "league/NetworkFetch.h"
#include "LeagueServer.h"
#include "support/CarFolder.h"
#include "support/Recorder.h"

using namespace carsets;
using namespace league;
using namespace meeting;
using namespace session;

namespace {

const QString kLater = QStringLiteral("2003-02-02");

// Every listed pack is installed; the odd ones are current, the even ones out of date.
QByteArray versionList(int packs) {
    QByteArray list = QByteArray::number(packs) + "\r\n";
    for (int number = 1; number <= packs; ++number)
        list += (BenchData::packName(number) + QLatin1Char('|') + (number % 2 ? BenchData::kInstalledDate : kLater) +
                 QStringLiteral("\r\n"))
                    .toUtf8();
    return list;
}

void packStatusBenchmark(benchmark::State& state, BenchData& data, int packs) {
    leagueserver::LeagueServer site;
    const QByteArray list = versionList(packs);
    site.publish(kPackVersionList, list);
    const QString folder = data.packFolders(packs);
    QFile config(folder + QStringLiteral("/ZERN.cfg"));
    if (!config.open(QIODevice::WriteOnly) || config.write(site.baseUrl().toUtf8()) < 0) {
        failBenchmark(state, "the car folder cannot name the league site");
        return;
    }
    config.close();
    NetworkFetch network;
    StartedSession started(fs::fromQt(folder), network);
    const auto check = [&] {
        started.session.checkPacks();
        const QStringList boxes = started.window.takeBoxes();
        return boxes.size() == 2 && boxes[1].count(QStringLiteral(" is up to date\r\n")) == (packs + 1) / 2 &&
               boxes[1].count(QStringLiteral(" is out of date\r\n")) == packs / 2;
    };
    // Its floor: the list fetched, and the head of every pack's drivers.txt read.
    const auto fetch = [&] { return network.fetch(site.baseUrl() + kPackVersionList) == list; };
    if (!check() || !fetch() || !runShell(kPackHeads, {folder})) {
        failBenchmark(state, "the pack status check did not judge every listed pack");
        return;
    }
    double ours = 0;
    double bare = 0;
    for (auto _ : state) {
        bool checked = false;
        bool fetched = false;
        const double checking = secondsOf([&] { checked = check(); });
        const double fetching = secondsOf([&] { fetched = fetch(); });
        const std::optional<ProcessCost> heads = runShell(kPackHeads, {folder});
        if (!checked || !fetched || !heads) {
            failBenchmark(state, "a check, a fetch or the reading of the packs failed");
            return;
        }
        ours += checking;
        bare += fetching + heads->seconds;
        state.SetIterationTime(checking);
    }
    state.counters["ratio"] = ours / bare;
    state.counters["floor_ms"] = bare * 1000 / static_cast<double>(state.iterations());
    recordFigure(Figure::PackStatus, ours / bare);
}

} // namespace

void registerPackStatusBenchmark(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark(
                 "pack_status",
                 [&data, &scale](benchmark::State& state) { packStatusBenchmark(state, data, scale.listedPacks); }),
             scale.quickIterations, scale);
}

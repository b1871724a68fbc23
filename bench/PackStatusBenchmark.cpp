#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "league/NetworkFetch.h"
#include "league/PackStatus.h"
#include "league/PackVersionList.h"
#include "support/LeagueSite.h"
#include "support/RecordingPorts.h"

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
    LeagueSite site;
    const QByteArray list = versionList(packs);
    site.publish(kPackVersionList, list);
    FormState st;
    st.appPath = fs::fromQt(data.packFolders(packs));
    st.strWebsite = site.baseUrl();
    NetworkFetch inet1;
    const auto check = [&] {
        RecordingPorts ui(&inet1);
        subCheckAllPacks(st, ui.ports);
        return ui.msgBox.shown.size() == 2 &&
               st.strMessage.count(QStringLiteral(" is up to date\r\n")) == (packs + 1) / 2 &&
               st.strMessage.count(QStringLiteral(" is out of date\r\n")) == packs / 2;
    };
    const auto fetch = [&] { return inet1.fetch(st.strWebsite + kPackVersionList) == list; };
    if (!check() || !fetch()) {
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
        if (!checked || !fetched) {
            failBenchmark(state, "a check or a fetch failed");
            return;
        }
        ours += checking;
        bare += fetching;
        state.SetIterationTime(checking);
    }
    state.counters["ratio"] = ours / bare;
    state.counters["fetch_ms"] = bare * 1000 / static_cast<double>(state.iterations());
    recordFigure(Figure::PackStatus, ours / bare);
}

} // namespace

void registerPackStatusBenchmark(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark(
                 "pack_status",
                 [&data, &scale](benchmark::State& state) { packStatusBenchmark(state, data, scale.listedPacks); }),
             scale.quickIterations, scale);
}

// vantic-chart-render chart|statement ... < PLAYS.csv: draws the
// proof-of-play chart (SVG, PNG or PDF) or writes a clip's statement (PDF)
// from the rows of a proof-of-play CSV on standard input, with the
// controller's own chart code. vanticctl runs it for "report plays --chart"
// and "--statement"; see ChartRequestArguments for the command line.

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <iterator>

#include "platform/system_clock.h"
#include "qt/qt_clip_statement.h"
#include "qt/qt_play_chart.h"
#include "qt/qt_text.h"
#include "reports/chart_request.h"
#include "reports/play_export.h"

namespace {

int Fail(const std::string& error) {
    std::fprintf(stderr, "vantic-chart-render: %s\n", error.c_str());
    return 1;
}

int Draw(const vantic::ChartRequest& request, const std::vector<vantic::PlayRow>& rows) {
    using vantic::ChartRequest;
    const QString path = vantic::FromPath(request.path);
    if (request.kind == ChartRequest::Kind::Chart) {
        const vantic::PlayChart chart = vantic::BuildPlayChart(rows, request.range, request.form);
        return vantic::WritePlayChartFile(chart, request.form.style, path)
                   ? 0
                   : Fail("cannot write " + request.path);
    }
    const std::optional<vantic::StatementClip> clip = vantic::FindStatementClip(rows, request.clip);
    if (!clip) {
        return Fail("no clip named " + request.clip + " played in those days");
    }
    vantic::SystemClock clock;
    const vantic::ClipStatement statement =
        vantic::BuildClipStatement(rows, request.range, *clip, clock.LocalNow());
    return vantic::WriteStatementPdf(statement, path) ? 0 : Fail("cannot write " + request.path);
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<vantic::ChartRequest> request =
        vantic::ReadChartRequest(std::vector<std::string>(argv + 1, argv + argc));
    if (!request) {
        std::fprintf(stderr,
                     "usage: vantic-chart-render chart --from YYYY-MM-DD --to YYYY-MM-DD "
                     "--channel 0-3 [--unit N] [--lines] --out FILE.svg|FILE.png|FILE.pdf\n"
                     "       vantic-chart-render statement --from YYYY-MM-DD --to YYYY-MM-DD "
                     "--clip NAME --out FILE.pdf\n"
                     "The proof-of-play CSV is read from standard input.\n");
        return 1;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no window is ever shown
    }
    QApplication application(argc, argv);
    const std::string csv(std::istreambuf_iterator<char>(std::cin), {});
    const std::optional<std::vector<vantic::PlayRow>> rows = vantic::ReadPlayRowsCsv(csv);
    if (!rows) {
        return Fail("standard input is not a proof-of-play CSV");
    }
    return Draw(*request, *rows);
}

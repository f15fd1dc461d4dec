// The report window with a status report of 1,000 units: loading the
// document into the viewer, and laying it out onto PDF pages with the
// print code. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QTextBrowser>

#include <string>

#include "core/cpstringarray.h"
#include "core/product_identity.h"
#include "qt/qt_report_print.h"
#include "qt/qt_report_window.h"
#include "reports/report_document.h"

namespace {

// A page per unit as the status report writes it: title, times, four
// channels of playlists and proof of run, the configuration.
std::string StatusSizedReport(int units) {
    vantic::cpStringArray document;
    vantic::AppendRtfHeader(document);
    for (int unit = 1; unit <= units; ++unit) {
        document.AppendFormat("\\fs48 Media Player Report \\par\\fs24 \\fs48 Lobby %d \\par\\fs24 ",
                              unit);
        document.AppendCopy("\\par Report Generated: Sun Dec 06 13:52:13 2026\n \\par\r\n");
        document.AppendFormat("Vantic serial number %d \\par\r\n", unit);
        document.AppendCopy("\\par\\b Current System Playlist: \\b0\\par\r\n");
        for (int channel = 0; channel < 4; ++channel) {
            document.AppendCopy("--Video Channel: \\par\r\n");
            for (int clip = 0; clip < 3; ++clip) {
                document.AppendFormat("      clip%d.mpg \\par\r\n", clip);
            }
        }
        document.AppendCopy(
            "\\par\\b Proof of Runtime: From 01/01/2026 To 12/31/2026 \\b0\\par\r\n");
        for (int clip = 0; clip < 8; ++clip) {
            document.AppendFormat(" %d - clip%d.mpg \\par\r\n", 100 + clip, clip);
        }
        document.AppendCopy("\\par\\b Current Configuration Information: \\b0\\par\r\n");
        document.AppendFormat("Version: %s \\par\r\nVideo Mode: Loop \\par\r\n\\par \\page\r\n",
                              std::string(vantic::identity::kVersion).c_str());
    }
    document.AppendCopy(" }\r\n");
    return document.Join("") + '\0';
}

const std::string& Report() {
    static const std::string report = StatusSizedReport(1000);
    return report;
}

void BM_LoadIntoViewer(benchmark::State& state) {
    QTextBrowser viewer;
    for (auto _ : state) {
        vantic::LoadRichText(viewer, Report());
        benchmark::DoNotOptimize(viewer.document()->blockCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Report().size()));
}
BENCHMARK(BM_LoadIntoViewer)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LayOutToPdf(benchmark::State& state) {
    int pages = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pages = vantic::PrintReportTo(pdf, Report()).pages;
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LayOutToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

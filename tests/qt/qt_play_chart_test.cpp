// The proof-of-play chart on Qt: the files it saves are what their kind
// says, the chart window follows the channel and unit chosen, and the
// status report's window offers it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBarSet>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTimer>
#include <QXmlStreamReader>
#include <set>

#include "qt/qt_clip_statement.h"
#include "qt/qt_platform.h"
#include "qt/qt_play_chart.h"
#include "qt/qt_play_chart_window.h"
#include "qt/qt_report_window.h"
#include "qt/qt_window.h"
#include "reports/report_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/scripted_play_chart.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::WhenModal;

const ReportDateRange kMarch{{2026, 3, 1}, {2026, 3, 31}};

std::vector<PlayRow> Rows() {
    std::vector<PlayRow> rows;
    for (int day = 1; day <= 31; ++day) {
        rows.push_back({4, "Lobby", 0, "welcome.mpg", std::string(32, 'a'), {2026, 3, day}, day});
        rows.push_back({9, "Bar", 0, "promo.mpg", std::string(32, 'b'), {2026, 3, day}, 3});
        rows.push_back({12, "Door", 2, "song.mp3", std::string(32, 'c'), {2026, 3, day}, 1});
    }
    return rows;
}

QByteArray ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(QtPlayChart, SavedFilesAreImagesSvgAndPdfThatShowTheChart) {
    testing::TempDir dir;
    const PlayChart chart = BuildPlayChart(Rows(), kMarch, PlayChartForm{});
    const ClipStatement statement = BuildClipStatement(
        Rows(), kMarch, {std::string(32, 'a'), "welcome.mpg"}, LocalTime{2026, 4, 2, 9, 30, 0, 4});
    for (const ChartStyle style : {ChartStyle::StackedBars, ChartStyle::Lines}) {
        ASSERT_TRUE(WritePlayChartFile(chart, style, QString::fromStdString(dir.File("c.png"))));
        const QImage image(QString::fromStdString(dir.File("c.png")));
        ASSERT_EQ(image.size(), QSize(kChartImageWidth, kChartImageHeight));
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7) {
                colours.insert(image.pixel(x, y));
            }
        }
        EXPECT_GT(colours.size(), 8u);

        ASSERT_TRUE(WritePlayChartFile(chart, style, QString::fromStdString(dir.File("c.svg"))));
        QXmlStreamReader svg(ReadAll(dir.File("c.svg")));
        int elements = 0;
        while (svg.readNext() != QXmlStreamReader::EndDocument && !svg.hasError()) {
            elements += svg.isStartElement() ? 1 : 0;
        }
        EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
        EXPECT_GT(elements, 50);
    }
    ASSERT_TRUE(WritePlayChartFile(chart, ChartStyle::StackedBars,
                                   QString::fromStdString(dir.File("c.pdf"))));
    EXPECT_TRUE(ReadAll(dir.File("c.pdf")).startsWith("%PDF"));
    ASSERT_TRUE(WriteStatementPdf(statement, QString::fromStdString(dir.File("s.pdf"))));
    EXPECT_TRUE(ReadAll(dir.File("s.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(StatementHtml(statement).contains("<td align=\"right\">496</td>"));
    EXPECT_FALSE(WritePlayChartFile(chart, ChartStyle::Lines,
                                    QString::fromStdString(dir.File("none/c.png"))));
}

TEST(QtPlayChart, TheWindowShowsTheChosenChannelAndUnitAndSavesWhatItShows) {
    const std::vector<PlayRow> rows = Rows();
    std::vector<std::pair<std::string, ChartFile>> saved;
    std::vector<std::string> titles;
    std::size_t stackedSets = 0;
    std::string hover;
    WhenModal([&](QDialog* modal) {
        auto* dialog = dynamic_cast<QtPlayChartDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_GE(dialog->View().width(), 800);
        titles.push_back(dialog->Shown().title);
        dialog->ChannelChoice().setCurrentIndex(2);
        titles.push_back(dialog->Shown().title);
        dialog->UnitChoice().setCurrentIndex(2);
        titles.push_back(dialog->Shown().title);
        dialog->ChannelChoice().setCurrentIndex(0);
        auto* bars = qobject_cast<QStackedBarSeries*>(dialog->View().chart()->series().value(0));
        stackedSets = bars != nullptr ? static_cast<std::size_t>(bars->count()) : 0;
        if (bars != nullptr && bars->count() > 0) {
            emit bars->barSets().front()->hovered(true, 4);
            hover = dialog->HoverLine().toStdString();
        }
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == "Save Image..." || button->text() == "Save PDF...") {
                button->click();
            }
        }
        dialog->reject();
    });
    PlayChartForm form;
    QtPlayChartView view;
    view.RunPlayChart(
        kNoWindow, {4, 9, 12}, form,
        [&rows](const PlayChartForm& choice) { return BuildPlayChart(rows, kMarch, choice); },
        [&saved](WindowId, ChartFile kind, const PlayChart& chart, ChartStyle) {
            saved.emplace_back(chart.title, kind);
        });
    const std::string days = ": 03/01/2026 to 03/31/2026";
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Video, All units" + days, "Audio A, All units" + days,
                                        "Audio A, Media Player #9" + days}));
    EXPECT_EQ(form, (PlayChartForm{0, 9, ChartStyle::StackedBars}));
    EXPECT_EQ(stackedSets, 1u);
    EXPECT_EQ(hover, "promo.mpg: 03/05: 3 plays");
    const std::string shown = "Video, Media Player #9" + days;
    EXPECT_EQ(saved, (std::vector<std::pair<std::string, ChartFile>>{{shown, ChartFile::Image},
                                                                     {shown, ChartFile::Pdf}}));
}

TEST(QtPlayChart, TheStatusReportWindowOffersChartAndStatementAfterExportCsv) {
    testing::TempDir dir;
    QtPlatform platform;
    QtReportWindowView view;
    testing::ScriptedPlayChart charts;
    WReg settings;
    settings.SetSettingsLocation({dir.Path(), {}});
    std::vector<QRect> buttons;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<QtReportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const ReportButton id :
             {ReportButton::Save, ReportButton::ExportCsv, ReportButton::Chart,
              ReportButton::Statement, ReportButton::Done}) {
            QWidget* button = dialog->Button(id);
            buttons.push_back(button != nullptr ? button->geometry() : QRect());
        }
        dialog->Button(ReportButton::Done)->click();
    });
    OpenReportWindow(ReportMode::Status,
                     ReportContext{platform, settings, view, kNoWindow, &charts}, {});
    // In that order along one row, none covering another.
    ASSERT_EQ(buttons.size(), 5u);
    for (std::size_t i = 1; i < buttons.size(); ++i) {
        EXPECT_FALSE(buttons[i].isNull()) << i;
        EXPECT_EQ(buttons[i].y(), buttons[0].y()) << i;
        EXPECT_GT(buttons[i].x(), buttons[i - 1].right()) << i;
    }
}

}  // namespace
}  // namespace vantic

// vantic-manual-pdf IN.txt OUT.pdf [--letter]: lays the user manual's plain
// text source out as a PDF (A4 unless --letter) with Qt's text layout.
//
// The source's markup, one construct per line:
//   "# Title"      a heading          "## Title"  a subheading
//   "- text"       a bullet           blank line  ends a paragraph
//   "    text"     an example line (indented by at least four blanks)
//   "![Caption](pictures/x.png)"  a picture, centred, its caption below;
//                  the path is relative to the source's folder
// Other lines are running text; consecutive lines join into one paragraph.
// "@VERSION@" anywhere stands for the program's version.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/product_identity.h"

namespace {

enum class Block { None, Paragraph, Bullets, Example };

// Pictures wider than this (in the document's pixels) are scaled down to
// fit the text's width.
constexpr int kPictureWidth = 560;

// Turns the manual's markup into the HTML subset QTextDocument lays out.
class ManualHtml {
  public:
    explicit ManualHtml(QDir folder) : folder_(std::move(folder)) {}

    void AddLine(const QString& line) {
        if (line.trimmed().isEmpty()) {
            Close();
            return;
        }
        static const QRegularExpression picture(QStringLiteral(R"(^!\[(.*)\]\((.+)\)\s*$)"));
        if (const QRegularExpressionMatch match = picture.match(line); match.hasMatch()) {
            AddPicture(match.captured(1).trimmed(), match.captured(2).trimmed());
            return;
        }
        if (line.startsWith(QLatin1String("    "))) {
            Open(Block::Example);
            exampleLines_ << line.mid(4).toHtmlEscaped();
            return;
        }
        if (line.startsWith(QLatin1String("## "))) {
            Close();
            html_ += QStringLiteral("<h2>%1</h2>\n").arg(line.mid(3).trimmed().toHtmlEscaped());
            return;
        }
        if (line.startsWith(QLatin1String("# "))) {
            Close();
            html_ += QStringLiteral("<h1>%1</h1>\n").arg(line.mid(2).trimmed().toHtmlEscaped());
            return;
        }
        if (line.startsWith(QLatin1String("- "))) {
            Open(Block::Bullets);
            html_ += QStringLiteral("<li>%1</li>\n").arg(line.mid(2).trimmed().toHtmlEscaped());
            return;
        }
        Open(Block::Paragraph);
        html_ += line.trimmed().toHtmlEscaped() + QLatin1Char(' ');
    }

    [[nodiscard]] QString Finish() {
        Close();
        return QStringLiteral("<html><body>\n") + html_ + QStringLiteral("</body></html>\n");
    }
    // The pictures by the names the HTML gives them.
    [[nodiscard]] const QMap<QString, QImage>& Pictures() const { return pictures_; }
    // The pictures that could not be read.
    [[nodiscard]] const QStringList& Missing() const { return missing_; }

  private:
    void AddPicture(const QString& caption, const QString& path) {
        Close();
        const QImage image(folder_.filePath(path));
        if (image.isNull()) {
            missing_ << folder_.filePath(path);
            return;
        }
        pictures_.insert(path, image);
        html_ +=
            QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"%2\"><br><i>%3</i></p>\n")
                .arg(path.toHtmlEscaped())
                .arg(std::min(image.width(), kPictureWidth))
                .arg(caption.toHtmlEscaped());
    }

    void Open(Block block) {
        if (block == block_) {
            return;
        }
        Close();
        block_ = block;
        if (block == Block::Paragraph) {
            html_ += QStringLiteral("<p>");
        } else if (block == Block::Bullets) {
            html_ += QStringLiteral("<ul>\n");
        }
    }

    void Close() {
        if (block_ == Block::Paragraph) {
            html_ += QStringLiteral("</p>\n");
        } else if (block_ == Block::Bullets) {
            html_ += QStringLiteral("</ul>\n");
        } else if (block_ == Block::Example) {
            html_ += QStringLiteral("<pre>") + exampleLines_.join(QLatin1Char('\n')) +
                     QStringLiteral("</pre>\n");
            exampleLines_.clear();
        }
        block_ = Block::None;
    }

    QDir folder_;
    QString html_;
    QStringList exampleLines_;
    Block block_ = Block::None;
    QMap<QString, QImage> pictures_;
    QStringList missing_;
};

constexpr const char* kStyle =
    "body { font-family: sans-serif; font-size: 10.5pt; }"
    "h1 { font-size: 18pt; font-weight: bold; margin-top: 18px; margin-bottom: 8px; }"
    "h2 { font-size: 13pt; font-weight: bold; margin-top: 12px; margin-bottom: 4px; }"
    "p { margin-top: 0px; margin-bottom: 8px; }"
    "pre { font-family: monospace; font-size: 9.5pt; margin-left: 24px; }";

}  // namespace

int main(int argc, char* argv[]) {
    const bool letter = argc == 4 && QLatin1String(argv[3]) == QLatin1String("--letter");
    if (argc != 3 && !letter) {
        std::fprintf(stderr, "usage: vantic-manual-pdf IN.txt OUT.pdf [--letter]\n");
        return 1;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no window is ever shown
    }
    QGuiApplication application(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vantic-manual-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    ManualHtml html(QFileInfo(in.fileName()).absoluteDir());
    const QString version =
        QString::fromUtf8(vantic::identity::kVersion.data(), vantic::identity::kVersion.size());
    const QStringList lines = QString::fromUtf8(in.readAll())
                                  .replace(QLatin1String("@VERSION@"), version)
                                  .split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        html.AddLine(QString(line).remove(QLatin1Char('\r')));
    }
    const QString body = html.Finish();
    for (const QString& missing : html.Missing()) {
        std::fprintf(stderr, "vantic-manual-pdf: cannot read the picture %s\n",
                     qPrintable(missing));
    }
    if (!html.Missing().isEmpty()) {
        return 1;
    }

    // The PDF replaces OUT.pdf only once it is complete.
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "vantic-manual-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter pdf(&out);
        pdf.setResolution(300);
        pdf.setTitle(QStringLiteral("Vantic Controller User Manual"));
        pdf.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                      QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
        QTextDocument document;
        document.setDefaultStyleSheet(QLatin1String(kStyle));
        for (auto picture = html.Pictures().begin(); picture != html.Pictures().end(); ++picture) {
            document.addResource(QTextDocument::ImageResource, QUrl(picture.key()),
                                 picture.value());
        }
        document.setHtml(body);
        // Without a page size of its own the document is laid out on the
        // writer's pages and each page gets its number at the bottom.
        document.print(&pdf);
    }
    if (!out.commit()) {
        std::fprintf(stderr, "vantic-manual-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

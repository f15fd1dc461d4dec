#include "qt/probe/window_check.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLayout>
#include <QRegion>
#include <QScrollBar>
#include <QWidget>

namespace vantic {

namespace {

// A viewer smaller than this shows nothing useful.
constexpr QSize kSmallestViewport(24, 16);

QString SizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString NameOf(const QWidget& control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        if (!button->text().isEmpty()) {
            return QStringLiteral("button \"%1\"").arg(button->text().remove(QLatin1Char('&')));
        }
    }
    const QString name = control.objectName();
    return QString::fromLatin1(control.metaObject()->className()) +
           (name.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(name));
}

// Where control lies in window, and whether all of it can be seen there:
// inside the window and not cut off by any widget it sits in.
void CheckPlacement(const QWidget& window, const QWidget& control, const QString& what,
                    QStringList& problems) {
    const QRect place(control.mapTo(&window, QPoint(0, 0)), control.size());
    if (!window.rect().contains(place)) {
        problems << QStringLiteral("%1 lies outside the window (%2 at %3,%4 in %5)")
                        .arg(what, SizeText(place.size()))
                        .arg(place.x())
                        .arg(place.y())
                        .arg(SizeText(window.size()));
        return;
    }
    const QRegion seen = control.visibleRegion();
    if (seen.isEmpty() || seen.boundingRect() != control.rect()) {
        problems << QStringLiteral("%1 is partly hidden (%2 of %3 seen)")
                        .arg(what, SizeText(seen.boundingRect().size()), SizeText(control.size()));
    }
}

void CheckButtons(const QWidget& window, QStringList& problems) {
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisible()) {
            continue;  // on a page not shown, or not offered here
        }
        const QString what = NameOf(*button);
        CheckPlacement(window, *button, what, problems);
        const QSize needed = button->minimumSizeHint();
        if (button->text().isEmpty()) {
            continue;  // an icon's button: its size is the style's business
        }
        if (button->width() < needed.width() || button->height() < needed.height()) {
            problems << QStringLiteral("%1 is %2, too small for its text (%3)")
                            .arg(what, SizeText(button->size()), SizeText(needed));
        }
    }
}

void CheckScrollBar(const QWidget& window, const QAbstractScrollArea& area, const QScrollBar& bar,
                    Qt::ScrollBarPolicy policy, QStringList& problems) {
    const QString what = QStringLiteral("the %1 scroll bar of %2")
                             .arg(bar.orientation() == Qt::Vertical ? QStringLiteral("vertical")
                                                                    : QStringLiteral("horizontal"),
                                  NameOf(area));
    const bool needed = policy == Qt::ScrollBarAlwaysOn ||
                        (policy == Qt::ScrollBarAsNeeded && bar.maximum() > bar.minimum());
    if (!bar.isVisible()) {
        if (needed) {
            problems << what + QStringLiteral(" is not shown");
        }
        return;
    }
    CheckPlacement(window, bar, what, problems);
}

void CheckScrollAreas(const QWidget& window, QStringList& problems) {
    for (const QAbstractScrollArea* area : window.findChildren<QAbstractScrollArea*>()) {
        if (!area->isVisible() || qobject_cast<const QHeaderView*>(area) != nullptr) {
            continue;  // a list's header is checked with its list
        }
        CheckPlacement(window, *area, NameOf(*area), problems);
        const QSize viewport = area->viewport()->size();
        if (viewport.width() < kSmallestViewport.width() ||
            viewport.height() < kSmallestViewport.height()) {
            problems << QStringLiteral("%1 shows only %2").arg(NameOf(*area), SizeText(viewport));
        }
        CheckScrollBar(window, *area, *area->verticalScrollBar(), area->verticalScrollBarPolicy(),
                       problems);
        CheckScrollBar(window, *area, *area->horizontalScrollBar(),
                       area->horizontalScrollBarPolicy(), problems);
    }
}

}  // namespace

QStringList WindowProblems(const QWidget& window, QSize screenSize) {
    QStringList problems;
    QSize minimum = window.minimumSize();
    if (const QLayout* layout = window.layout()) {
        minimum = minimum.expandedTo(layout->totalMinimumSize());
    }
    if (window.width() < minimum.width() || window.height() < minimum.height()) {
        problems << QStringLiteral("the window is %1, below its minimum %2")
                        .arg(SizeText(window.size()), SizeText(minimum));
    }
    const QRect frame = window.frameGeometry();
    if (!QRect(QPoint(0, 0), screenSize).contains(frame)) {
        problems << QStringLiteral("the window's frame (%1 at %2,%3) does not fit a %4 screen")
                        .arg(SizeText(frame.size()))
                        .arg(frame.x())
                        .arg(frame.y())
                        .arg(SizeText(screenSize));
    }
    CheckButtons(window, problems);
    CheckScrollAreas(window, problems);
    return problems;
}

}  // namespace vantic

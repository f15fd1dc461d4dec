#include "qt/qt_about.h"

#include "qt/qt_blocking_calls.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "qt/qt_pictures.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

QLabel* Line(const std::string& text, int itemId = 0) {
    auto* label = new QLabel(FromText(text));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    if (itemId != 0) {
        SetItemId(label, itemId);
    }
    return label;
}

// Blue and underlined in the dialog's own font, with a hand to show it can
// be clicked.
QLabel* LinkLine(const std::string& text, int itemId) {
    QLabel* label = Line(text, itemId);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

class AboutBox final : public QDialog {
  public:
    AboutBox(QWidget* owner, const AboutForm& form, AboutLinks& links)
        : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          links_(links) {
        setWindowTitle(FromText(form.title));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(18, 14, 18, 12);
        layout->setSpacing(3);

        auto* picture = new QLabel;
        picture->setPixmap(
            QPixmap::fromImage(PaintPicture(form.pictureId, picture->devicePixelRatioF())));
        picture->setAlignment(Qt::AlignCenter);
        SetItemId(picture, about_item::kPicture);
        layout->addWidget(picture);
        layout->addSpacing(8);

        auto* build = new QHBoxLayout;
        build->setSpacing(0);
        build->addStretch();
        build->addWidget(new QLabel(FromText(form.buildLabel)));
        build->addWidget(Line(form.buildCode, about_item::kBuildCode));
        build->addStretch();
        layout->addLayout(build);
        layout->addSpacing(8);

        QLabel* maker = Line(form.maker);
        QFont bold = maker->font();
        bold.setBold(true);
        maker->setFont(bold);
        layout->addWidget(maker);
        email_ = LinkLine(form.emailLine, about_item::kEmail);
        layout->addWidget(email_);
        web_ = LinkLine(form.webAddressLine, about_item::kWebAddress);
        layout->addWidget(web_);
        layout->addWidget(Line(form.telephoneLine));
        layout->addSpacing(8);
        layout->addWidget(Line(form.thanks));
        layout->addSpacing(6);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
        buttons->setCenterButtons(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }

  protected:
    // The two links are tested independently, by where the button came up.
    void mouseReleaseEvent(QMouseEvent* event) override {
        QDialog::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton) {
            return;
        }
        const QPoint at = event->globalPosition().toPoint();
        if (Hit(web_, at)) {
            links_.OpenWebAddress(IdOf(this));
        }
        if (Hit(email_, at)) {
            links_.ComposeSalesInquiry(IdOf(this));
        }
    }

  private:
    static bool Hit(const QLabel* label, const QPoint& global) {
        return QRect(label->mapToGlobal(QPoint(0, 0)), label->size()).contains(global);
    }

    AboutLinks& links_;
    QLabel* email_ = nullptr;
    QLabel* web_ = nullptr;
};

}  // namespace

QDialog* NewAboutBox(QWidget* owner, const AboutForm& form, AboutLinks& links) {
    return new AboutBox(owner, form, links);
}

void QtAboutView::RunAboutBox(WindowId owner, const AboutForm& form, AboutLinks& links) {
    OnUiThread([&] {
        std::unique_ptr<QDialog> box(NewAboutBox(WidgetOf(owner), form, links));
        box->exec();
    });
}

}  // namespace vantic

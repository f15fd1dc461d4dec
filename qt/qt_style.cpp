#include "qt/qt_style.h"

#include <QProxyStyle>

namespace vantic {
namespace {

class ProgramStyle final : public QProxyStyle {
  public:
    explicit ProgramStyle(QStyle* base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QStyle* NewProgramStyle(QStyle* base) {
    // A proxy without a base style wraps the platform's default one.
    return new ProgramStyle(base);
}

void ApplyProgramStyle(QApplication& app) {
    app.setStyle(NewProgramStyle());  // the application takes ownership
}

}  // namespace vantic

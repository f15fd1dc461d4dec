#pragma once

// The unit editor on Qt: the modal dialog "Editing Unit" bound to a
// UnitForm. The rules (the password box emptying on focus, the pickers
// following "Restrict", the colour choice) come from
// units/unit_editor_form.h; this file only moves values between the form
// and the widgets.

#include <QDialog>
#include <QWidget>

#include "framework/bitmap_surface.h"
#include "platform/colour_chooser.h"
#include "qt/qt_window_system.h"
#include "units/unit_editor_form.h"

class QCheckBox;
class QLineEdit;
class QTimeEdit;

namespace vantic {

class QtUnitEditor final : public UnitFormView {
  public:
    // "PIck..." and "Pick..." ask chooser for the colour.
    explicit QtUnitEditor(ColourChooser& chooser) : chooser_(chooser) {}
    bool RunUnitEditor(WindowId owner, UnitForm& form) override;

  private:
    ColourChooser& chooser_;
};

// A colour swatch: a bitmap surface the size of its frame, drawn into the
// frame whenever it paints.
class ColourSwatch final : public QWidget {
  public:
    explicit ColourSwatch(std::uint32_t colour, QWidget* parent = nullptr);
    void Fill(std::uint32_t colour);
    [[nodiscard]] std::uint32_t Colour() const { return colour_; }
    [[nodiscard]] const BitmapSurface& Surface() const { return surface_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::uint32_t colour_ = 0;
    QtDisplays screen_;
    BitmapSurface surface_{screen_};
};

// The dialog itself; its widgets carry object names ("notes", "location1",
// "crawlSize", "textSwatch", "playStart", "password", ...) for tests.
class UnitEditorDialog final : public QDialog {
    Q_OBJECT

  public:
    UnitEditorDialog(const UnitForm& form, ColourChooser& chooser, QWidget* owner);
    // The form as the widgets show it now.
    [[nodiscard]] UnitForm Form();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildNotes();
    QWidget* BuildCrawl();
    QWidget* BuildHours(const char* title, const char* prefix, QCheckBox*& restrict,
                        QTimeEdit*& start, QTimeEdit*& stop);
    QWidget* BuildModem();
    QWidget* BuildShuffle();
    void Load();
    void Store();
    void Refresh();
    void Pick(Swatch swatch);

    UnitForm form_;
    ColourChooser& chooser_;

    QLineEdit* notes_ = nullptr;
    QLineEdit* locations_[4] = {};
    QCheckBox* crawl_ = nullptr;
    QLineEdit* crawlSize_ = nullptr;
    QLineEdit* crawlSpeed_ = nullptr;
    ColourSwatch* textSwatch_ = nullptr;
    ColourSwatch* backgroundSwatch_ = nullptr;
    QCheckBox* restrictPlay_ = nullptr;
    QTimeEdit* playStart_ = nullptr;
    QTimeEdit* playStop_ = nullptr;
    QCheckBox* restrictUpdate_ = nullptr;
    QTimeEdit* updateStart_ = nullptr;
    QTimeEdit* updateStop_ = nullptr;
    QLineEdit* username_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* phone_ = nullptr;
    QCheckBox* shuffle_[4] = {};
};

}  // namespace vantic
